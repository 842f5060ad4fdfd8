#pragma once

#include "editor/model/CFormationName.h"
#include "editor/model/CLeague.h"
#include "editor/model/CPlayer.h"
#include "editor/model/CStadium.h"
#include "editor/model/CTeam.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

class CGameDatabase;

// Some records of a database as they are at one moment (a record that does not exist as
// nothing), and the team lists of some leagues: what a step that touches those records needs to
// put them back, and what it needs to do again.
class CDatabaseSlice {
public:
    struct SIds {
        std::set<int32_t> players, teams, leagues, stadiums, formations, leagueTeams;
    };

    static CDatabaseSlice Capture(const CGameDatabase& db, const SIds& ids);
    // Makes each record of the slice as it was captured (inserting or removing it).
    void Restore(CGameDatabase& db) const;
    bool Empty() const;

    std::map<int32_t, std::optional<CPlayer>> players;
    std::map<int32_t, std::optional<CTeam>> teams;
    std::map<int32_t, std::optional<CLeague>> leagues;
    std::map<int32_t, std::optional<CStadium>> stadiums;
    std::map<int32_t, std::optional<CFormationName>> formations;
    std::map<int32_t, std::vector<int32_t>> leagueTeams;
};
