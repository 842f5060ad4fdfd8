#pragma once

#include <cstdint>
#include <string>

// One text of an in-game text database: the UTF-8 bytes as stored and its numeric id.
struct CIngameTextEntry {
    std::string text;
    uint32_t textId = 0;

    bool operator==(const CIngameTextEntry&) const = default;
};
