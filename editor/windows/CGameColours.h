#pragma once

#include "editor/toolkit/CColourTableChoices.h"

#include <QColor>

#include <cstdint>
#include <memory>

class CColourTable;
class CFrameHost;

// The game's colour table as the windows show it. Entry i is colour id i + 1; a value holds
// red in its low byte.
class CGameColours {
public:
    static QColor ToColor(uint32_t value);
    // The colour of a colour id; invalid for an id outside the table.
    static QColor ColourOfId(const CColourTable& table, int32_t id);
    // Colour items that offer exactly the table's colours.
    static std::shared_ptr<CColourTableChoices> Choices(const CColourTable& table,
                                                        CFrameHost& host);
};
