#include "editor/model/CLineUp.h"

#include "editor/model/CGameDatabase.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int32_t kTeam = 5;

class CLineUpTest : public ::testing::Test {
protected:
    CLineUpTest() { db.InsertTeam(CTeam(kTeam)); }

    CTeam& Team() { return *db.FindTeam(kTeam); }
    // A player linked at that position, jersey = player id % 100.
    void Link(int32_t player, int32_t position) {
        db.InsertPlayer(CPlayer(player));
        Team().AddOrUpdateLink({player % 100, player, position, kTeam});
    }
    // Goalkeeper 100 and ten outfield players 101-110 in places 3-12, bench 111-113.
    void LinkElevenAndThreeOnTheBench() {
        Link(100, 0);
        for (int i = 1; i <= 10; ++i)
            Link(100 + i, 2 + i);
        for (int i = 11; i <= 13; ++i)
            Link(100 + i, 32);
    }
    void Load() { lineUp.Load(db, Team()); }
    int SlotOf(int32_t player) const {
        const int index = lineUp.MarkerOfPlayer(player);
        return index < 0 ? -1 : lineUp.Markers()[static_cast<size_t>(index)].slot;
    }
    int32_t PositionOf(int32_t player) { return Team().FindLink(player)->formationPosition; }
    EDropOutcome DropPlayer(int32_t player, int target) {
        return lineUp.Drop(lineUp.MarkerOfPlayer(player), target);
    }
    EDropOutcome DropSetPiece(int setPieceSlot, int target) {
        return lineUp.Drop(lineUp.MarkerInSlot(setPieceSlot), target);
    }

    CGameDatabase db;
    CLineUp lineUp;
};

} // namespace

TEST(CLineUpGridTest, SlotsOwnTheirCellsOneToOne) {
    std::set<int> cells;
    for (int slot = 0; slot < CLineUp::kSlotCount; ++slot) {
        const int cell = CLineUp::CellOfSlot(slot);
        ASSERT_GE(cell, 0);
        ASSERT_LT(cell, 90);
        EXPECT_EQ(CLineUp::SlotOfCell(cell), slot);
        cells.insert(cell);
    }
    EXPECT_EQ(cells.size(), 60u);
    EXPECT_EQ(CLineUp::CellOfSlot(0), 73);
    EXPECT_EQ(CLineUp::CellOfSlot(2), 56); // right wing back on the right of the back line
    EXPECT_EQ(CLineUp::CellOfSlot(31), 2);
    EXPECT_EQ(CLineUp::CellOfSlot(36), 47);
    EXPECT_EQ(CLineUp::CellOfSlot(45), 88);
    EXPECT_EQ(CLineUp::CellOfSlot(54), 89);
    EXPECT_EQ(CLineUp::CellOfSlot(59), 84);
    EXPECT_EQ(CLineUp::SlotOfCell(0), -1); // top-left corner: no slot
    EXPECT_EQ(CLineUp::SlotOfCell(85), -1);
    EXPECT_EQ(CLineUp::SlotOfCell(90), -1);
    EXPECT_EQ(CLineUp::SlotOfCell(-1), -1);
    EXPECT_EQ(CLineUp::CellOfSlot(60), -1);

    EXPECT_EQ(CLineUp::PositionOfSlot(31), 31);
    EXPECT_EQ(CLineUp::PositionOfSlot(36), 32);
    EXPECT_EQ(CLineUp::PositionOfSlot(37), 33);
    EXPECT_EQ(CLineUp::PositionOfSlot(45), 33);
    EXPECT_EQ(CLineUp::PositionOfSlot(46), 34);
    EXPECT_EQ(CLineUp::TakerOfSlot(58), ETaker::RightCorner);
    EXPECT_EQ(CLineUp::TakerOfSlot(59), ETaker::Penalty);
    EXPECT_EQ(CLineUp::SlotOfTaker(ETaker::LeftCorner), 57);
}

TEST_F(CLineUpTest, LoadSpreadsTheBenchAndOverflowsIntoTheNextColumn) {
    Link(1, 0);
    for (int i = 0; i < 7; ++i)
        Link(10 + i, 32); // five substitutes, then two first-pick reserves
    for (int i = 0; i < 9; ++i)
        Link(20 + i, 33); // seven fit in the first-pick column, two overflow
    Link(30, 34);
    Link(31, 77); // no such position code: off the pitch
    Link(32, -4);
    Team().AddOrUpdateLink({9, 999, 5, kTeam}); // a link without a player
    Load();

    EXPECT_EQ(SlotOf(1), 0);
    EXPECT_EQ(SlotOf(10), 32);
    EXPECT_EQ(SlotOf(14), 36);
    EXPECT_EQ(SlotOf(15), 37);
    EXPECT_EQ(SlotOf(16), 38);
    EXPECT_EQ(SlotOf(20), 39);
    EXPECT_EQ(SlotOf(26), 45);
    EXPECT_EQ(SlotOf(27), 46);
    EXPECT_EQ(SlotOf(28), 47);
    EXPECT_EQ(SlotOf(30), 48);
    EXPECT_EQ(SlotOf(31), -1);
    EXPECT_EQ(SlotOf(32), -1);
    EXPECT_EQ(lineUp.MarkerOfPlayer(999), -1);
    EXPECT_EQ(lineUp.Markers()[1].jerseyNumber, 10);

    // Writing back untouched stores the overflow where it is shown and leaves the rest alone.
    EXPECT_FALSE(lineUp.WriteBack(Team()).IsEmpty());
    EXPECT_EQ(PositionOf(15), 33);
    EXPECT_EQ(PositionOf(27), 34);
    EXPECT_EQ(PositionOf(14), 32);
    EXPECT_EQ(PositionOf(31), 77);
    EXPECT_EQ(PositionOf(32), -4);
    EXPECT_EQ(PositionOf(999), 5);
}

TEST_F(CLineUpTest, SecondPickReservesBeyondTheNinthStayOffThePitchWithTheirLinks) {
    for (int i = 0; i < 12; ++i)
        Link(40 + i, 34);
    Team().SetTaker(ETaker::Captain, 40);
    Load();
    EXPECT_EQ(SlotOf(48), 54);
    EXPECT_EQ(SlotOf(49), -1);
    EXPECT_EQ(SlotOf(51), -1);
    // Nothing but the captain stands in the set-piece row.
    for (int slot = CLineUp::kFirstSetPieceSlot; slot < CLineUp::kSlotCount; ++slot) {
        const int index = lineUp.MarkerInSlot(slot);
        if (index >= 0) {
            EXPECT_TRUE(lineUp.Markers()[static_cast<size_t>(index)].IsSetPiece());
        }
    }
    Team().FindLink(50)->jerseyNumber = 61;
    EXPECT_TRUE(lineUp.WriteBack(Team()).IsEmpty());
    EXPECT_EQ(*Team().FindLink(50), (CTeamPlayerLink{61, 50, 34, kTeam}));
    EXPECT_EQ(Team().Taker(ETaker::Captain), 40);
}

TEST_F(CLineUpTest, SetPieceMarkersFollowThePlayersThatExist) {
    LinkElevenAndThreeOnTheBench();
    Team().SetTaker(ETaker::Captain, 105);
    Team().SetTaker(ETaker::FreeKick, 4242); // no such player
    Team().SetTaker(ETaker::Penalty, 110);
    Load();
    const auto& markers = lineUp.Markers();
    ASSERT_EQ(markers.size(), 16u);
    EXPECT_EQ(markers[14], (SLineUpMarker{105, 55, 0, 55}));
    EXPECT_EQ(markers[15], (SLineUpMarker{110, 59, 0, 59}));

    lineUp.WriteBack(Team());
    EXPECT_EQ(Team().Taker(ETaker::Captain), 105);
    EXPECT_EQ(Team().Taker(ETaker::FreeKick), 0); // the missing taker is cleared
    EXPECT_EQ(Team().Taker(ETaker::Penalty), 110);
}

TEST_F(CLineUpTest, BenchPlayersReachThePitchOnlyBelowElevenButAlwaysSwap) {
    LinkElevenAndThreeOnTheBench();
    Load();
    ASSERT_EQ(lineUp.PitchCount(), 11);
    EXPECT_EQ(DropPlayer(111, 27), EDropOutcome::Returned);
    EXPECT_EQ(SlotOf(111), 32);
    EXPECT_EQ(DropPlayer(111, 5), EDropOutcome::Swapped);
    EXPECT_EQ(SlotOf(111), 5);
    EXPECT_EQ(SlotOf(103), 32);
    // Along the bench and the reserve columns a player moves freely.
    EXPECT_EQ(DropPlayer(112, 50), EDropOutcome::Moved);
    EXPECT_EQ(SlotOf(112), 50);

    // A pitch player moves to an empty pitch slot but never off the pitch into an empty place.
    EXPECT_EQ(DropPlayer(104, 27), EDropOutcome::Moved);
    EXPECT_EQ(SlotOf(104), 27);
    EXPECT_EQ(DropPlayer(104, 40), EDropOutcome::Returned);
    EXPECT_EQ(SlotOf(104), 27);
    EXPECT_EQ(DropPlayer(105, 33), EDropOutcome::Returned); // 33 was left empty by 112
    EXPECT_EQ(lineUp.Drop(99, 3), EDropOutcome::Returned);

    EXPECT_FALSE(lineUp.WriteBack(Team()).IsEmpty());
    EXPECT_EQ(PositionOf(111), 5);
    EXPECT_EQ(PositionOf(103), 32);
    EXPECT_EQ(PositionOf(112), 34);
    EXPECT_EQ(PositionOf(104), 27);
}

TEST_F(CLineUpTest, GoalkeeperOnlySwapsAndBelowElevenTheBenchComesOn) {
    Link(100, 0);
    Link(101, 5);
    Link(111, 32);
    Link(112, 33);
    Load();
    EXPECT_EQ(DropPlayer(100, 1), EDropOutcome::Returned);
    EXPECT_EQ(DropPlayer(100, 34), EDropOutcome::Returned);
    EXPECT_EQ(SlotOf(100), 0);
    EXPECT_EQ(DropPlayer(100, 37), EDropOutcome::Swapped);
    EXPECT_EQ(SlotOf(100), 37);
    EXPECT_EQ(SlotOf(112), 0);
    EXPECT_EQ(DropPlayer(111, 20), EDropOutcome::Moved);
    EXPECT_EQ(lineUp.PitchCount(), 3);
    EXPECT_EQ(DropPlayer(101, -1), EDropOutcome::Returned);
    EXPECT_EQ(SlotOf(101), 5);
}

TEST_F(CLineUpTest, SetPiecesAreAssignedBothWaysAndNobodyMoves) {
    LinkElevenAndThreeOnTheBench();
    Team().SetTaker(ETaker::Captain, 100);
    Team().SetTaker(ETaker::FreeKick, 101);
    Load();
    // A player on the captain marker becomes captain and stays where he was.
    EXPECT_EQ(DropPlayer(107, 55), EDropOutcome::TakerChanged);
    EXPECT_EQ(SlotOf(107), 9);
    EXPECT_EQ(lineUp.Markers()[static_cast<size_t>(lineUp.MarkerInSlot(55))].playerId, 107);
    // On an empty set-piece slot the player becomes that taker too, never a marker there.
    EXPECT_EQ(DropPlayer(108, 58), EDropOutcome::TakerChanged);
    EXPECT_EQ(SlotOf(108), 10);
    // A set-piece marker dropped on a bench player makes him the taker and goes home.
    EXPECT_EQ(DropSetPiece(56, 33), EDropOutcome::TakerChanged);
    EXPECT_EQ(lineUp.Markers()[static_cast<size_t>(lineUp.MarkerInSlot(56))].slot, 56);
    EXPECT_EQ(SlotOf(112), 33);
    // Dropped where nobody stands, a set-piece marker keeps its taker.
    EXPECT_EQ(DropSetPiece(56, 84), EDropOutcome::Returned);
    EXPECT_EQ(DropSetPiece(56, 0), EDropOutcome::TakerChanged);

    EXPECT_TRUE(lineUp.WriteBack(Team()).IsEmpty());
    EXPECT_EQ(Team().Taker(ETaker::Captain), 107);
    EXPECT_EQ(Team().Taker(ETaker::FreeKick), 100);
    EXPECT_EQ(Team().Taker(ETaker::RightCorner), 108);
    EXPECT_EQ(Team().Taker(ETaker::LeftCorner), 0);
    EXPECT_EQ(PositionOf(107), 9);
}

TEST_F(CLineUpTest, TwoPlayersInOnePositionAreStackedNotHidden) {
    LinkElevenAndThreeOnTheBench();
    Team().FindLink(111)->formationPosition = 5; // shares 103's place
    Load();
    const int first = lineUp.MarkerOfPlayer(103);
    const int second = lineUp.MarkerOfPlayer(111);
    EXPECT_EQ(lineUp.StackLevel(first), 0);
    EXPECT_EQ(lineUp.StackLevel(second), 1);
    EXPECT_EQ(lineUp.StackLevel(lineUp.MarkerOfPlayer(104)), 0);
    EXPECT_EQ(lineUp.PitchCount(), 12);
    // Either of the two can be moved away to mend it; dropping on the slot swaps with the first.
    EXPECT_EQ(DropPlayer(111, 1), EDropOutcome::Moved);
    EXPECT_EQ(lineUp.StackLevel(first), 0);
    EXPECT_EQ(DropPlayer(111, 5), EDropOutcome::Swapped);
    EXPECT_EQ(SlotOf(103), 1);
}
