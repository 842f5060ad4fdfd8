#include "editor/model/CFormationTemplates.h"

#include <gtest/gtest.h>

#include <set>

namespace {

CTeam TeamWithLinks(int count) {
    CTeam team(7);
    for (int i = 0; i < count; ++i)
        team.AddOrUpdateLink({i + 1, 100 + i, 32, 7});
    return team;
}

} // namespace

TEST(CFormationTemplatesTest, EveryTemplateIsAGoalkeeperAndTenDistinctPitchPlaces) {
    for (int entry = 0; entry < CFormationTemplates::kTemplateCount; ++entry) {
        const auto positions = CFormationTemplates::Template(entry);
        ASSERT_TRUE(positions) << entry;
        EXPECT_EQ((*positions)[0], 0) << entry;
        std::set<int32_t> distinct(positions->begin(), positions->end());
        EXPECT_EQ(distinct.size(), 11u) << entry;
        EXPECT_GE(*distinct.begin(), 0) << entry;
        EXPECT_LT(*distinct.rbegin(), 32) << entry;
    }
    // Spot checks against the game's table: first, a middle one, both rare shapes, last.
    EXPECT_EQ(*CFormationTemplates::Template(0),
              (CFormationTemplates::Positions{0, 3, 5, 7, 14, 22, 23, 24, 20, 29, 31}));
    EXPECT_EQ(*CFormationTemplates::Template(25),
              (CFormationTemplates::Positions{0, 1, 4, 6, 9, 13, 16, 17, 18, 23, 27}));
    EXPECT_EQ(*CFormationTemplates::Template(47),
              (CFormationTemplates::Positions{0, 4, 5, 6, 9, 13, 17, 22, 24, 27, 30}));
    EXPECT_EQ(*CFormationTemplates::Template(48),
              (CFormationTemplates::Positions{0, 1, 3, 4, 6, 7, 10, 12, 15, 19, 27}));
    EXPECT_FALSE(CFormationTemplates::Template(-1));
    EXPECT_FALSE(CFormationTemplates::Template(49));
}

TEST(CFormationTemplatesTest, ApplyGivesTheFirstElevenRowsTheirPlacesAsOneUndoableStep) {
    CTeam team = TeamWithLinks(14);
    team.SetValue(ETeamColumn::FormationId, 3);
    team.FindLink(100)->formationPosition = 0; // already in goal: not a change
    // Rows in list order, not link order; row 12 onwards is beyond the first eleven.
    std::vector<int32_t> rows{100, 112, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111};
    const CTeam before = team;

    const CPositionStep step = CFormationTemplates::Apply(team, 1, 905, rows);
    const CTeam after = team;

    EXPECT_EQ(team.Value(ETeamColumn::FormationId), 905);
    const auto positions = *CFormationTemplates::Template(1);
    for (size_t row = 0; row < 11; ++row)
        EXPECT_EQ(team.FindLink(rows[row])->formationPosition, positions[row]) << row;
    EXPECT_EQ(team.FindLink(110)->formationPosition, 32);
    EXPECT_EQ(team.FindLink(111)->formationPosition, 32);
    EXPECT_EQ(team.FindLink(113)->formationPosition, 32);
    ASSERT_EQ(step.Changes().size(), 10u);
    EXPECT_EQ(step.Changes()[0], (CPositionStep::SChange{112, 32, 3}));

    step.Undo(team);
    EXPECT_EQ(team.Links(), before.Links());
    step.Redo(team);
    EXPECT_EQ(team.Links(), after.Links());
    // A player the squad list moved since keeps his new place through an undo.
    team.FindLink(112)->formationPosition = 33;
    step.Undo(team);
    EXPECT_EQ(team.FindLink(112)->formationPosition, 33);
    EXPECT_EQ(team.FindLink(101)->formationPosition, 32);
    step.Redo(team);
    EXPECT_EQ(team.FindLink(112)->formationPosition, 33);
    EXPECT_EQ(team.FindLink(101)->formationPosition, 5);
}

TEST(CFormationTemplatesTest, ShortListsUnlinkedRowsAndUnknownEntriesChangeOnlyWhatTheyMay) {
    CTeam team = TeamWithLinks(4);
    // Player 555 has no link to this team: his row is skipped, the next row keeps its place.
    std::vector<int32_t> rows{100, 555, 101, 102, 103};
    EXPECT_EQ(CFormationTemplates::Apply(team, 0, 10, rows).Changes().size(), 4u);
    EXPECT_EQ(team.FindLink(100)->formationPosition, 0);
    EXPECT_EQ(team.FindLink(101)->formationPosition, 5);
    EXPECT_EQ(team.FindLink(103)->formationPosition, 14);
    EXPECT_EQ(team.Links().size(), 4u);

    const CTeam before = team;
    EXPECT_TRUE(CFormationTemplates::Apply(team, 49, 77, rows).IsEmpty());
    EXPECT_EQ(team.Value(ETeamColumn::FormationId), 77);
    EXPECT_EQ(team.Links(), before.Links());
    EXPECT_TRUE(CFormationTemplates::Apply(team, -3, 78, {}).IsEmpty());
    EXPECT_EQ(team.Value(ETeamColumn::FormationId), 78);
}
