#include "CDatabaseCheck.h"

#include "editor/database/CIngameTextDb.h"
#include "editor/database/DbTableNames.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CInGameNames.h"

#include <algorithm>
#include <array>
#include <map>

namespace {

using ESeverity = SCheckFinding::ESeverity;
using EKind = SCheckFinding::EKind;

// Places the formation pitch offers for each reserve pick.
constexpr int kReservePlaces = 9;
constexpr int kStarterLimit = 11;
constexpr int kGoalkeeperPosition = 0;
constexpr int kFirstBenchPosition = 32;

constexpr std::array<EKitColumn, 12> kKitColourColumns = {
    EKitColumn::JerseyColour1, EKitColumn::JerseyColour2,      EKitColumn::JerseyColour3,
    EKitColumn::NameColour,    EKitColumn::NumberColour,       EKitColumn::ShortsColour1,
    EKitColumn::ShortsColour2, EKitColumn::ShortsColour3,      EKitColumn::ShortsNumberColour,
    EKitColumn::SocksColour1,  EKitColumn::SocksColour2,       EKitColumn::SocksColour3};

class CFindings {
public:
    // Only what a save cannot write (values wider than their columns), for the save itself.
    explicit CFindings(bool unstorableOnly = false) : unstorableOnly(unstorableOnly) {}
    const bool unstorableOnly;

    void Error(const char* code, EKind kind, int32_t id, std::string message) {
        m_list.push_back({ESeverity::Error, code, kind, id, std::move(message), {}});
    }
    void Warning(const char* code, EKind kind, int32_t id, std::string message) {
        m_list.push_back({ESeverity::Warning, code, kind, id, std::move(message), {}});
    }
    // Names the field of the finding added last.
    void SetPlayerField(std::string field) { m_list.back().playerField = std::move(field); }
    std::vector<SCheckFinding> Take() {
        std::stable_sort(m_list.begin(), m_list.end(),
                         [](const SCheckFinding& a, const SCheckFinding& b) {
                             return a.kind != b.kind ? a.kind < b.kind : a.id < b.id;
                         });
        return std::move(m_list);
    }

private:
    std::vector<SCheckFinding> m_list;
};

std::string Num(int64_t value) {
    return std::to_string(value);
}

// A value the column's bits cannot hold makes the save fail: an error. One the bits hold but
// outside the column's low..high saves, yet the game may not expect it: a warning.
template <typename ValueOf>
void CheckRanges(const CGameDatabase& db, const char* table, int columns, EKind kind, int32_t id,
                 ValueOf valueOf, CFindings& out) {
    const CDbTable* layout = db.Catalogue().FindTable(table);
    if (!layout)
        return;
    const int count = std::min(columns, layout->ColumnCount());
    for (int c = 0; c < count; ++c) {
        const int32_t value = valueOf(c);
        const int32_t low = layout->ColumnLow(c);
        const int32_t high = layout->ColumnHigh(c);
        const CDbColumn& column = *layout->Column(c);
        if (!column.Fits(value))
            out.Error("value-width", kind, id,
                      std::string(table) + " column " + layout->ColumnName(c) + " is " +
                          Num(value) + ", which its " +
                          Num(CDbColumn::WidthFor(low, high)) + " bits in the file cannot hold (" +
                          Num(low) + ".." + Num(high) + "); the database cannot be saved");
        else if ((value < low || value > high) && !out.unstorableOnly)
            out.Warning("value-range", kind, id,
                        std::string(table) + " column " + layout->ColumnName(c) + " is " +
                            Num(value) + ", outside " + Num(low) + ".." + Num(high));
        else
            continue;
        if (kind == EKind::Player)
            out.SetPlayerField(layout->ColumnName(c));
    }
}

void CheckUnstorable(const CGameDatabase& db, CFindings& out) {
    for (const auto& [id, player] : db.Players())
        CheckRanges(db, "players", CPlayer::kColumnCount, EKind::Player, id,
                    [&record = player](int c) { return record.ColumnValue(c); }, out);
    for (const auto& [id, team] : db.Teams()) {
        CheckRanges(db, "teams", CTeam::kColumnCount, EKind::Team, id,
                    [&record = team](int c) { return record.ColumnValue(c); }, out);
        for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot)
            if (const CTeamKit* kit = team.FindKit(slot))
                CheckRanges(db, "teamkits", CTeamKit::kColumnCount, EKind::Team, id,
                            [&](int c) { return kit->ColumnValue(c); }, out);
        for (const CTeamPlayerLink& link : team.Links()) {
            const std::array<int32_t, 2> values = {link.jerseyNumber, link.formationPosition};
            CheckRanges(db, "teamplayerlinks", 2, EKind::Team, id,
                        [&](int c) { return values[static_cast<size_t>(c)]; }, out);
        }
    }
    for (const auto& [id, league] : db.Leagues())
        CheckRanges(db, "leagues", CLeague::kColumnCount, EKind::League, id,
                    [&record = league](int c) { return record.columns[static_cast<size_t>(c)]; },
                    out);
    for (const auto& [id, stadium] : db.Stadiums())
        CheckRanges(db, "stadiums", CStadium::kColumnCount, EKind::Stadium, id,
                    [&record = stadium](int c) { return record.columns[static_cast<size_t>(c)]; },
                    out);
}

EKind KindOfTable(const std::string& table) {
    if (table == "players")
        return EKind::Player;
    if (table == "leagues")
        return EKind::League;
    if (table == "stadiums")
        return EKind::Stadium;
    if (table == "teamformationnames")
        return EKind::Formation;
    return EKind::Team;
}

// A load skips a missing table, so a file of another kind loads as an empty game; the save
// needs every table.
void CheckTables(const CGameDatabase& db, CFindings& out) {
    if (db.FilePath().empty())
        return; // built in memory: there is no file whose tables could be missing
    for (const std::string_view name : kGameDatabaseTables) {
        const std::string table(name);
        if (db.Catalogue().FindTable(table))
            continue;
        const bool essential = table == "players" || table == "teams" || table == "leagues";
        out.Error("missing-table", EKind::File, 0,
                  "the file has no table " + table +
                      (essential ? ", so it is not a game database the game can use"
                                 : ", which the game needs; a save cannot write the file"));
    }
}

void CheckLoad(const CGameDatabase& db, CFindings& out) {
    for (const SLoadAnomaly& anomaly : db.LoadAnomalies()) {
        switch (anomaly.kind) {
        case SLoadAnomaly::EKind::DuplicateId:
            out.Error("duplicate-id", KindOfTable(anomaly.table), anomaly.id,
                      "table " + anomaly.table + " holds id " + Num(anomaly.id) +
                          " more than once; the load kept the last, a save loses the others");
            break;
        case SLoadAnomaly::EKind::KitTypeOutOfRange:
            out.Error("kit-type", EKind::Team, anomaly.id,
                      "a kit of type " + Num(anomaly.value) +
                          " (types are 0-10) was left out at load; a save loses it");
            break;
        case SLoadAnomaly::EKind::UnknownTeam:
            out.Error("missing-team", EKind::Team, anomaly.id,
                      "table " + anomaly.table + " has a row for team " + Num(anomaly.id) +
                          ", which does not exist; a save loses it");
            break;
        }
    }
}

void CheckPlayers(const CGameDatabase& db, CFindings& out) {
    for (const auto& [id, player] : db.Players()) {
        for (int32_t teamId : player.Teams()) {
            const CTeam* team = db.FindTeam(teamId);
            if (!team)
                out.Error("missing-team", EKind::Player, id,
                          "listed in team " + Num(teamId) + ", which does not exist");
            else if (!team->FindLink(id))
                out.Error("team-list-mismatch", EKind::Player, id,
                          "listed in team " + Num(teamId) + ", whose squad does not hold the player");
        }
        if (player.LastName().empty() && player.CommonName().empty())
            out.Warning("name-empty", EKind::Player, id, "the player has no last or common name");
        CheckRanges(db, "players", CPlayer::kColumnCount, EKind::Player, id,
                    [&record = player](int c) { return record.ColumnValue(c); }, out);
    }
}

void CheckNames(const CIngameTextDb* texts, EKind kind, int32_t id,
                const std::array<const std::string*, 3>& names,
                std::optional<uint32_t> (*textId)(int32_t, int), CFindings& out) {
    static constexpr std::array<const char*, 3> kWhich = {"name", "short name", "medium name"};
    for (int k = 0; k < 3; ++k) {
        if (!names[k]->empty())
            continue;
        const std::optional<uint32_t> text = textId(id, k);
        if (!text || !texts->HasText(*text))
            out.Warning("name-missing", kind, id,
                        std::string("the ") + kWhich[k] +
                            " is missing from the in-game text database");
        else
            out.Warning("name-empty", kind, id, std::string("the ") + kWhich[k] + " is empty");
    }
}

void CheckSquad(const CGameDatabase& db, int32_t id, const CTeam& team, CFindings& out) {
    std::array<int, 35> atPosition{};
    std::map<int32_t, int> jerseys;
    for (const CTeamPlayerLink& link : team.Links()) {
        const CPlayer* player = db.FindPlayer(link.playerId);
        if (!player)
            out.Error("missing-player", EKind::Team, id,
                      "the squad holds player " + Num(link.playerId) + ", who does not exist");
        else if (!player->IsInTeam(id))
            out.Error("team-list-mismatch", EKind::Team, id,
                      "the squad holds player " + Num(link.playerId) +
                          ", whose team list does not name the team");
        if (link.formationPosition >= 0 && link.formationPosition < 35)
            ++atPosition[static_cast<size_t>(link.formationPosition)];
        if (link.jerseyNumber > 0 && ++jerseys[link.jerseyNumber] == 2)
            out.Warning("duplicate-jersey", EKind::Team, id,
                        "two or more players wear number " + Num(link.jerseyNumber));
    }
    int starters = 0;
    for (int p = 0; p < kFirstBenchPosition; ++p) {
        starters += atPosition[p];
        if (atPosition[p] > 1)
            out.Error("position-twice", EKind::Team, id,
                      Num(atPosition[p]) + " players of the first eleven share position " +
                          Num(p));
    }
    if (starters > kStarterLimit)
        out.Error("too-many-starters", EKind::Team, id,
                  Num(starters) + " players in the first eleven");
    if (atPosition[32] > CGameDatabase::kSubstituteLimit)
        out.Error("too-many-substitutes", EKind::Team, id,
                  Num(atPosition[32]) + " substitutes, more than " +
                      Num(CGameDatabase::kSubstituteLimit));
    for (int pick : {33, 34})
        if (atPosition[pick] > kReservePlaces)
            out.Error("too-many-reserves", EKind::Team, id,
                      Num(atPosition[pick]) + (pick == 33 ? " first" : " second") +
                          "-pick reserves, more than " + Num(kReservePlaces));
    if (!team.Links().empty() && atPosition[kGoalkeeperPosition] == 0)
        out.Error("no-goalkeeper", EKind::Team, id, "no goalkeeper in the first eleven");
    for (int t = 0; t < CTeam::kTakerCount; ++t) {
        const int32_t taker = team.Taker(static_cast<ETaker>(t));
        if (taker != 0 && !team.FindLink(taker))
            out.Error("taker-not-in-squad", EKind::Team, id,
                      std::string(CTeam::TakerNames()[t]) + " " + Num(taker) +
                          " is not in the squad");
    }
}

void CheckKits(const CGameDatabase& db, int32_t id, const CTeam& team, CFindings& out) {
    const int colours = db.Colours().Count();
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
        const CTeamKit* kit = team.FindKit(slot);
        if (!kit)
            continue;
        for (EKitColumn column : kKitColourColumns) {
            const int32_t colour = kit->Value(column);
            if (colour < 1 || colour > colours)
                out.Error("kit-colour", EKind::Team, id,
                          "kit " + Num(slot) + " " +
                              CTeamKit::Columns()[static_cast<size_t>(column)].name +
                              " is colour " + Num(colour) + ", outside the colour table (1.." +
                              Num(colours) + ")");
        }
        CheckRanges(db, "teamkits", CTeamKit::kColumnCount, EKind::Team, id,
                    [&](int c) { return kit->ColumnValue(c); }, out);
    }
}

void CheckTeams(const CGameDatabase& db, const CIngameTextDb* texts, CFindings& out) {
    for (const auto& [id, team] : db.Teams()) {
        CheckSquad(db, id, team, out);
        CheckKits(db, id, team, out);
        for (ETeamColumn column : {ETeamColumn::StadiumId, ETeamColumn::TrainingStadiumId})
            if (!db.FindStadium(team.Value(column)))
                out.Error("missing-stadium", EKind::Team, id,
                          std::string(CTeam::Columns()[static_cast<size_t>(column)].name) + " " +
                              Num(team.Value(column)) + " does not exist");
        const int32_t opponent = team.Value(ETeamColumn::OpponentTeamId);
        if (opponent != 0 && !db.FindTeam(opponent))
            out.Error("missing-team", EKind::Team, id,
                      "opponent team " + Num(opponent) + " does not exist");
        for (int32_t rival : team.Rivals()) {
            if (rival == id)
                out.Warning("own-rival", EKind::Team, id, "the team is its own rival");
            else if (!db.FindTeam(rival))
                out.Error("missing-team", EKind::Team, id,
                          "rival team " + Num(rival) + " does not exist");
        }
        if (texts)
            CheckNames(texts, EKind::Team, id, {&team.Name(), &team.ShortName(), &team.MediumName()},
                       &CInGameNames::TeamTextId, out);
        CheckRanges(db, "teams", CTeam::kColumnCount, EKind::Team, id,
                    [&record = team](int c) { return record.ColumnValue(c); }, out);
        for (const CTeamPlayerLink& link : team.Links()) {
            const std::array<int32_t, 2> values = {link.jerseyNumber, link.formationPosition};
            CheckRanges(db, "teamplayerlinks", 2, EKind::Team, id,
                        [&](int c) { return values[static_cast<size_t>(c)]; }, out);
        }
    }
}

void CheckLeagues(const CGameDatabase& db, const CIngameTextDb* texts, CFindings& out) {
    for (const CLeagueTeamLink& link : db.LeagueTeamLinks()) {
        if (!db.FindLeague(link.leagueId))
            out.Error("missing-league", EKind::Team, link.teamId,
                      "linked to league " + Num(link.leagueId) + ", which does not exist");
        if (!db.FindTeam(link.teamId))
            out.Error("missing-team", EKind::League, link.leagueId,
                      "linked to team " + Num(link.teamId) + ", which does not exist");
    }
    for (const auto& [id, league] : db.Leagues()) {
        if (texts)
            CheckNames(texts, EKind::League, id,
                       {&league.name, &league.shortName, &league.mediumName},
                       &CInGameNames::LeagueTextId, out);
        CheckRanges(db, "leagues", CLeague::kColumnCount, EKind::League, id,
                    [&record = league](int c) { return record.columns[static_cast<size_t>(c)]; }, out);
    }
    for (const auto& [id, stadium] : db.Stadiums()) {
        if (stadium.name.empty())
            out.Warning("name-empty", EKind::Stadium, id, "the stadium has no name");
        CheckRanges(db, "stadiums", CStadium::kColumnCount, EKind::Stadium, id,
                    [&record = stadium](int c) { return record.columns[static_cast<size_t>(c)]; }, out);
    }
}

} // namespace

const char* SCheckFinding::SeverityName(ESeverity severity) {
    return severity == ESeverity::Error ? "error" : "warning";
}

const char* SCheckFinding::KindName(EKind kind) {
    switch (kind) {
    case EKind::Player:
        return "player";
    case EKind::Team:
        return "team";
    case EKind::League:
        return "league";
    case EKind::Stadium:
        return "stadium";
    case EKind::Formation:
        return "formation";
    case EKind::File:
        break;
    }
    return "file";
}

std::vector<SCheckFinding> CDatabaseCheck::Run(const CGameDatabase& database,
                                               const CIngameTextDb* texts) {
    CFindings out;
    CheckTables(database, out);
    CheckLoad(database, out);
    CheckPlayers(database, out);
    CheckTeams(database, texts, out);
    CheckLeagues(database, texts, out);
    return out.Take();
}

std::vector<SCheckFinding> CDatabaseCheck::Unstorable(const CGameDatabase& database) {
    CFindings out(true);
    CheckUnstorable(database, out);
    return out.Take();
}

bool CDatabaseCheck::HasErrors(const std::vector<SCheckFinding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const SCheckFinding& finding) {
        return finding.severity == SCheckFinding::ESeverity::Error;
    });
}
