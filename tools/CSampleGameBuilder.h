#pragma once

#include "CSampleNames.h"
#include "CSampleRandom.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CGameDatabase;
class CTeam;

// Fills a game database with a made-up but plausible game: colours, stadiums, formations,
// leagues of several countries with their divisions, clubs with kits and rivals, and squads
// with a first eleven, a bench, reserves and set-piece takers.
class CSampleGameBuilder {
public:
    // playerCount: at least that many players, the ones beyond the squads without a team.
    CSampleGameBuilder(CGameDatabase& database, uint64_t seed, size_t playerCount = 0);

    void Build();

    static constexpr int kTeamCount = 700;
    static constexpr int kFreeAgents = 300;

private:
    void AddColours();
    void AddStadiums();
    void AddFormations();
    void AddLeaguesAndTeams();
    void AddTeam(int32_t teamId, int32_t leagueId, int country, int level);
    void AddKits(CTeam& team);
    void AddSquad(CTeam& team, int country);
    int32_t AddPlayer(int country, int32_t position, int prestige);
    void AddRivals();
    void AddFreeAgents();

    CGameDatabase& m_database;
    CSampleRandom m_random;
    CSampleNames m_names;
    int32_t m_nextPlayerId = 1;
    size_t m_playerCount = 0;
    std::vector<int32_t> m_matchStadiums;
    std::vector<int32_t> m_trainingStadiums;
    std::vector<std::vector<int32_t>> m_leagueTeams;
};
