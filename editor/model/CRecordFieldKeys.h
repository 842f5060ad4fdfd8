#pragma once

#include "editor/model/SRecordChange.h"

#include <optional>
#include <string>
#include <string_view>

// The localisation key of the name users see for a field of a record kind, by the field's
// name in comparisons, patches and CSV files. The record windows' own labels where they show
// the field; numbered fields ("record_name_2", "column_14") share one key whose %1 takes the
// number.
class CRecordFieldKeys {
public:
    struct SKey {
        std::string key;
        // What fills %1; empty for a key without one.
        std::string number;
    };

    // Nothing for a field the kind does not name.
    static std::optional<SKey> Of(ERecordKind kind, std::string_view field);
};
