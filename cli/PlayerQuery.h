#pragma once

#include "editor/model/CBulkChange.h"

#include <ostream>
#include <string>
#include <vector>

class CGameDatabase;

// The players and bulk commands: pick players with a filter, list them or change them.
class CPlayerQuery {
public:
    struct SListRequest {
        std::string where;
        // Comma-separated field names; empty for the default columns.
        std::string fields;
        // FIELD, FIELD:asc or FIELD:desc; empty for ascending id.
        std::string sort;
        bool csv = false;
    };

    // Prints the matching players: aligned columns with a header and a count, or CSV.
    static bool List(const CGameDatabase& database, const SListRequest& request, std::ostream& out,
                     std::string& error);

    // The changes the texts ask for on the players the filter picks.
    static bool Plan(const CGameDatabase& database, const std::string& where,
                     const std::vector<std::string>& changes, SBulkPlan& plan, std::string& error);
    // One line per changed value, "ID NAME: FIELD BEFORE -> AFTER".
    static void PrintChanges(const CGameDatabase& database, const SBulkPlan& plan,
                             std::ostream& out);
    // "changed 3 players (4 values, 1 clamped)", "would change" for a dry run.
    static std::string Summary(const SBulkPlan& plan, bool dryRun);
};
