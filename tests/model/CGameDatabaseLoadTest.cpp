#include "TestDatabaseFiles.h"

#include "editor/database/CDbFileReader.h"
#include "editor/model/CGameDatabase.h"

#include "tests/support/CTempFolder.h"

#include <gtest/gtest.h>

namespace {

using C = EPlayerColumn;

std::vector<int32_t> PlayerValues(std::initializer_list<std::pair<C, int32_t>> set) {
    std::vector<int32_t> values;
    for (const CSampleSchema::SColumn& column : CSampleSchema::PlayerColumns())
        values.push_back(column.low > 0 ? column.low : 0);
    for (auto [column, value] : set)
        values[static_cast<size_t>(column)] = value;
    return values;
}

class CGameDatabaseLoadTest : public ::testing::Test {
protected:
    bool Load(const std::vector<STestTable>& tables, const std::string& texts = "") {
        WriteDatabase(folder / "corvid.db", tables);
        return db.LoadGameDatabase((folder / "corvid.db").string(), texts, sink);
    }

    CTempFolder scratch;
    const std::filesystem::path folder = scratch.Path();
    CGameDatabase db;
    CRecordingSink sink;
};

} // namespace

TEST_F(CGameDatabaseLoadTest, ProgressTextsInTheGamesOrder) {
    WriteDatabase(folder / "corvid.db", FullGame({}));
    std::vector<std::string> keys;
    ASSERT_TRUE(db.LoadGameDatabase((folder / "corvid.db").string(), "", sink,
                                    [&](const std::string& key) { keys.push_back(key); }));
    EXPECT_EQ(keys, (std::vector<std::string>{"Message_LoadingPlayers", "Message_LoadingTeams",
                                              "Message_LoadingComps", "Message_LoadingOtherData",
                                              "Message_Ready"}));
    EXPECT_EQ(db.FilePath(), (folder / "corvid.db").string());
}

TEST_F(CGameDatabaseLoadTest, LaterDuplicatesWin) {
    ASSERT_TRUE(Load(FullGame({
        Table("players",
              [](CDbSectionWriter& out) {
                  PackPlayer(out, 3, "First", "", "Copy", PlayerValues({{C::Pace, 10}}));
                  PackPlayer(out, 3, "Second", "", "Copy", PlayerValues({{C::Pace, 20}}));
              }),
        Table("stadiums",
              [](CDbSectionWriter& out) {
                  for (const char* name : {"Old Ground", "New Ground"}) {
                      out.BeginRecord();
                      out.Int(4);
                      out.String(name);
                      out.Pack(std::vector<int32_t>{1, 0, 0, 0});
                  }
              }),
    })));
    ASSERT_EQ(db.Players().size(), 1u);
    EXPECT_EQ(db.FindPlayer(3)->FirstName(), "Second");
    EXPECT_EQ(db.FindPlayer(3)->Value(C::Pace), 20);
    EXPECT_EQ(db.MaxPlayerId(), 3);
    EXPECT_EQ(db.NextPlayerId(), 150001);
    EXPECT_EQ(db.FindStadium(4)->name, "New Ground");
}

TEST_F(CGameDatabaseLoadTest, PlayerSideOfLinksSurvivesAMissingTeamsTable) {
    std::vector<STestTable> tables = FullGame({
        Table("players", [](CDbSectionWriter& out) { PackPlayer(out, 1, "A", "", "B"); }),
        Table("teamplayerlinks",
              [](CDbSectionWriter& out) {
                  out.BeginRecord();
                  out.Int(20);
                  out.Int(1);
                  out.Pack(std::vector<int32_t>{9, 3});
              }),
    });
    std::erase_if(tables, [](const STestTable& t) { return t.layout.name == "teams"; });
    ASSERT_TRUE(Load(tables));
    EXPECT_TRUE(db.Teams().empty());
    EXPECT_EQ(db.FindPlayer(1)->Teams(), std::vector<int32_t>{20});
    // The writer needs all fifteen tables: the save is refused, nothing is written.
    EXPECT_FALSE(db.SaveGameDatabase((folder / "out.db").string(), "", sink));
    EXPECT_FALSE(std::filesystem::exists(folder / "out.db"));
}

TEST_F(CGameDatabaseLoadTest, RowsOfUnknownTeamsAreDroppedExceptLeagueLinks) {
    ASSERT_TRUE(Load(FullGame({
        Table("players", [](CDbSectionWriter& out) { PackPlayer(out, 1, "A", "", "B"); }),
        Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 5); }),
        Table("leagueteamlinks",
              [](CDbSectionWriter& out) {
                  for (int32_t team : {5, 6}) {
                      out.BeginRecord();
                      out.Int(1);
                      out.Int(team);
                  }
              }),
        Table("teamplayerlinks",
              [](CDbSectionWriter& out) {
                  for (auto [team, player, jersey] :
                       {std::tuple{5, 1, 4}, {6, 1, 5}, {5, 2, 6}, {5, 1, 8}}) {
                      out.BeginRecord();
                      out.Int(team);
                      out.Int(player);
                      out.Pack(std::vector<int32_t>{jersey, 33});
                  }
              }),
        Table("specialteamplayers",
              [](CDbSectionWriter& out) {
                  for (int32_t team : {6, 5}) {
                      out.BeginRecord();
                      out.Int(team);
                      out.Pack(std::vector<int32_t>{1, 2, 3, 4, 5});
                  }
              }),
        Table("teamrivalry",
              [](CDbSectionWriter& out) {
                  for (auto [team, rival] : {std::pair{5, 9}, {6, 5}, {5, 9}}) {
                      out.BeginRecord();
                      out.Int(team);
                      out.Int(rival);
                  }
              }),
    })));
    EXPECT_EQ(db.LeagueTeamLinks().size(), 2u);
    EXPECT_EQ(db.FindTeam(5)->Leagues(), std::vector<int32_t>{1});
    const CTeam& team = *db.FindTeam(5);
    // The second row for player 1 in team 5 updated the first; player 2 is unknown but linked.
    ASSERT_EQ(team.Links().size(), 2u);
    EXPECT_EQ(team.Links()[0], (CTeamPlayerLink{8, 1, 33, 5}));
    EXPECT_EQ(team.Links()[1].playerId, 2);
    EXPECT_EQ(db.FindPlayer(1)->Teams(), (std::vector<int32_t>{5, 6}));
    EXPECT_EQ(team.Taker(ETaker::Captain), 1);
    EXPECT_EQ(team.Taker(ETaker::RightCorner), 5);
    EXPECT_EQ(team.Rivals(), (std::vector<int32_t>{9, 9}));
}

TEST_F(CGameDatabaseLoadTest, FewerColumnsReadAsMinusOne) {
    CSampleSchema::STable players = GameTable("players");
    players.columns.resize(40);
    ASSERT_TRUE(Load(FullGame(
        {{players, [](CDbSectionWriter& out) {
              PackPlayer(out, 1, "A", "", "B", PlayerValues({{C::Pace, 77}, {C::Height, 190}}));
          }}})));
    const CPlayer& player = *db.FindPlayer(1);
    EXPECT_EQ(player.Value(C::Height), 190);
    EXPECT_EQ(player.Value(C::PreferredPosition1), -1);
    EXPECT_EQ(player.Value(C::Pace), 255);   // an attribute: -1 in 8 bits
    EXPECT_EQ(player.Value(C::WorkRate), 1); // a flag: -1 means true
    EXPECT_EQ(player.PositionGroup(), 1);

    // Saved only as far as the table has columns, so it loads back the same.
    ASSERT_TRUE(db.SaveGameDatabase((folder / "out.db").string(), "", sink));
    CGameDatabase again;
    ASSERT_TRUE(again.LoadGameDatabase((folder / "out.db").string(), "", sink));
    EXPECT_EQ(*again.FindPlayer(1), player);
}

TEST_F(CGameDatabaseLoadTest, KitsOutsideTheSlotsAreDroppedLaterKitsWin) {
    ASSERT_TRUE(Load(FullGame({
        Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 5); }),
        Table("teamkits",
              [](CDbSectionWriter& out) {
                  for (auto [team, type, font] :
                       {std::tuple{5, 0, 1}, {5, 11, 2}, {5, 0, 3}, {9, 1, 4}, {5, 10, 5}}) {
                      out.BeginRecord();
                      out.Int(team);
                      out.Int(type);
                      out.Float(1.5f);
                      out.Word(0xFFC00000u);
                      std::vector<int32_t> values(26, 0);
                      values[static_cast<size_t>(EKitColumn::KitFont)] = font;
                      out.Pack(values);
                  }
              }),
    })));
    const CTeam& team = *db.FindTeam(5);
    ASSERT_NE(team.FindKit(0), nullptr);
    EXPECT_EQ(team.FindKit(0)->Value(EKitColumn::KitFont), 3);
    EXPECT_EQ(team.FindKit(10)->Value(EKitColumn::KitFont), 5);
    EXPECT_EQ(team.FindKit(0)->ShortsNumberX(), 1.5f);
    EXPECT_EQ(team.FindKit(0)->ShortsNumberYBits(), 0xFFC00000u);
    int kits = 0;
    for (int slot = 0; slot < 11; ++slot)
        kits += team.FindKit(slot) ? 1 : 0;
    EXPECT_EQ(kits, 2);
}

TEST_F(CGameDatabaseLoadTest, TeamsKeepColumn14AndTheirSecondRecordName) {
    std::vector<int32_t> columns(21, 0);
    columns[14] = 9;
    columns[static_cast<size_t>(ETeamColumn::Prestige)] = 17;
    ASSERT_TRUE(Load(FullGame({Table("teams", [&](CDbSectionWriter& out) {
        PackTeam(out, 5, "one", "two", "three", columns);
    })})));
    const CTeam& team = *db.FindTeam(5);
    EXPECT_EQ(team.Value(ETeamColumn::Column14), 9);
    EXPECT_EQ(team.Value(ETeamColumn::Prestige), 17);
    EXPECT_EQ(team.RecordName(1), "two");
    EXPECT_EQ(team.Name(), ""); // in-game names come from the text database only
    ASSERT_TRUE(db.SaveGameDatabase((folder / "out.db").string(), "", sink));
    CGameDatabase again;
    ASSERT_TRUE(again.LoadGameDatabase((folder / "out.db").string(), "", sink));
    EXPECT_EQ(*again.FindTeam(5), team);
}

TEST_F(CGameDatabaseLoadTest, ColourIdsArePositions) {
    ASSERT_TRUE(Load(FullGame({Table("coloridtorgb", [](CDbSectionWriter& out) {
        for (int32_t id : {5, 6, 7}) {
            out.BeginRecord();
            out.Int(id);
            out.Pack(std::vector<int32_t>{id, 2 * id, 3 * id});
        }
    })})));
    ASSERT_EQ(db.Colours().Count(), 3);
    EXPECT_EQ(db.Colours().ColourOfIndex(0), 0x050A0Fu);
    ASSERT_TRUE(db.SaveGameDatabase((folder / "out.db").string(), "", sink));

    // Read the saved colour ids back word by word.
    CDbFileReader reader;
    ASSERT_TRUE(reader.Open((folder / "out.db").string(), sink));
    CDbCatalogue catalogue;
    ASSERT_TRUE(reader.ReadCatalogue(catalogue, sink));
    auto cursor = reader.Records(*catalogue.FindTable("coloridtorgb"), 1, sink);
    ASSERT_TRUE(cursor);
    std::vector<int32_t> ids;
    while (cursor->Next())
        ids.push_back(cursor->Int(0));
    EXPECT_EQ(ids, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(CGameDatabaseLoadTest, AFailedLoadKeepsWhatWasLoaded) {
    ASSERT_TRUE(Load(FullGame(
        {Table("players", [](CDbSectionWriter& out) { PackPlayer(out, 1, "A", "", "B"); })})));
    // A file cut in the middle of its records.
    std::filesystem::resize_file(folder / "corvid.db", 200);
    EXPECT_FALSE(db.LoadGameDatabase((folder / "corvid.db").string(), "", sink));
    EXPECT_FALSE(sink.messages.empty());
    EXPECT_NE(db.FindPlayer(1), nullptr);
    EXPECT_FALSE(db.LoadGameDatabase((folder / "missing.db").string(), "", sink));
    EXPECT_NE(db.FindPlayer(1), nullptr);
    EXPECT_EQ(sink.messages.back().rfind("Error_OpenToRead", 0), 0u);
}

TEST_F(CGameDatabaseLoadTest, TablesWithoutColumnsKeepTheirRecordsWhole) {
    CSampleSchema::STable stadiums = GameTable("stadiums");
    stadiums.columns.clear();
    ASSERT_TRUE(Load(FullGame({{stadiums, [](CDbSectionWriter& out) {
                                    out.BeginRecord();
                                    out.Int(3);
                                    out.String("Ground");
                                }}})));
    EXPECT_EQ(db.FindStadium(3)->columns, (std::array<int32_t, 4>{-1, -1, -1, -1}));
    ASSERT_TRUE(db.SaveGameDatabase((folder / "out.db").string(), "", sink))
        << (sink.messages.empty() ? "" : sink.messages.back());
    CGameDatabase again;
    ASSERT_TRUE(again.LoadGameDatabase((folder / "out.db").string(), "", sink));
    EXPECT_EQ(*again.FindStadium(3), *db.FindStadium(3));
}
