#pragma once

#include <QString>

#include <functional>

class CPlayerField;

// What users see of a player field: its localised name wherever a window shows a field
// (headers, choices, findings, comparisons), with the name the filter language and scripts
// use kept for tool tips and the filter help.
class CFieldCaptions {
public:
    using Lookup = std::function<QString(const char* key)>;

    static QString Of(const CPlayerField& field, const Lookup& text);
    // "Position 1 (preferred_position_1)": the shown name with the name to type.
    static QString WithFilterName(const CPlayerField& field, const Lookup& text);
    // The shown name of a stored column of table players by its file name; the file name
    // itself for any other column.
    static QString OfColumnName(const QString& columnName, const Lookup& text);
};
