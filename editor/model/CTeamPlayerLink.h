#pragma once

#include <cstdint>

// A player's place in a team's squad (one row of table teamplayerlinks).
struct CTeamPlayerLink {
    int32_t jerseyNumber = 0;
    int32_t playerId = 0;
    // Position code 0-34: 0-31 places in the formation, 32-34 the bench.
    int32_t formationPosition = 0;
    int32_t teamId = 0;

    bool operator==(const CTeamPlayerLink&) const = default;
};
