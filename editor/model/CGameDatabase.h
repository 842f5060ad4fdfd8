#pragma once

#include "editor/database/CDbCatalogue.h"
#include "editor/model/CColourTable.h"
#include "editor/model/CFormationName.h"
#include "editor/model/CIdMap.h"
#include "editor/model/CLeague.h"
#include "editor/model/CLeagueTeamLink.h"
#include "editor/model/CPlayer.h"
#include "editor/model/CStadium.h"
#include "editor/model/SLoadAnomaly.h"
#include "editor/model/CTeam.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

class CMessageSink;

// The loaded game database: owner of every record, keyed by id, with the lookups and the
// squad operations. Records refer to each other by id only. Maps iterate in ascending id, the
// order a save writes them in. A record found by id stays where it is until a record of its
// kind is added.
class CGameDatabase {
public:
    using ProgressCallback = std::function<void(const std::string& key)>;
    using DirtyCallback = std::function<void(bool dirty)>;
    // Localised text of a key ("Caption_New", "Caption_Player", "Caption_CopyOf").
    using TextLookup = std::function<std::string(const std::string& key)>;

    static constexpr int32_t kFirstNewPlayerId = 150000;
    static constexpr int32_t kNoTeamId = 109998;
    static constexpr int kSubstituteLimit = 5;
    static constexpr int kReserveLimit = 8;

    // A save first copies the files it replaces into the backups folder beside the database,
    // keeping the newest `keep` copies of each (and its first one).
    struct SBackupSettings {
        bool enabled = true;
        int keep = 20;
    };

    CGameDatabase();
    ~CGameDatabase();
    CGameDatabase(const CGameDatabase&) = delete;
    CGameDatabase& operator=(const CGameDatabase&) = delete;

    // Loads the database file and, when textDbPath is not empty and readable, the in-game
    // names. On failure the sink is told why and the database keeps what it held.
    bool LoadGameDatabase(const std::string& path, const std::string& textDbPath,
                          CMessageSink& sink, const ProgressCallback& progress = {});
    // Writes all fifteen tables, then the in-game names into textDbPath (when not empty).
    // On failure the sink is told why and the file on disk is left as it was.
    bool SaveGameDatabase(const std::string& path, const std::string& textDbPath,
                          CMessageSink& sink);
    const std::string& FilePath() const { return m_data.filePath; }
    // The catalogue read at load: tables, columns and their ranges (empty before a load).
    const CDbCatalogue& Catalogue() const { return m_data.catalogue; }
    CDbCatalogue& Catalogue() { return m_data.catalogue; }
    void SetFilePath(std::string path) { m_data.filePath = std::move(path); }
    const SBackupSettings& BackupSettings() const { return m_backupSettings; }
    void SetBackupSettings(SBackupSettings settings) { m_backupSettings = settings; }
    // What the last load could not keep as the file had it (duplicate ids, dropped rows).
    const std::vector<SLoadAnomaly>& LoadAnomalies() const { return m_data.loadAnomalies; }
    void AddLoadAnomaly(SLoadAnomaly anomaly) { m_data.loadAnomalies.push_back(std::move(anomaly)); }
    // Takes over every record and the catalogue of other (a freshly loaded database); the
    // clipboard is forgotten and the changes count as saved.
    void TakeContents(CGameDatabase& other);
    // Empties every map and list and forgets the catalogue.
    void Clear();

    // Records.
    const CIdMap<CPlayer>& Players() const { return m_data.players; }
    const CIdMap<CTeam>& Teams() const { return m_data.teams; }
    CIdMap<CTeam>& Teams() { return m_data.teams; }
    const CIdMap<CLeague>& Leagues() const { return m_data.leagues; }
    const CIdMap<CStadium>& Stadiums() const { return m_data.stadiums; }
    const CIdMap<CFormationName>& Formations() const { return m_data.formations; }
    const std::vector<CLeagueTeamLink>& LeagueTeamLinks() const { return m_data.leagueTeamLinks; }
    const CColourTable& Colours() const { return m_data.colours; }
    CColourTable& Colours() { return m_data.colours; }

    CPlayer* FindPlayer(int32_t id);
    const CPlayer* FindPlayer(int32_t id) const;
    CTeam* FindTeam(int32_t id);
    const CTeam* FindTeam(int32_t id) const;
    CLeague* FindLeague(int32_t id);
    const CLeague* FindLeague(int32_t id) const;
    CStadium* FindStadium(int32_t id);
    const CStadium* FindStadium(int32_t id) const;
    CFormationName* FindFormation(int32_t id);
    const CFormationName* FindFormation(int32_t id) const;
    const CTeamPlayerLink* FindTeamPlayerLink(int32_t playerId, int32_t teamId) const;

    // Insertion replaces a record with the same id and raises the kind's max id.
    CPlayer& InsertPlayer(CPlayer player);
    CTeam& InsertTeam(CTeam team);
    CLeague& InsertLeague(CLeague league);
    CStadium& InsertStadium(CStadium stadium);
    CFormationName& InsertFormation(CFormationName formation);
    // Removal of one record as it is, leaving what refers to it (patches remove the references
    // in the same step, undoing a player's creation puts his squads back as well, and the
    // database check finds what is left). False when there is none.
    bool ErasePlayer(int32_t id);
    bool EraseTeam(int32_t id);
    bool EraseLeague(int32_t id) { return m_data.leagues.Erase(id); }
    bool EraseStadium(int32_t id) { return m_data.stadiums.Erase(id); }
    bool EraseFormation(int32_t id) { return m_data.formations.Erase(id); }
    // Makes teams the league's team list in that order (its links move to the end of the
    // table), keeping the teams' league lists in step.
    void SetLeagueTeams(int32_t leagueId, const std::vector<int32_t>& teams);
    // Room for that many players, so a load does not move them again and again.
    void ReservePlayers(size_t count) { m_data.players.Reserve(count); }
    // Keeps the link even when its team is unknown; a known team gets the league.
    void AddLeagueTeamLink(const CLeagueTeamLink& link);

    std::vector<int32_t> TeamsOfLeague(int32_t leagueId) const;
    std::vector<int32_t> PlayersOfTeam(int32_t teamId) const;
    std::string PlayerDisplayName(int32_t playerId) const;

    int32_t MaxPlayerId() const { return m_data.maxPlayerId; }
    int32_t MaxTeamId() const { return m_data.maxTeamId; }
    int32_t MaxLeagueId() const { return m_data.maxLeagueId; }
    // -1 when every id up to the largest 32-bit id is used.
    int32_t NextPlayerId();

    // Squad operations.
    int32_t NewPlayer(int32_t teamId);
    int32_t CopyPlayer(int32_t teamId);
    bool AddPlayerToTeam(int32_t playerId, int32_t teamId, int32_t position, int32_t jersey);
    void RemovePlayerFromTeam(int32_t playerId, int32_t teamId);
    int32_t ChooseBenchPosition(int32_t teamId) const;
    int32_t LowestFreeJerseyNumber(int32_t teamId) const;
    bool FillFormationPosition(int32_t position, int32_t teamId);
    // False when the team has no link for the player.
    bool AssignJerseyNumber(int32_t playerId, int32_t teamId, int32_t number);
    // Adds to the target, and only when that worked removes from the source; false, changing
    // nothing, when the player is in the target already.
    bool MovePlayer(int32_t playerId, int32_t fromTeamId, int32_t toTeamId);
    // A drop of players on a team: each is added to the target (bench place and number chosen
    // by the add); unless copying, those the target took leave the source. Players already in
    // the target keep their place and number there and stay in the source. Returns the ids the
    // target took.
    std::vector<int32_t> TransferPlayers(const std::vector<int32_t>& playerIds, int32_t fromTeamId,
                                         int32_t toTeamId, bool copy);
    // Removes players whom no team lists, links or names as a set-piece taker. All or nothing:
    // false, changing nothing, when one of them is unknown or in a team. Their ids are not
    // given to new players.
    bool DeletePlayers(std::span<const int32_t> playerIds);
    bool CanDeletePlayers(std::span<const int32_t> playerIds) const;
    // Every player id some team lists, links or names as a taker, and every player who lists
    // a team.
    std::unordered_set<int32_t> PlayersInTeams() const;

    std::optional<int32_t> ClipboardPlayerId() const { return m_clipboardPlayerId; }
    void SetClipboardPlayerId(std::optional<int32_t> id) { m_clipboardPlayerId = id; }

    // Unsaved changes: every edit through the model marks them, a load or save clears them.
    // Windows that change record fields directly call MarkDirty.
    bool IsDirty() const { return m_dirty; }
    void MarkDirty();
    void ClearDirty();
    void SetDirtyCallback(DirtyCallback callback) { m_dirtyCallback = std::move(callback); }
    void SetTextLookup(TextLookup lookup) { m_textLookup = std::move(lookup); }

private:
    std::string Text(const std::string& key) const;

    // Everything a load replaces at once.
    struct SContents {
        std::string filePath;
        CDbCatalogue catalogue;
        int32_t maxPlayerId = 0;
        int32_t maxTeamId = 0;
        int32_t maxLeagueId = 0;
        CIdMap<CPlayer> players;
        CIdMap<CTeam> teams;
        CIdMap<CLeague> leagues;
        std::vector<CLeagueTeamLink> leagueTeamLinks;
        CIdMap<CStadium> stadiums;
        CIdMap<CFormationName> formations;
        CColourTable colours;
        std::vector<SLoadAnomaly> loadAnomalies;
    };

    SContents m_data;
    std::optional<int32_t> m_clipboardPlayerId;
    bool m_dirty = false;
    DirtyCallback m_dirtyCallback;
    TextLookup m_textLookup;
    SBackupSettings m_backupSettings;
};
