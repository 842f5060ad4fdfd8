#pragma once

#include "editor/model/CGameDatabase.h"

#include <cstdint>
#include <string>

class CDbFileReader;
class CMessageSink;

// Reads a game database file table by table into a fresh CGameDatabase, in the game's order
// (links, takers, kits and rivals look up the teams and players read before them).
class CGameDatabaseLoader {
public:
    CGameDatabaseLoader(CGameDatabase& target, CMessageSink& sink);

    // On failure target is untouched and the sink knows why. textDbPath may be empty.
    bool Load(const std::string& path, const std::string& textDbPath,
              const CGameDatabase::ProgressCallback& progress);

private:
    bool ReadPlayers(const CDbFileReader& file);
    bool ReadTeams(const CDbFileReader& file);
    bool ReadLeagues(const CDbFileReader& file);
    bool ReadLeagueTeamLinks(const CDbFileReader& file);
    bool ReadTeamPlayerLinks(const CDbFileReader& file);
    bool ReadSpecialTeamPlayers(const CDbFileReader& file);
    bool ReadTeamKits(const CDbFileReader& file);
    bool ReadStadiums(const CDbFileReader& file);
    bool ReadFormationNames(const CDbFileReader& file);
    bool ReadRivalries(const CDbFileReader& file);
    bool ReadColours(const CDbFileReader& file);
    void ReadNames(const std::string& textDbPath);
    void NoteDuplicate(const char* table, bool duplicate, int32_t id);
    void NoteUnknownTeam(const char* table, int32_t teamId);

    CGameDatabase& m_target;
    CMessageSink& m_sink;
    CGameDatabase m_staging;
};
