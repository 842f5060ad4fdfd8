#include "editor/model/CSquadStep.h"

#include "editor/model/CGameDatabase.h"

#include <gtest/gtest.h>

namespace {

using Links = CSquadStep::Links;
constexpr int32_t kTeam = 7;

CTeamPlayerLink L(int32_t player, int32_t position, int32_t jersey) {
    return {jersey, player, position, kTeam};
}

} // namespace

TEST(CSquadStep, AddedPlayerGoesAndComesBackOverLaterMoves) {
    const Links before{L(1, 0, 1), L(2, 5, 2), L(3, 32, 3)};
    Links after = before;
    after.push_back(L(4, 32, 4));
    const CSquadStep step(before, after);
    // Since the step, players 2 and 3 swapped places in the team window.
    const Links edited{L(1, 0, 1), L(2, 32, 2), L(3, 5, 3), L(4, 32, 4)};
    const Links undone = step.Undo(edited);
    EXPECT_EQ(undone, (Links{L(1, 0, 1), L(2, 32, 2), L(3, 5, 3)}));
    EXPECT_EQ(step.Redo(undone), edited);
    // Nothing edited in between: exactly the states the step saw.
    EXPECT_EQ(step.Undo(after), before);
    EXPECT_EQ(step.Redo(before), after);
}

TEST(CSquadStep, RemovedPlayerReturnsToHisPlaceInOrderOrToTheBench) {
    const Links before{L(1, 0, 1), L(2, 5, 2), L(3, 6, 3), L(4, 32, 4)};
    const Links after{L(1, 0, 1), L(3, 6, 3), L(4, 32, 4)};
    const CSquadStep step(before, after);
    EXPECT_EQ(step.Undo(after), before);
    // His place on the pitch was given to player 4 since: he sits on the bench instead, and
    // no place holds two players.
    const Links edited{L(1, 0, 1), L(3, 6, 3), L(4, 5, 4)};
    EXPECT_EQ(step.Undo(edited), (Links{L(1, 0, 1), L(2, 32, 2), L(3, 6, 3), L(4, 5, 4)}));
    // Player 3 is gone since: player 2 still returns after the link before him.
    EXPECT_EQ(step.Undo(Links{L(1, 0, 1), L(4, 32, 4)}),
              (Links{L(1, 0, 1), L(2, 5, 2), L(4, 32, 4)}));
}

TEST(CSquadStep, FieldsTheStepChangedReturnOnlyWhereNothingChangedThemSince) {
    // A step that gave new numbers and moved a substitute onto the pitch.
    const Links before{L(1, 0, 1), L(2, 32, 12), L(3, 33, 13)};
    const Links after{L(1, 0, 9), L(2, 4, 12), L(3, 33, 10)};
    const CSquadStep step(before, after);
    // Since then player 1's number and player 2's place were edited again.
    const Links edited{L(1, 0, 20), L(2, 7, 12), L(3, 33, 10)};
    EXPECT_EQ(step.Undo(edited), (Links{L(1, 0, 20), L(2, 7, 12), L(3, 33, 13)}));
}

TEST(CSquadStep, MoveOutOfATeamWithTheVacantPlaceFilledIsTakenBackWhole) {
    CGameDatabase db;
    CTeam& team = db.InsertTeam(CTeam(kTeam));
    for (int32_t id : {1, 2, 3}) {
        CPlayer player(id);
        player.SetValue(EPlayerColumn::PreferredPosition1, id == 3 ? 5 : 0);
        db.InsertPlayer(player);
    }
    ASSERT_TRUE(db.AddPlayerToTeam(1, kTeam, 0, 1));
    ASSERT_TRUE(db.AddPlayerToTeam(2, kTeam, 5, 2));
    ASSERT_TRUE(db.AddPlayerToTeam(3, kTeam, 32, 3));
    const Links before = team.Links();
    // Player 2 leaves; the substitute who prefers his place fills it.
    db.RemovePlayerFromTeam(2, kTeam);
    ASSERT_EQ(db.FindTeamPlayerLink(3, kTeam)->formationPosition, 5);
    const CSquadStep step(before, team.Links());
    team.SetLinks(step.Undo(team.Links()));
    EXPECT_EQ(team.Links(), before);
}
