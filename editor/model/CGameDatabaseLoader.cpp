#include "CGameDatabaseLoader.h"

#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"
#include "editor/model/CInGameNames.h"

#include <functional>
#include <optional>

namespace {

// Runs body for every record of a table; a missing table is skipped. False when the table's
// records cannot be walked or body fails on one of them.
template <typename Body>
bool ForEachRecord(const CDbFileReader& file, CDbCatalogue& catalogue, const char* name,
                   int fixedWords, CMessageSink& sink, Body body,
                   const std::function<void(uint32_t)>& onCount = {}) {
    CDbTable* table = catalogue.FindTable(name);
    if (!table)
        return true;
    std::optional<CDbRecordCursor> cursor = file.Records(*table, fixedWords, sink);
    if (!cursor)
        return false;
    if (onCount)
        onCount(cursor->RecordCount());
    while (cursor->Next()) {
        table->ResetBitCursor();
        if (!body(*cursor, *table))
            return false;
    }
    return true;
}

// A column the table has gives its value as stored; a missing one reads -1, which takes the
// field's width (an attribute then holds 255).
template <typename R>
void StoreField(R& record, CDbTable& table, int column, std::span<const uint8_t> area) {
    const int32_t value = table.ReadField(column, area);
    if (column < table.ColumnCount())
        record.SetStoredValue(column, value);
    else
        record.SetColumnValue(column, value);
}

} // namespace

CGameDatabaseLoader::CGameDatabaseLoader(CGameDatabase& target, CMessageSink& sink)
    : m_target(target), m_sink(sink) {}

bool CGameDatabaseLoader::Load(const std::string& path, const std::string& textDbPath,
                               const CGameDatabase::ProgressCallback& progress) {
    auto step = [&](const char* key) {
        if (progress)
            progress(key);
    };
    CDbFileReader file;
    if (!file.Open(path, m_sink))
        return false;
    if (!file.ReadCatalogue(m_staging.Catalogue(), m_sink))
        return false;
    step("Message_LoadingPlayers");
    if (!ReadPlayers(file))
        return false;
    step("Message_LoadingTeams");
    if (!ReadTeams(file))
        return false;
    step("Message_LoadingComps");
    if (!ReadLeagues(file) || !ReadLeagueTeamLinks(file))
        return false;
    step("Message_LoadingOtherData");
    if (!ReadTeamPlayerLinks(file) || !ReadSpecialTeamPlayers(file) || !ReadTeamKits(file) ||
        !ReadStadiums(file) || !ReadFormationNames(file) || !ReadRivalries(file) ||
        !ReadColours(file))
        return false;
    if (!textDbPath.empty())
        ReadNames(textDbPath);
    m_staging.SetFilePath(path);
    m_target.TakeContents(m_staging);
    step("Message_Ready");
    return true;
}

bool CGameDatabaseLoader::ReadPlayers(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "players", 4, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             CPlayer player(record.Int(0));
                             std::string first, common, last;
                             if (!record.String(1, first) || !record.String(2, common) ||
                                 !record.String(3, last))
                                 return false;
                             player.SetFirstName(std::move(first));
                             player.SetCommonName(std::move(common));
                             player.SetLastName(std::move(last));
                             const auto area = record.PackedArea();
                             for (int c = 0; c < CPlayer::kColumnCount; ++c)
                                 StoreField(player, table, c, area);
                             NoteDuplicate("players", m_staging.FindPlayer(player.Id()) != nullptr,
                                           player.Id());
                             m_staging.InsertPlayer(std::move(player));
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadTeams(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "teams", 4, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             CTeam team(record.Int(0));
                             for (int i = 0; i < 3; ++i) {
                                 std::string name;
                                 if (!record.String(1 + i, name))
                                     return false;
                                 team.SetRecordName(i, std::move(name));
                             }
                             const auto area = record.PackedArea();
                             for (int c = 0; c < CTeam::kColumnCount; ++c)
                                 team.SetColumnValue(c, table.ReadField(c, area));
                             NoteDuplicate("teams", m_staging.FindTeam(team.Id()) != nullptr,
                                           team.Id());
                             m_staging.InsertTeam(std::move(team));
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadLeagues(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "leagues", 4, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             CLeague league;
                             league.id = record.Int(0);
                             for (int i = 0; i < 3; ++i)
                                 if (!record.String(1 + i, league.recordNames[i]))
                                     return false;
                             const auto area = record.PackedArea();
                             for (int c = 0; c < CLeague::kColumnCount; ++c)
                                 league.columns[c] = table.ReadField(c, area);
                             NoteDuplicate("leagues", m_staging.FindLeague(league.id) != nullptr,
                                           league.id);
                             m_staging.InsertLeague(std::move(league));
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadLeagueTeamLinks(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "leagueteamlinks", 2, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable&) {
                             m_staging.AddLeagueTeamLink({record.Int(0), record.Int(1)});
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadTeamPlayerLinks(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "teamplayerlinks", 2, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             CTeamPlayerLink link;
                             link.teamId = record.Int(0);
                             link.playerId = record.Int(1);
                             const auto area = record.PackedArea();
                             link.jerseyNumber = table.ReadField(0, area);
                             link.formationPosition = table.ReadField(1, area);
                             // Player and team sides are filled independently: a link of an unknown
                             // team still records the team in its player.
                             if (CPlayer* player = m_staging.FindPlayer(link.playerId))
                                 player->AddTeam(link.teamId);
                             if (CTeam* team = m_staging.FindTeam(link.teamId))
                                 team->AddOrUpdateLink(link);
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadSpecialTeamPlayers(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "specialteamplayers", 1, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             CTeam* team = m_staging.FindTeam(record.Int(0));
                             if (!team) {
                                 NoteUnknownTeam("specialteamplayers", record.Int(0));
                                 return true;
                             }
                             const auto area = record.PackedArea();
                             for (int c = 0; c < CTeam::kTakerCount; ++c)
                                 team->SetTaker(static_cast<ETaker>(c), table.ReadField(c, area));
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadTeamKits(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "teamkits", 4, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             CTeamKit kit;
                             kit.SetTeamId(record.Int(0));
                             kit.SetKitType(record.Int(1));
                             kit.SetShortsNumberXBits(record.Word(2));
                             kit.SetShortsNumberYBits(record.Word(3));
                             const auto area = record.PackedArea();
                             for (int c = 0; c < CTeamKit::kColumnCount; ++c)
                                 StoreField(kit, table, c, area);
                             CTeam* team = m_staging.FindTeam(kit.TeamId());
                             if (!team)
                                 NoteUnknownTeam("teamkits", kit.TeamId());
                             else if (!team->SetKit(kit.KitType(), kit))
                                 m_staging.AddLoadAnomaly(
                                     {SLoadAnomaly::EKind::KitTypeOutOfRange, "teamkits",
                                      kit.TeamId(), kit.KitType()});
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadStadiums(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "stadiums", 2, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             CStadium stadium;
                             stadium.id = record.Int(0);
                             if (!record.String(1, stadium.name))
                                 return false;
                             const auto area = record.PackedArea();
                             for (int c = 0; c < CStadium::kColumnCount; ++c)
                                 stadium.columns[c] = table.ReadField(c, area);
                             NoteDuplicate("stadiums",
                                           m_staging.FindStadium(stadium.id) != nullptr,
                                           stadium.id);
                             m_staging.InsertStadium(std::move(stadium));
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadFormationNames(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "teamformationnames", 2, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable&) {
                             CFormationName formation;
                             formation.id = record.Int(0);
                             if (!record.String(1, formation.name))
                                 return false;
                             NoteDuplicate("teamformationnames",
                                           m_staging.FindFormation(formation.id) != nullptr,
                                           formation.id);
                             m_staging.InsertFormation(std::move(formation));
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadRivalries(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "teamrivalry", 2, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable&) {
                             if (CTeam* team = m_staging.FindTeam(record.Int(0)))
                                 team->AddRival(record.Int(1));
                             else
                                 NoteUnknownTeam("teamrivalry", record.Int(0));
                             return true;
                         });
}

bool CGameDatabaseLoader::ReadColours(const CDbFileReader& file) {
    return ForEachRecord(file, m_staging.Catalogue(), "coloridtorgb", 1, m_sink,
                         [&](const CDbRecordCursor& record, CDbTable& table) {
                             const auto area = record.PackedArea();
                             const int32_t c0 = table.ReadField(0, area);
                             const int32_t c1 = table.ReadField(1, area);
                             const int32_t c2 = table.ReadField(2, area);
                             m_staging.Colours().Append(CColourTable::FromColumns(c0, c1, c2));
                             return true;
                         });
}

void CGameDatabaseLoader::NoteDuplicate(const char* table, bool duplicate, int32_t id) {
    if (duplicate)
        m_staging.AddLoadAnomaly({SLoadAnomaly::EKind::DuplicateId, table, id, 0});
}

void CGameDatabaseLoader::NoteUnknownTeam(const char* table, int32_t teamId) {
    m_staging.AddLoadAnomaly({SLoadAnomaly::EKind::UnknownTeam, table, teamId, 0});
}

void CGameDatabaseLoader::ReadNames(const std::string& textDbPath) {
    // An unreadable text database leaves the names empty; the game database still loads.
    CIngameTextDb texts(textDbPath);
    if (texts.ReadIngameTextDb(m_sink))
        CInGameNames::Import(texts, m_staging);
}
