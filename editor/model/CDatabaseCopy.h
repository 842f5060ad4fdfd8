#pragma once

#include "editor/model/CDatabaseSlice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CGameDatabase;

// Copies a team (with its names, kits, stadiums it lacks here and optionally its squad) or a
// player from another game database into this one. Records keep their ids where those are free;
// a player already here by the same id with the same fields is used rather than copied again.
class CDatabaseCopy {
public:
    struct SResult {
        bool ok = false;
        std::string error;
        int32_t teamId = -1;
        int32_t playerId = -1;
        // Ids there and here of every player the copy took (copied or found here).
        std::vector<std::pair<int32_t, int32_t>> players;
        // What was left behind, e.g. a rival that is not here.
        std::vector<std::string> notes;
        // The touched records before and after: undo and redo of the copy as one step.
        CDatabaseSlice before;
        CDatabaseSlice after;
    };

    // leagueId: a league here the team joins (nothing: none).
    static SResult CopyTeam(CGameDatabase& db, const CGameDatabase& from, int32_t teamId,
                            std::optional<int32_t> leagueId, bool withPlayers);
    // teamId: a team here whose bench the player joins (nothing: none).
    static SResult CopyPlayer(CGameDatabase& db, const CGameDatabase& from, int32_t playerId,
                              std::optional<int32_t> teamId);
};
