#include "CGameDatabaseSaver.h"

#include "editor/model/CDatabaseCheck.h"

#include "editor/database/CDbWriter.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CInstallationLock.h"
#include "editor/database/CMessageSink.h"
#include "editor/database/CSafeFile.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CInGameNames.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

namespace {

// Packs the first values, as many as the table has columns (a table without columns has no
// packed area at all).
void PackColumns(CDbSectionWriter& out, std::span<const int32_t> values) {
    const auto count = std::min<size_t>(
        values.size(), static_cast<size_t>(std::max(0, out.Table().ColumnCount())));
    if (count > 0)
        out.Pack(values.first(count));
}

void WriteColours(const CGameDatabase& db, CDbSectionWriter& out) {
    int32_t id = 0;
    for (uint32_t value : db.Colours().Entries()) {
        std::array<int32_t, 3> columns{};
        CColourTable::ToColumns(value, columns[0], columns[1], columns[2]);
        out.BeginRecord();
        out.Int(++id);
        PackColumns(out, columns);
    }
}

void WriteLeagues(const CGameDatabase& db, CDbSectionWriter& out) {
    for (const auto& [id, league] : db.Leagues()) {
        out.BeginRecord();
        out.Int(id);
        for (const std::string& name : league.recordNames)
            out.String(name);
        PackColumns(out, league.columns);
    }
}

void WriteLeagueTeamLinks(const CGameDatabase& db, CDbSectionWriter& out) {
    for (const CLeagueTeamLink& link : db.LeagueTeamLinks()) {
        out.BeginRecord();
        out.Int(link.leagueId);
        out.Int(link.teamId);
    }
}

void WritePlayers(const CGameDatabase& db, CDbSectionWriter& out) {
    std::array<int32_t, CPlayer::kColumnCount> columns{};
    for (const auto& [id, player] : db.Players()) {
        out.BeginRecord();
        out.Int(id);
        out.String(player.FirstName());
        out.String(player.CommonName());
        out.String(player.LastName());
        for (int c = 0; c < CPlayer::kColumnCount; ++c)
            columns[c] = player.ColumnValue(c);
        PackColumns(out, columns);
    }
}

void WriteStadiums(const CGameDatabase& db, CDbSectionWriter& out) {
    for (const auto& [id, stadium] : db.Stadiums()) {
        out.BeginRecord();
        out.Int(id);
        out.String(stadium.name);
        PackColumns(out, stadium.columns);
    }
}

void WriteTeamKits(const CGameDatabase& db, CDbSectionWriter& out) {
    std::array<int32_t, CTeamKit::kColumnCount> columns{};
    for (const auto& [id, team] : db.Teams()) {
        for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
            const CTeamKit* kit = team.FindKit(slot);
            if (!kit)
                continue;
            out.BeginRecord();
            out.Int(id);
            out.Int(slot);
            out.Word(kit->ShortsNumberXBits());
            out.Word(kit->ShortsNumberYBits());
            for (int c = 0; c < CTeamKit::kColumnCount; ++c)
                columns[c] = kit->ColumnValue(c);
            PackColumns(out, columns);
        }
    }
}

void WriteSpecialTeamPlayers(const CGameDatabase& db, CDbSectionWriter& out) {
    std::array<int32_t, CTeam::kTakerCount> takers{};
    for (const auto& [id, team] : db.Teams()) {
        out.BeginRecord();
        out.Int(id);
        for (int t = 0; t < CTeam::kTakerCount; ++t)
            takers[t] = team.Taker(static_cast<ETaker>(t));
        PackColumns(out, takers);
    }
}

void WriteFormationNames(const CGameDatabase& db, CDbSectionWriter& out) {
    for (const auto& [id, formation] : db.Formations()) {
        out.BeginRecord();
        out.Int(id);
        out.String(formation.name);
    }
}

void WriteTeamPlayerLinks(const CGameDatabase& db, CDbSectionWriter& out) {
    for (const auto& [id, team] : db.Teams()) {
        for (const CTeamPlayerLink& link : team.Links()) {
            out.BeginRecord();
            out.Int(id);
            out.Int(link.playerId);
            const std::array<int32_t, 2> columns = {link.jerseyNumber, link.formationPosition};
            PackColumns(out, columns);
        }
    }
}

void WriteRivalries(const CGameDatabase& db, CDbSectionWriter& out) {
    for (const auto& [id, team] : db.Teams()) {
        for (int32_t rival : team.Rivals()) {
            out.BeginRecord();
            out.Int(id);
            out.Int(rival);
        }
    }
}

void WriteTeams(const CGameDatabase& db, CDbSectionWriter& out) {
    std::array<int32_t, CTeam::kColumnCount> columns{};
    for (const auto& [id, team] : db.Teams()) {
        out.BeginRecord();
        out.Int(id);
        for (int i = 0; i < 3; ++i)
            out.String(team.RecordName(i));
        for (int c = 0; c < CTeam::kColumnCount; ++c)
            columns[c] = team.ColumnValue(c);
        PackColumns(out, columns);
    }
}

} // namespace

CGameDatabaseSaver::CGameDatabaseSaver(CGameDatabase& database, CMessageSink& sink)
    : m_database(database), m_sink(sink) {}

bool CGameDatabaseSaver::Save(const std::string& path, const std::string& textDbPath) {
    // Held from the first read of the text database to the last write; a caller holding it
    // already (a command that loaded under it) keeps it.
    CInstallationLock lock;
    std::string lockError;
    if (!lock.Acquire(CInstallationLock::FolderOf(Utf8Path(path)), lockError)) {
        m_sink.Report("Error_Locked", lockError);
        return false;
    }
    // The names are read and both files checked before anything is written, so the game
    // database and its names are saved together or not at all. Without a text database file
    // there are no names to keep (none were loaded), as without a path.
    if (!CheckValues())
        return false;
    std::optional<CIngameTextDb> texts;
    std::error_code ignored;
    if (!textDbPath.empty() && std::filesystem::exists(Utf8Path(textDbPath), ignored)) {
        if (!CheckNames())
            return false;
        texts.emplace(textDbPath);
        if (!texts->ReadIngameTextDb(m_sink))
            return false;
        CInGameNames::Export(m_database, *texts);
        for (const std::string& target : {path, textDbPath}) {
            std::string error;
            if (!CSafeFile::CanReplace(target, error)) {
                m_sink.Report("Error_OpenToWrite", target + ": " + error);
                return false;
            }
        }
    }
    if (!BackUp(path, textDbPath))
        return false;
    const CGameDatabase& db = m_database;
    CDbWriter writer;
    writer.AddTable("coloridtorgb", [&](CDbSectionWriter& out) { WriteColours(db, out); });
    writer.AddTable("leagues", [&](CDbSectionWriter& out) { WriteLeagues(db, out); });
    writer.AddTable("leagueteamlinks",
                    [&](CDbSectionWriter& out) { WriteLeagueTeamLinks(db, out); });
    writer.AddTable("playergrowth");
    writer.AddTable("players", [&](CDbSectionWriter& out) { WritePlayers(db, out); });
    writer.AddTable("playerstasis");
    writer.AddTable("playerstats");
    writer.AddTable("stadiums", [&](CDbSectionWriter& out) { WriteStadiums(db, out); });
    writer.AddTable("teamkits", [&](CDbSectionWriter& out) { WriteTeamKits(db, out); });
    writer.AddTable("specialteamplayers",
                    [&](CDbSectionWriter& out) { WriteSpecialTeamPlayers(db, out); });
    writer.AddTable("teamformationnames",
                    [&](CDbSectionWriter& out) { WriteFormationNames(db, out); });
    writer.AddTable("teamplayerlinks",
                    [&](CDbSectionWriter& out) { WriteTeamPlayerLinks(db, out); });
    writer.AddTable("teamrivalry", [&](CDbSectionWriter& out) { WriteRivalries(db, out); });
    writer.AddTable("teams", [&](CDbSectionWriter& out) { WriteTeams(db, out); });
    writer.AddTable("teamstats");
    if (!writer.Save(m_database.Catalogue(), path, m_sink))
        return false;
    m_database.SetFilePath(path);
    if (texts)
        texts->SaveIngameTextDb(m_sink);
    m_database.ClearDirty();
    return true;
}

// Both files are copied before either is written: a failed copy leaves both as they were.
bool CGameDatabaseSaver::BackUp(const std::string& path, const std::string& textDbPath) {
    const CGameDatabase::SBackupSettings& settings = m_database.BackupSettings();
    if (!settings.enabled)
        return true;
    const CBackupStore store(CBackupStore::FolderFor(Utf8Path(path)));
    for (const std::string* file : {&path, &textDbPath}) {
        std::string made, error;
        if (!file->empty() && !store.Backup(Utf8Path(*file), settings.keep, made, error)) {
            m_sink.Report("Error_Backup", error);
            return false;
        }
    }
    return true;
}

// A value its column cannot hold would stop the writer halfway; refused first, naming the
// record and field rather than the file.
bool CGameDatabaseSaver::CheckValues() const {
    const std::vector<SCheckFinding> unstorable = CDatabaseCheck::Unstorable(m_database);
    if (unstorable.empty())
        return true;
    const SCheckFinding& first = unstorable.front();
    std::string detail = std::string(SCheckFinding::KindName(first.kind)) + " " +
                         std::to_string(first.id) + ": " + first.message;
    if (unstorable.size() > 1)
        detail += " (and " + std::to_string(unstorable.size() - 1) + " more such values)";
    m_sink.Report("Error_ValueNotStorable", detail);
    return false;
}

// Refuses before anything is written, so the game database and its names stay in step.
bool CGameDatabaseSaver::CheckNames() const {
    auto tooLong = [&](const char* kind, int32_t id, const std::string& name) {
        if (name.size() <= CInGameNames::kMaxNameBytes)
            return false;
        m_sink.Report("Error_OpenToWrite", std::string(kind) + " " + std::to_string(id) +
                                               ": name of " + std::to_string(name.size()) +
                                               " bytes is longer than 255 bytes");
        return true;
    };
    for (const auto& [id, team] : m_database.Teams())
        if (tooLong("team", id, team.Name()) || tooLong("team", id, team.ShortName()) ||
            tooLong("team", id, team.MediumName()))
            return false;
    for (const auto& [id, league] : m_database.Leagues())
        if (tooLong("league", id, league.name) || tooLong("league", id, league.shortName) ||
            tooLong("league", id, league.mediumName))
            return false;
    return true;
}
