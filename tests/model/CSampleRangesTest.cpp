#include "CSampleGenerator.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameRanges.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace {

// Every bounded field of every record lies in the game's range, each such column of the file
// declares that range (widened down to 0), and the values still vary as in a real game.
class CSampleRangesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        game = new CGameDatabase;
        CSampleGenerator::BuildGame(*game, CSampleGenerator::kDefaultSeed);
    }
    static void TearDownTestSuite() { delete game; }

    // Checks one record's value and remembers it for the spread.
    void Check(const char* table, const char* column, int32_t value, int32_t id) {
        const auto range = CGameRanges::Find(table, column);
        if (!range)
            return;
        EXPECT_TRUE(value >= range->low && value <= range->high)
            << table << " " << id << ": " << column << " = " << value << " outside "
            << range->low << ".." << range->high;
        seen[std::string(table) + "." + column].insert(value);
    }

    void ExpectColumnsDeclareTheRanges(const char* tableName) {
        const CDbTable* table = game->Catalogue().FindTable(tableName);
        ASSERT_NE(table, nullptr);
        for (int c = 0; c < table->ColumnCount(); ++c) {
            if (const auto range = CGameRanges::Find(tableName, table->ColumnName(c))) {
                // Blank records (all zeros) stay storable.
                EXPECT_EQ(table->ColumnLow(c), std::min(range->low, 0)) << table->ColumnName(c);
                EXPECT_EQ(table->ColumnHigh(c), range->high) << table->ColumnName(c);
            }
        }
    }

    static inline CGameDatabase* game = nullptr;
    std::map<std::string, std::set<int32_t>> seen;
};

} // namespace

TEST_F(CSampleRangesTest, EveryPlayerTeamAndKitLiesInsideTheGamesRanges) {
    ASSERT_GT(game->Players().size(), 1000u);
    for (const auto& [id, player] : game->Players()) {
        for (int c = 0; c < CPlayer::kColumnCount; ++c)
            Check("players", CPlayer::Columns()[c].name, player.ColumnValue(c), id);
    }
    int kits = 0;
    for (const auto& [id, team] : game->Teams()) {
        for (int c = 0; c < static_cast<int>(CTeam::Columns().size()); ++c)
            Check("teams", CTeam::Columns()[c].name, team.ColumnValue(c), id);
        for (int type = 0; type < CTeamKit::kSlotCount; ++type) {
            const CTeamKit* kit = team.FindKit(type);
            if (!kit)
                continue;
            ++kits;
            for (int c = 0; c < CTeamKit::kColumnCount; ++c)
                Check("teamkits", CTeamKit::Columns()[c].name, kit->ColumnValue(c), id);
        }
    }
    EXPECT_GT(kits, 1000);
    // Realistic, not pinned to one corner of each range (the kits' wet flag is always off in
    // the sample: wet kits are the team's own switch).
    for (const auto& [field, values] : seen) {
        if (field != "teamkits.wet_kit") {
            EXPECT_GE(values.size(), 2u) << field;
        }
    }
    EXPECT_GE(seen["players.leadership"].size(), 4u);
    EXPECT_GE(seen["players.face_type"].size(), 20u);
}

TEST_F(CSampleRangesTest, TheFileDeclaresTheGamesRangesForBoundedColumns) {
    ExpectColumnsDeclareTheRanges("players");
    ExpectColumnsDeclareTheRanges("teams");
    ExpectColumnsDeclareTheRanges("teamkits");
}
