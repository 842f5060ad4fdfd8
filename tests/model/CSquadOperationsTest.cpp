#include "editor/model/CGameDatabase.h"

#include <gtest/gtest.h>

namespace {

using C = EPlayerColumn;

class CSquadOperationsTest : public ::testing::Test {
protected:
    CPlayer& AddPlayer(int32_t id, int32_t p1 = 0, int32_t p2 = -1, int32_t p3 = -1) {
        CPlayer player(id);
        player.SetLastName("P" + std::to_string(id));
        player.SetValue(C::PreferredPosition1, p1);
        player.SetValue(C::PreferredPosition2, p2);
        player.SetValue(C::PreferredPosition3, p3);
        return db.InsertPlayer(player);
    }
    void Link(int32_t team, int32_t player, int32_t position, int32_t jersey) {
        db.FindTeam(team)->AddOrUpdateLink({jersey, player, position, team});
        if (CPlayer* p = db.FindPlayer(player))
            p->AddTeam(team);
    }
    int32_t PositionOf(int32_t player, int32_t team) const {
        const CTeamPlayerLink* link = db.FindTeamPlayerLink(player, team);
        return link ? link->formationPosition : -100;
    }

    CGameDatabase db;
};

} // namespace

TEST_F(CSquadOperationsTest, NextPlayerIdStartsAboveTheGamesOwnIds) {
    AddPlayer(2000);
    EXPECT_EQ(db.NextPlayerId(), 150001);
    EXPECT_EQ(db.NextPlayerId(), 150002);
    CGameDatabase other;
    other.InsertPlayer(CPlayer(160000));
    EXPECT_EQ(other.NextPlayerId(), 160001);
    other.InsertPlayer(CPlayer(INT32_MAX));
    EXPECT_EQ(other.NextPlayerId(), -1);
    EXPECT_EQ(other.NewPlayer(-1), -1);
}

TEST_F(CSquadOperationsTest, NewPlayerHasTheDefaultsAndJoinsTheBench) {
    db.InsertTeam(CTeam(1));
    AddPlayer(9000);
    db.SetTextLookup([](const std::string& key) {
        return key == "Caption_Player" ? std::string("Spieler") : key;
    });
    const int32_t id = db.NewPlayer(1);
    ASSERT_EQ(id, 150001);
    const CPlayer* player = db.FindPlayer(id);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->FirstName(), "New"); // the lookup has no text for it
    EXPECT_EQ(player->LastName(), "Spieler 150001");
    EXPECT_EQ(player->Value(C::BirthDayNumber), 145080);
    EXPECT_EQ(player->Value(C::Acceleration), 50);
    EXPECT_EQ(player->Value(C::Handling), 1);
    EXPECT_EQ(player->Value(C::Pace), 0);
    EXPECT_EQ(player->Value(C::Accessory5), 15);
    EXPECT_EQ(player->Value(C::ShoeColour), 2);
    EXPECT_EQ(player->Value(C::Height), 180);
    EXPECT_EQ(player->Value(C::PreferredPosition2), -1);
    EXPECT_EQ(player->Teams(), std::vector<int32_t>{1});
    EXPECT_EQ(*db.FindTeamPlayerLink(id, 1), (CTeamPlayerLink{1, id, 32, 1}));

    const int32_t free = db.NewPlayer(-1);
    EXPECT_TRUE(db.FindPlayer(free)->Teams().empty());
}

TEST_F(CSquadOperationsTest, CopyPlayerNamesTheCopyAndLinksOnlyTheChosenTeam) {
    db.InsertTeam(CTeam(1));
    db.InsertTeam(CTeam(2));
    AddPlayer(10).SetFirstName("Ana");
    Link(1, 10, 5, 4);
    EXPECT_EQ(db.CopyPlayer(2), -1); // nothing on the clipboard yet
    db.SetClipboardPlayerId(10);
    const int32_t id = db.CopyPlayer(2);
    ASSERT_GT(id, 0);
    const CPlayer* copy = db.FindPlayer(id);
    EXPECT_EQ(copy->FirstName(), "Copy of Ana");
    EXPECT_EQ(copy->LastName(), "P10");
    EXPECT_EQ(copy->Teams(), std::vector<int32_t>{2});
    EXPECT_NE(db.FindTeamPlayerLink(id, 2), nullptr);
    EXPECT_EQ(db.FindTeamPlayerLink(id, 1), nullptr);

    AddPlayer(11).SetCommonName("Pelé");
    db.SetClipboardPlayerId(11);
    EXPECT_EQ(db.FindPlayer(db.CopyPlayer(2))->CommonName(), "Copy of Pelé");
    db.SetClipboardPlayerId(12345);
    EXPECT_EQ(db.CopyPlayer(2), -1);
}

TEST_F(CSquadOperationsTest, BenchFillsSubstitutesThenReserves) {
    EXPECT_EQ(db.ChooseBenchPosition(1), -1);
    db.InsertTeam(CTeam(1));
    EXPECT_EQ(db.ChooseBenchPosition(1), 32);
    int32_t id = 1;
    for (int i = 0; i < 5; ++i) {
        Link(1, id, 32, id);
        ++id;
    }
    EXPECT_EQ(db.ChooseBenchPosition(1), 33);
    AddPlayer(500);
    ASSERT_TRUE(db.AddPlayerToTeam(500, 1, -1, -1));
    EXPECT_EQ(PositionOf(500, 1), 33);
    for (int i = 0; i < 7; ++i) {
        Link(1, id, 33, id);
        ++id;
    }
    EXPECT_EQ(db.ChooseBenchPosition(1), 34);
    for (int i = 0; i < 8; ++i) {
        Link(1, id, 34, id);
        ++id;
    }
    EXPECT_EQ(db.ChooseBenchPosition(1), -1);
    AddPlayer(501);
    db.ClearDirty();
    EXPECT_FALSE(db.AddPlayerToTeam(501, 1, -1, -1));
    EXPECT_EQ(db.FindTeamPlayerLink(501, 1), nullptr);
    EXPECT_TRUE(db.FindPlayer(501)->Teams().empty());
    EXPECT_FALSE(db.IsDirty());
}

TEST_F(CSquadOperationsTest, LowestFreeJerseyNumber) {
    EXPECT_EQ(db.LowestFreeJerseyNumber(1), 0);
    db.InsertTeam(CTeam(1));
    EXPECT_EQ(db.LowestFreeJerseyNumber(1), 1);
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12})
        Link(1, 100 + n, 32, n);
    EXPECT_EQ(db.LowestFreeJerseyNumber(1), 11);
    for (int n = 11; n <= 99; ++n)
        Link(1, 100 + n, 0, n);
    EXPECT_EQ(db.LowestFreeJerseyNumber(1), 0);
}

TEST_F(CSquadOperationsTest, AddPlayerToTeamUpdatesAnExistingLink) {
    EXPECT_FALSE(db.AddPlayerToTeam(1, 99, 3, 3));
    db.InsertTeam(CTeam(1));
    AddPlayer(1);
    ASSERT_TRUE(db.AddPlayerToTeam(1, 1, 3, 8));
    ASSERT_TRUE(db.AddPlayerToTeam(1, 1, 4, 9));
    EXPECT_EQ(db.FindTeam(1)->Links().size(), 1u);
    EXPECT_EQ(*db.FindTeamPlayerLink(1, 1), (CTeamPlayerLink{9, 1, 4, 1}));
    EXPECT_EQ(db.FindPlayer(1)->Teams(), std::vector<int32_t>{1});
    // A player id the database does not know still gets its link.
    ASSERT_TRUE(db.AddPlayerToTeam(77, 1, -1, -1));
    EXPECT_EQ(db.FindTeamPlayerLink(77, 1)->jerseyNumber, 1);
}

TEST_F(CSquadOperationsTest, RemovingAPlayerFillsHisPlaceFromTheBench) {
    db.InsertTeam(CTeam(1));
    AddPlayer(1, 5);
    AddPlayer(2, 6);        // earlier in the list, same group only
    AddPlayer(3, 7, 5, -1); // second choice is the place itself
    Link(1, 1, 5, 5);
    Link(1, 2, 32, 12);
    Link(1, 3, 33, 13);
    db.RemovePlayerFromTeam(1, 1);
    EXPECT_EQ(db.FindTeamPlayerLink(1, 1), nullptr);
    EXPECT_TRUE(db.FindPlayer(1)->Teams().empty());
    EXPECT_EQ(PositionOf(3, 1), 5);
    EXPECT_EQ(PositionOf(2, 1), 32);
}

TEST_F(CSquadOperationsTest, FillFormationPositionPasses) {
    db.InsertTeam(CTeam(1));
    AddPlayer(1, 10);
    AddPlayer(2, 20, -1, 27); // third choice in the forwards' group
    AddPlayer(3, 3);
    Link(1, 1, 32, 1);
    Link(1, 2, 33, 2);
    Link(1, 3, 34, 3);
    // No exact match for 28: the group pass finds player 2 before the any-player pass.
    ASSERT_TRUE(db.FillFormationPosition(28, 1));
    EXPECT_EQ(PositionOf(2, 1), 28);
    // Nobody of the defence left on the bench but player 3.
    ASSERT_TRUE(db.FillFormationPosition(2, 1));
    EXPECT_EQ(PositionOf(3, 1), 2);
    // Any bench player at all.
    ASSERT_TRUE(db.FillFormationPosition(30, 1));
    EXPECT_EQ(PositionOf(1, 1), 30);
    EXPECT_FALSE(db.FillFormationPosition(12, 1));
    EXPECT_FALSE(db.FillFormationPosition(12, 99));
}

TEST_F(CSquadOperationsTest, RemovingASubstituteHandsOnHisBenchPlace) {
    db.InsertTeam(CTeam(1));
    AddPlayer(1, 10);
    AddPlayer(2, 10);
    AddPlayer(3, 10);
    Link(1, 1, 32, 1);
    Link(1, 2, 34, 2);
    Link(1, 3, 33, 3);
    db.RemovePlayerFromTeam(1, 1);
    EXPECT_EQ(PositionOf(2, 1), 32);
    EXPECT_EQ(PositionOf(3, 1), 33);
}

TEST_F(CSquadOperationsTest, RemoveFromUnknownTeamStillClearsThePlayersList) {
    AddPlayer(1).AddTeam(42);
    db.RemovePlayerFromTeam(1, 42);
    EXPECT_TRUE(db.FindPlayer(1)->Teams().empty());
}

TEST_F(CSquadOperationsTest, AssigningATakenNumberMovesTheOtherPlayer) {
    db.InsertTeam(CTeam(1));
    for (int i = 1; i <= 3; ++i)
        AddPlayer(i);
    Link(1, 1, 0, 1);
    Link(1, 2, 1, 7);
    Link(1, 3, 2, 3);
    ASSERT_TRUE(db.AssignJerseyNumber(1, 1, 7));
    EXPECT_EQ(db.FindTeamPlayerLink(1, 1)->jerseyNumber, 7);
    EXPECT_EQ(db.FindTeamPlayerLink(2, 1)->jerseyNumber, 2);
    EXPECT_FALSE(db.AssignJerseyNumber(9, 1, 4));
}

TEST_F(CSquadOperationsTest, MoveKeepsThePlayerWhenTheTargetIsFull) {
    db.InsertTeam(CTeam(1));
    db.InsertTeam(CTeam(2));
    AddPlayer(1);
    Link(1, 1, 4, 4);
    for (int i = 0; i < 21; ++i)
        Link(2, 100 + i, i < 5 ? 32 : i < 13 ? 33 : 34, i + 1);
    EXPECT_FALSE(db.MovePlayer(1, 1, 2));
    EXPECT_NE(db.FindTeamPlayerLink(1, 1), nullptr);
    EXPECT_FALSE(db.MovePlayer(1, 1, 1)); // would lose the player's only link
    EXPECT_NE(db.FindTeamPlayerLink(1, 1), nullptr);
    db.InsertTeam(CTeam(3));
    ASSERT_TRUE(db.MovePlayer(1, 1, 3));
    EXPECT_EQ(db.FindTeamPlayerLink(1, 1), nullptr);
    EXPECT_EQ(db.FindPlayer(1)->Teams(), std::vector<int32_t>{3});
    // Into a team he is in already (a club and a national team): his place there stays.
    db.InsertTeam(CTeam(4));
    Link(4, 1, 0, 1);
    EXPECT_FALSE(db.MovePlayer(1, 3, 4));
    EXPECT_EQ(PositionOf(1, 4), 0);
    EXPECT_NE(db.FindTeamPlayerLink(1, 3), nullptr);
}

TEST_F(CSquadOperationsTest, EditsMarkTheDatabaseDirty) {
    std::vector<bool> seen;
    db.SetDirtyCallback([&](bool dirty) { seen.push_back(dirty); });
    db.InsertTeam(CTeam(1));
    EXPECT_FALSE(db.IsDirty());
    db.NewPlayer(1);
    EXPECT_TRUE(db.IsDirty());
    db.NewPlayer(1);
    db.ClearDirty();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    db.RemovePlayerFromTeam(424242, 1); // nothing to remove: nothing changes
    EXPECT_FALSE(db.IsDirty());
}

TEST_F(CSquadOperationsTest, DisplayNames) {
    AddPlayer(1).SetFirstName("Ana");
    AddPlayer(2);
    CPlayer& common = AddPlayer(3);
    common.SetLastName("");
    common.SetCommonName("Zico");
    EXPECT_EQ(db.PlayerDisplayName(1), "Ana P1");
    EXPECT_EQ(db.PlayerDisplayName(2), "P2");
    EXPECT_EQ(db.PlayerDisplayName(3), "Zico");
    EXPECT_EQ(db.PlayerDisplayName(4), "");
}

TEST_F(CSquadOperationsTest, LeagueTeamsFollowTheLinkList) {
    db.InsertTeam(CTeam(5));
    db.AddLeagueTeamLink({1, 5});
    db.AddLeagueTeamLink({1, 99}); // unknown team: kept in the list
    db.AddLeagueTeamLink({2, 5});
    db.AddLeagueTeamLink({1, 5});
    EXPECT_EQ(db.TeamsOfLeague(1), (std::vector<int32_t>{5, 99, 5}));
    EXPECT_TRUE(db.TeamsOfLeague(3).empty());
    EXPECT_EQ(db.FindTeam(5)->Leagues(), (std::vector<int32_t>{1, 2}));
}

TEST_F(CSquadOperationsTest, TransferPlayersMovesCopiesAndStopsAtAFullBench) {
    db.InsertTeam(CTeam(1));
    db.InsertTeam(CTeam(2));
    for (int32_t id = 10; id < 13; ++id) {
        AddPlayer(id);
        Link(1, id, 32, id);
    }
    AddPlayer(20);
    Link(2, 20, 32, 12);

    // Copy: both squads hold them; the target chose bench places and free numbers.
    EXPECT_EQ(db.TransferPlayers({10, 11}, 1, 2, true), (std::vector<int32_t>{10, 11}));
    EXPECT_NE(db.FindTeamPlayerLink(10, 1), nullptr);
    EXPECT_EQ(db.FindTeamPlayerLink(10, 2)->jerseyNumber, 1);
    EXPECT_EQ(db.FindTeamPlayerLink(11, 2)->jerseyNumber, 2);

    // Players already in the target keep their number there and stay in the source.
    db.FindTeam(2)->FindLink(10)->formationPosition = 4;
    EXPECT_EQ(db.TransferPlayers({10, 12, 12}, 1, 2, false), (std::vector<int32_t>{12}));
    EXPECT_EQ(PositionOf(10, 2), 4);
    EXPECT_EQ(db.FindTeamPlayerLink(10, 2)->jerseyNumber, 1);
    EXPECT_NE(db.FindTeamPlayerLink(10, 1), nullptr);
    EXPECT_EQ(db.FindTeamPlayerLink(12, 1), nullptr);
    EXPECT_EQ(db.FindPlayer(12)->Teams(), std::vector<int32_t>{2});

    // A full bench takes nobody, and nobody leaves the source.
    for (int32_t id = 100; id < 100 + 21; ++id) {
        AddPlayer(id);
        db.AddPlayerToTeam(id, 2, -1, -1);
    }
    EXPECT_TRUE(db.TransferPlayers({11}, 1, 3, false).empty());
    AddPlayer(30);
    Link(1, 30, 32, 30);
    EXPECT_TRUE(db.TransferPlayers({30}, 1, 2, false).empty());
    EXPECT_NE(db.FindTeamPlayerLink(30, 1), nullptr);
}

TEST_F(CSquadOperationsTest, DeletePlayersRemovesOnlyPlayersNoTeamRefersTo) {
    db.InsertTeam(CTeam(1));
    db.InsertTeam(CTeam(2));
    for (int32_t id : {10, 11, 12, 13, 14})
        AddPlayer(id);
    Link(1, 10, 0, 1);
    // Listed by the player only, linked by the team only, or named as a taker only: each
    // still ties him to a team.
    db.FindPlayer(11)->AddTeam(2);
    db.FindTeam(2)->AddOrUpdateLink({5, 12, 32, 2});
    db.FindTeam(2)->SetTaker(ETaker::Penalty, 13);
    const auto inTeams = db.PlayersInTeams();
    for (int32_t id : {10, 11, 12, 13}) {
        EXPECT_TRUE(inTeams.contains(id)) << id;
        const std::vector<int32_t> one{id};
        EXPECT_FALSE(db.CanDeletePlayers(one)) << id;
        EXPECT_FALSE(db.DeletePlayers(one)) << id;
        EXPECT_NE(db.FindPlayer(id), nullptr) << id;
        // All or nothing: the free player in the same request stays too.
        const std::vector<int32_t> withFree{14, id};
        EXPECT_FALSE(db.DeletePlayers(withFree)) << id;
        EXPECT_NE(db.FindPlayer(14), nullptr) << id;
    }
    EXPECT_FALSE(db.DeletePlayers(std::vector<int32_t>{999}));
    EXPECT_FALSE(db.DeletePlayers(std::vector<int32_t>{}));
    EXPECT_FALSE(db.IsDirty());

    const int32_t loose = db.NewPlayer(-1);
    db.ClearDirty();
    db.SetClipboardPlayerId(loose);
    const std::vector<int32_t> both{14, loose};
    EXPECT_TRUE(db.CanDeletePlayers(both));
    EXPECT_TRUE(db.DeletePlayers(both));
    EXPECT_EQ(db.FindPlayer(loose), nullptr);
    EXPECT_EQ(db.FindPlayer(14), nullptr);
    EXPECT_EQ(db.Players().size(), 4u);
    EXPECT_TRUE(db.IsDirty());
    // A paste after the delete copies nobody.
    EXPECT_FALSE(db.ClipboardPlayerId());
    EXPECT_EQ(db.CopyPlayer(1), -1);
    EXPECT_FALSE(db.DeletePlayers(both));
    // The next new player does not take the deleted one's id, so nothing that still remembers
    // it (an undo step, a search result) can reach someone else.
    EXPECT_GT(db.NewPlayer(-1), loose);
}
