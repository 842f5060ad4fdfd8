#include "CSampleSchema.h"

#include "editor/model/CPlayer.h"
#include "editor/model/CTeam.h"
#include "editor/model/CTeamKit.h"
#include "editor/model/CGameRanges.h"

#include <algorithm>
#include <memory>

namespace {

using SColumn = CSampleSchema::SColumn;

SColumn Range(std::string name, int32_t low, int32_t high) {
    return {std::move(name), low, high};
}

// The game's own range where the windows bound the field, so the file declares what the game
// accepts; otherwise the plausible width given (players' other numbers: PlayerHigh). The low
// end stays at 0 at most, so a blank record (all zeros, as new records start) can be stored.
SColumn GameRange(std::string_view table, std::string name, int32_t low, int32_t high) {
    if (const auto range = CGameRanges::Find(table, name))
        return Range(std::move(name), std::min(range->low, 0), range->high);
    return Range(std::move(name), low, high);
}

int32_t PlayerHigh(const std::string& name, EFieldKind kind, int32_t& low) {
    low = 0;
    if (kind == EFieldKind::Bool || name == "star_player")
        return 1;
    if (kind == EFieldKind::UInt8)
        return 100;
    if (name == "birth_day_number") {
        low = 100000;
        return 200000;
    }
    return 255;
}

std::vector<SColumn> TeamColumns() {
    std::vector<SColumn> columns;
    for (const SColumnInfo& info : CTeam::Columns()) {
        const std::string name = info.name;
        int32_t high = 255;
        if (name == "opponent_team_id")
            high = 131071;
        else if (name == "stadium_id" || name == "training_stadium_id")
            high = 1023;
        else if (name == "formation_id" || name == "adboard_id" || name == "speech_country_id")
            high = 63;
        else if (name == "prestige")
            high = 20;
        else if (name == "attack" || name == "without_ball")
            high = 100;
        else if (name == "elite_team" || name == "generic_banner" || name == "offside_trap" ||
                 name == "streamers" || name == "wet_kit")
            high = 1;
        else if (name == "ball_type" || name == "pitch_repair" || name == "column_14")
            high = 15;
        columns.push_back(GameRange("teams", name, 0, high));
    }
    return columns;
}

std::vector<SColumn> KitColumns() {
    std::vector<SColumn> columns;
    for (const SColumnInfo& info : CTeamKit::Columns()) {
        const std::string name = info.name;
        int32_t high = 31;
        if (name.find("colour") != std::string::npos)
            high = 255;
        else if (name == "wet_kit")
            high = 1;
        columns.push_back(GameRange("teamkits", name, 0, high));
    }
    return columns;
}

uint32_t RecordSize(const CSampleSchema::STable& table) {
    int64_t bits = 0;
    for (const SColumn& column : table.columns)
        bits += CDbColumn::WidthFor(column.low, column.high);
    const int64_t bytes = 4 * table.fixedWords + (bits + 7) / 8;
    return static_cast<uint32_t>((bytes + 3) / 4 * 4);
}

} // namespace

std::vector<SColumn> CSampleSchema::PlayerColumns() {
    std::vector<SColumn> columns;
    for (const SColumnInfo& info : CPlayer::Columns()) {
        int32_t low = 0;
        const int32_t high = PlayerHigh(info.name, info.kind, low);
        columns.push_back(GameRange("players", info.name, low, high));
    }
    return columns;
}

std::vector<CSampleSchema::STable> CSampleSchema::GameTables() {
    const std::vector<SColumn> rgb = {Range("red", 0, 255), Range("green", 0, 255),
                                      Range("blue", 0, 255)};
    const std::vector<SColumn> stats = {Range("appearances", 0, 1023), Range("goals", 0, 1023),
                                        Range("assists", 0, 1023)};
    std::vector<SColumn> takers;
    for (const char* name : CTeam::TakerNames())
        takers.push_back(Range(name, 0, 1048575));
    return {
        {"coloridtorgb", 1, rgb, {"colorid"}},
        {"leagues", 4, {Range("country_id", 0, 255), Range("level", 0, 15)}, {"leagueid"}},
        {"leagueteamlinks", 2, {}, {"leagueid", "teamid"}},
        {"playergrowth", 1, {Range("growth", 0, 255), Range("peak_age", 15, 40)}, {"playerid"}},
        {"players", 4, PlayerColumns(), {"playerid"}},
        {"playerstasis", 1, {Range("stasis", 0, 255)}, {"playerid"}},
        {"playerstats", 1, stats, {"playerid"}},
        {"stadiums",
         2,
         {Range("capacity", 0, 131071), Range("kind", 0, 3), Range("country_id", 0, 255),
          Range("pitch", 0, 1023)},
         {"stadiumid"}},
        {"teamkits", 4, KitColumns(), {"teamid", "kittype"}},
        {"specialteamplayers", 1, takers, {"teamid"}},
        {"teamformationnames", 2, {}, {"formationid"}},
        {"teamplayerlinks",
         2,
         {Range("jersey_number", 0, 99), Range("position", 0, 34)},
         {"teamid", "playerid"}},
        {"teamrivalry", 2, {}, {"teamid", "rivalteamid"}},
        {"teams", 4, TeamColumns(), {"teamid"}},
        {"teamstats", 1, stats, {"teamid"}},
    };
}

CDbCatalogue CSampleSchema::MakeCatalogue(const std::vector<STable>& tables) {
    CDbCatalogue catalogue;
    catalogue.headerWord1 = kHeaderWord1;
    catalogue.headerWord2 = kHeaderWord2;
    catalogue.tableCount = static_cast<uint32_t>(tables.size());
    uint32_t descriptor = 12 + 4 * catalogue.tableCount;
    for (const STable& layout : tables) {
        auto table = std::make_unique<CDbTable>(0, descriptor);
        table->SetName(layout.name);
        table->SetRecordSize(RecordSize(layout));
        for (const std::string& entry : layout.nameList1)
            table->AddNameListEntry(1, entry);
        for (const SColumn& column : layout.columns)
            table->AddColumn(column.name, column.low, column.high);
        const auto columns = static_cast<uint32_t>(layout.columns.size());
        descriptor +=
            24 + 8 * columns + 4 * (static_cast<uint32_t>(layout.nameList1.size()) + columns);
        catalogue.AddTable(std::move(table));
    }
    return catalogue;
}

CDbCatalogue CSampleSchema::GameCatalogue() {
    return MakeCatalogue(GameTables());
}

CDbCatalogue CSampleSchema::TextCatalogue() {
    return MakeCatalogue({{"language", 2, {}, {}}});
}
