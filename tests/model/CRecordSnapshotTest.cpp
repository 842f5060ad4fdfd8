#include "editor/model/CGameDatabase.h"
#include "editor/model/CLeagueSnapshot.h"
#include "editor/model/CRivalRules.h"
#include "editor/model/CTeamSnapshot.h"

#include <gtest/gtest.h>

namespace {

CTeamKit KitWithJersey(int32_t colourId) {
    CTeamKit kit;
    kit.SetValue(EKitColumn::JerseyColour1, colourId);
    kit.SetShortsNumberY(0.25f);
    return kit;
}

// Two teams of one league sharing three players, the way the windows find them.
class CRecordSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int32_t id : {1, 2}) {
            CTeam team(id);
            team.SetName("Team " + std::to_string(id));
            team.SetKit(0, KitWithJersey(3));
            db.InsertTeam(team);
            db.AddLeagueTeamLink({10, id});
        }
        for (int32_t id : {100, 101, 102}) {
            db.InsertPlayer(CPlayer(id));
            ASSERT_TRUE(db.AddPlayerToTeam(id, 1, -1, -1));
        }
    }

    CGameDatabase db;
};

} // namespace

TEST_F(CRecordSnapshotTest, TeamRestoreBringsBackEditsButLeavesSquadsLeaguesAndPlayers) {
    CTeam& team = *db.FindTeam(1);
    team.SetValue(ETeamColumn::Prestige, 4);
    team.SetRivals({2, 2});
    const CTeamSnapshot opened = CTeamSnapshot::Of(team);

    // Everything the window edits changes...
    team.SetName("Renamed");
    team.SetMediumName("Ren");
    team.SetValue(ETeamColumn::Prestige, 9);
    team.SetValue(ETeamColumn::WetKit, 1);
    team.SetValue(ETeamColumn::FormationId, 7);
    team.SetTaker(ETaker::Captain, 101);
    team.SetRivals({});
    team.FindKit(0)->SetValue(EKitColumn::JerseyColour1, 12);
    team.SetKit(4, KitWithJersey(5));
    // ...and so do the squads, through the squad operations.
    ASSERT_TRUE(db.MovePlayer(100, 1, 2));
    ASSERT_TRUE(db.AssignJerseyNumber(101, 1, 44));
    const std::vector<CTeamPlayerLink> linksBefore = team.Links();
    const int32_t columnNobodyEdits = team.Value(ETeamColumn::Column15);

    EXPECT_NE(CTeamSnapshot::Of(team), opened);
    opened.RestoreInto(team);

    EXPECT_EQ(CTeamSnapshot::Of(team), opened);
    EXPECT_EQ(team.Name(), "Team 1");
    EXPECT_EQ(team.MediumName(), "");
    EXPECT_EQ(team.Value(ETeamColumn::Prestige), 4);
    EXPECT_EQ(team.Value(ETeamColumn::WetKit), 0);
    EXPECT_EQ(team.Taker(ETaker::Captain), 0);
    EXPECT_EQ(team.Rivals(), (std::vector<int32_t>{2, 2}));
    ASSERT_NE(team.FindKit(0), nullptr);
    EXPECT_EQ(team.FindKit(0)->Value(EKitColumn::JerseyColour1), 3);
    EXPECT_EQ(team.FindKit(4), nullptr) << "a kit made after the snapshot is gone again";

    // The squads stay as the squad operations left them, in agreement with the players.
    EXPECT_EQ(team.Links(), linksBefore);
    EXPECT_EQ(db.PlayersOfTeam(1), (std::vector<int32_t>{101, 102}));
    EXPECT_EQ(db.PlayersOfTeam(2), (std::vector<int32_t>{100}));
    EXPECT_FALSE(db.FindPlayer(100)->IsInTeam(1));
    EXPECT_TRUE(db.FindPlayer(100)->IsInTeam(2));
    EXPECT_EQ(db.FindTeamPlayerLink(101, 1)->jerseyNumber, 44);
    EXPECT_EQ(team.Leagues(), (std::vector<int32_t>{10}));
    EXPECT_EQ(team.Value(ETeamColumn::Column15), columnNobodyEdits);
}

TEST_F(CRecordSnapshotTest, SquadChangesAloneLeaveTheTeamSnapshotEqual) {
    const CTeamSnapshot before = CTeamSnapshot::Of(*db.FindTeam(1));
    ASSERT_TRUE(db.MovePlayer(102, 1, 2));
    db.FindTeam(1)->AddLeague(11);
    EXPECT_EQ(CTeamSnapshot::Of(*db.FindTeam(1)), before);
    EXPECT_EQ(before.Name(), "Team 1");
    ASSERT_NE(before.Kit(0), nullptr);
    EXPECT_EQ(before.Kit(0)->Value(EKitColumn::JerseyColour1), 3);
    EXPECT_EQ(before.Kit(1), nullptr);
    EXPECT_EQ(before.Kit(11), nullptr);
    EXPECT_EQ(before.Kit(-1), nullptr);
}

TEST(CLeagueSnapshotTest, RestoresNamesAndLevelOnly) {
    CLeague league;
    league.id = 4;
    league.recordNames = {"a", "b", "c"};
    league.name = "First";
    league.shortName = "F";
    league.columns = {17, 2};
    const CLeagueSnapshot opened = CLeagueSnapshot::Of(league);

    league.name = "Premier";
    league.mediumName = "Prem";
    league.SetLevel(1);
    league.columns[0] = 99;
    league.recordNames[0] = "changed elsewhere";
    EXPECT_NE(CLeagueSnapshot::Of(league), opened);

    opened.RestoreInto(league);
    EXPECT_EQ(CLeagueSnapshot::Of(league), opened);
    EXPECT_EQ(league.name, "First");
    EXPECT_EQ(league.mediumName, "");
    EXPECT_EQ(league.shortName, "F");
    EXPECT_EQ(league.Level(), 2);
    EXPECT_EQ(league.columns[0], 99);
    EXPECT_EQ(league.recordNames[0], "changed elsewhere");
}

TEST(CRivalRulesTest, RefusesTheTeamItselfAndRivalsListedInAnotherRow) {
    using V = CRivalRules::EVerdict;
    const std::vector<int32_t> rivals = {5, 6, 6};
    EXPECT_EQ(CRivalRules::Check(1, rivals, 7), V::Accepted);
    EXPECT_EQ(CRivalRules::Check(1, rivals, 1), V::IsTheTeamItself);
    EXPECT_EQ(CRivalRules::Check(1, rivals, 5), V::AlreadyListed);
    EXPECT_EQ(CRivalRules::Check(1, {}, 5), V::Accepted);
    // Replacing a row: choosing the same team again keeps it; another row's team is listed.
    EXPECT_EQ(CRivalRules::Check(1, rivals, 5, 0), V::Accepted);
    EXPECT_EQ(CRivalRules::Check(1, rivals, 6, 0), V::AlreadyListed);
    // A pair stored twice in the file: each row still sees the other as listed.
    EXPECT_EQ(CRivalRules::Check(1, rivals, 6, 1), V::AlreadyListed);
    EXPECT_EQ(CRivalRules::Check(1, rivals, 1, 0), V::IsTheTeamItself);
}
