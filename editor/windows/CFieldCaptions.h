#pragma once

#include "editor/model/SRecordChange.h"

#include <QString>

#include <functional>
#include <string>

class CPlayerField;

// What users see of a field of a player or another record: its localised name wherever a
// window shows a field (headers, choices, findings, comparisons), with the name the filter
// language, scripts and patches use kept for tool tips and the filter help.
class CFieldCaptions {
public:
    using Lookup = std::function<QString(const char* key)>;

    static QString Of(const CPlayerField& field, const Lookup& text);
    // "Position 1 (preferred_position_1)": the shown name with the name to type.
    static QString WithFilterName(const CPlayerField& field, const Lookup& text);
    // The shown name of a field of any record kind by the name comparisons and patches use;
    // that name itself for a field without one.
    static QString OfRecordField(ERecordKind kind, const std::string& field, const Lookup& text);
};
