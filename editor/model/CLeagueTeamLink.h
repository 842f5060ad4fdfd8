#pragma once

#include <cstdint>

// A team's membership in a league (one row of table leagueteamlinks).
struct CLeagueTeamLink {
    int32_t leagueId = 0;
    int32_t teamId = 0;

    bool operator==(const CLeagueTeamLink&) const = default;
};
