#include "editor/model/CPlayer.h"

#include <gtest/gtest.h>

namespace {

using C = EPlayerColumn;

CPlayer Keeper(int32_t preferred) {
    CPlayer player(1);
    for (C c : {C::Awareness, C::Determination, C::Rushing, C::Handling, C::Punching, C::Aggression,
                C::Reflexes, C::Anticipation, C::Throwing, C::Jumping, C::Strength})
        player.SetValue(c, 60);
    player.SetValue(C::PreferredPosition1, preferred);
    return player;
}

} // namespace

TEST(CPlayerTest, OverallRatingFollowsThePositionOfChoice) {
    CPlayer keeper = Keeper(0);
    EXPECT_EQ(keeper.ComputeOverall(), 60);
    EXPECT_EQ(keeper.OverallRating(), 60);
    keeper.SetValue(C::Reflexes, 71); // the rating follows every change
    EXPECT_EQ(keeper.OverallRating(), (60 * 10 + 71) / 11);
    // Determination, aggression, jumping and strength count for defenders too.
    CPlayer defender = Keeper(5);
    EXPECT_EQ(defender.ComputeOverall(), 60 * 4 / 11);

    CPlayer midfielder(2);
    for (int c = 0; c < CPlayer::kColumnCount; ++c)
        if (CPlayer::Columns()[c].kind == EFieldKind::UInt8)
            midfielder.SetColumnValue(c, 70);
    midfielder.SetValue(C::PreferredPosition1, 17);
    EXPECT_EQ(midfielder.ComputeOverall(), 70);
    midfielder.SetValue(C::Passing, 0);
    EXPECT_EQ(midfielder.ComputeOverall(), 70 * 13 / 14);

    // No position of choice: rated as an attacker, grouped with the defenders.
    CPlayer unset = midfielder;
    unset.SetValue(C::PreferredPosition1, -1);
    EXPECT_EQ(unset.ComputeOverall(), 70);
    EXPECT_EQ(unset.PositionGroup(), 1);
    unset.SetValue(C::Heading, 0);
    EXPECT_EQ(unset.ComputeOverall(), 70 * 13 / 14);
}

TEST(CPlayerTest, PositionGroupBoundaries) {
    CPlayer player;
    const std::pair<int, int> cases[] = {{0, 0},  {1, 1},  {8, 1},  {9, 2},  {25, 2},
                                         {26, 3}, {31, 3}, {32, 4}, {34, 4}, {-5, 1}};
    for (auto [position, group] : cases) {
        player.SetValue(C::PreferredPosition1, position);
        EXPECT_EQ(player.PositionGroup(), group) << position;
    }
}

TEST(CPlayerTest, ValuesKeepTheWidthOfTheirField) {
    CPlayer player;
    player.SetValue(C::Pace, 300);
    EXPECT_EQ(player.Value(C::Pace), 300 & 0xFF);
    player.SetValue(C::Pace, -1);
    EXPECT_EQ(player.Value(C::Pace), 255);
    player.SetValue(C::Calm, 7);
    EXPECT_EQ(player.Value(C::Calm), 1);
    player.SetValue(C::Calm, -1);
    EXPECT_EQ(player.Value(C::Calm), 1);
    player.SetValue(C::Height, -1);
    EXPECT_EQ(player.Value(C::Height), -1);
    player.SetColumnValue(71, 5); // past the last column: ignored
    player.SetColumnValue(-1, 5);
    EXPECT_EQ(CPlayer::ColumnOfName("ball_control"), static_cast<int>(C::BallControl));
    EXPECT_EQ(CPlayer::ColumnOfName("work_rate"), 70);
    EXPECT_EQ(CPlayer::ColumnOfName("nope"), -1);
}

TEST(CPlayerTest, BirthDayNumbersAndDates) {
    EXPECT_EQ(CDate::FromDayNumber(0), CDate(1582, 10, 14));
    EXPECT_EQ(CDate::FromDayNumber(1), CDate(1582, 10, 15));
    EXPECT_EQ(CDate::FromDayNumber(150000), CDate(1993, 6, 21));
    int32_t day = 0;
    ASSERT_TRUE(CDate(1980, 1, 1).ToDayNumber(day));
    EXPECT_EQ(day, 145080);
    ASSERT_TRUE(CDate(2000, 2, 29).ToDayNumber(day));
    EXPECT_EQ(CDate::FromDayNumber(day), CDate(2000, 2, 29));
    EXPECT_FALSE(CDate(1900, 2, 29).ToDayNumber(day));
    EXPECT_FALSE(CDate(1990, 13, 1).ToDayNumber(day));
    EXPECT_FALSE(CDate(1990, 4, 31).ToDayNumber(day));
    for (int32_t d : {-1000000, -1, 59, 100000, 145080, 2000000})
        ASSERT_TRUE(CDate::FromDayNumber(d).ToDayNumber(day) && day == d) << d;
    // The extremes of the column still give a date, never a crash.
    EXPECT_TRUE(CDate::FromDayNumber(INT32_MIN).IsValid());
    EXPECT_TRUE(CDate::FromDayNumber(INT32_MAX).IsValid());

    CPlayer player;
    ASSERT_TRUE(player.SetBirthDate(CDate(1993, 6, 21)));
    EXPECT_EQ(player.Value(C::BirthDayNumber), 150000);
    EXPECT_FALSE(player.SetBirthDate(CDate(1993, 2, 30)));
    EXPECT_EQ(player.Value(C::BirthDayNumber), 150000);
}

TEST(CPlayerTest, TeamListHasNoRepeatsAndComparisonSeesEveryField) {
    CPlayer player(3);
    EXPECT_TRUE(player.AddTeam(10));
    EXPECT_FALSE(player.AddTeam(10));
    EXPECT_TRUE(player.AddTeam(11));
    player.RemoveTeam(10);
    EXPECT_EQ(player.Teams(), std::vector<int32_t>{11});

    CPlayer copy = player;
    EXPECT_EQ(copy, player);
    copy.SetCommonName("X");
    EXPECT_NE(copy, player);
    copy = player;
    copy.SetValue(C::Talent, 3);
    EXPECT_NE(copy, player);
}

TEST(CPlayerTest, TakeChangesSinceCopiesOnlyWhatChanged) {
    CPlayer base(5);
    base.SetLastName("Base");
    base.SetValue(EPlayerColumn::Pace, 60);
    base.SetValue(EPlayerColumn::Stamina, 70);
    base.AddTeam(3);
    CPlayer changed = base;
    changed.SetValue(EPlayerColumn::Pace, 40);
    changed.SetCommonName("Changed");
    changed.AddTeam(4);
    // An older snapshot with its own stamina and last name keeps them.
    CPlayer older = base;
    older.SetValue(EPlayerColumn::Stamina, 50);
    older.SetValue(EPlayerColumn::Pace, 55);
    older.SetLastName("Older");
    older.TakeChangesSince(base, changed);
    EXPECT_EQ(older.Value(EPlayerColumn::Pace), 40);
    EXPECT_EQ(older.CommonName(), "Changed");
    EXPECT_EQ(older.Value(EPlayerColumn::Stamina), 50);
    EXPECT_EQ(older.LastName(), "Older");
    EXPECT_EQ(older.Teams(), std::vector<int32_t>{3});
}
