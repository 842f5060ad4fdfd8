#include "editor/model/CTeam.h"
#include "editor/model/CColourTable.h"

#include <gtest/gtest.h>

TEST(CTeamTest, KitSlotsTakeTypesZeroToTen) {
    CTeam team(7);
    CTeamKit kit;
    kit.SetValue(EKitColumn::JerseyColour1, 4);
    EXPECT_TRUE(team.SetKit(0, kit));
    EXPECT_TRUE(team.SetKit(10, kit));
    EXPECT_FALSE(team.SetKit(11, kit));
    EXPECT_FALSE(team.SetKit(-1, kit));
    EXPECT_EQ(team.FindKit(11), nullptr);
    ASSERT_NE(team.FindKit(10), nullptr);
    EXPECT_EQ(team.FindKit(10)->KitType(), 10);
    kit.SetValue(EKitColumn::JerseyColour1, 9);
    team.SetKit(0, kit);
    EXPECT_EQ(team.FindKit(0)->Value(EKitColumn::JerseyColour1), 9);
    team.ClearKit(0);
    EXPECT_EQ(team.FindKit(0), nullptr);
}

TEST(CTeamTest, KitFloatsKeepTheirBits) {
    CTeamKit kit;
    kit.SetShortsNumberXBits(0x7FC00001u); // a NaN with a payload
    kit.SetShortsNumberY(0.125f);
    EXPECT_EQ(kit.ShortsNumberXBits(), 0x7FC00001u);
    EXPECT_EQ(kit.ShortsNumberY(), 0.125f);
    kit.SetValue(EKitColumn::WetKit, 257);
    EXPECT_EQ(kit.Value(EKitColumn::WetKit), 1);
}

TEST(CTeamTest, LinksAreOnePerPlayerAndBelongToTheTeam) {
    CTeam team(5);
    EXPECT_TRUE(team.AddOrUpdateLink({7, 100, 32, 999}));
    EXPECT_EQ(team.Links()[0].teamId, 5);
    EXPECT_TRUE(team.AddOrUpdateLink({8, 101, 33, 5}));
    EXPECT_FALSE(team.AddOrUpdateLink({9, 100, 4, 5}));
    ASSERT_EQ(team.Links().size(), 2u);
    EXPECT_EQ(team.Links()[0], (CTeamPlayerLink{9, 100, 4, 5}));
    const auto removed = team.RemoveLink(100);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->formationPosition, 4);
    EXPECT_FALSE(team.RemoveLink(100));
    EXPECT_EQ(team.Links().size(), 1u);

    team.SetId(6);
    EXPECT_EQ(team.Links()[0].teamId, 6);
}

TEST(CTeamTest, LeaguesWithoutRepeatsRivalsWithRepeats) {
    CTeam team(1);
    EXPECT_TRUE(team.AddLeague(3));
    EXPECT_FALSE(team.AddLeague(3));
    team.AddRival(9);
    team.AddRival(9);
    EXPECT_EQ(team.Leagues().size(), 1u);
    EXPECT_EQ(team.Rivals(), (std::vector<int32_t>{9, 9}));
}

TEST(CTeamTest, CopiesAreDeepAndKeepRecordNames) {
    CTeam team(2);
    team.SetRecordName(0, "ab");
    team.SetRecordName(1, "Second name");
    team.SetRecordName(2, "x");
    team.SetName("Name");
    team.SetKit(1, CTeamKit());
    team.AddOrUpdateLink({1, 1, 0, 2});
    CTeam copy = team;
    EXPECT_EQ(copy, team);
    EXPECT_EQ(copy.RecordName(0), "ab");
    EXPECT_EQ(copy.RecordName(1), "Second name");
    copy.FindKit(1)->SetValue(EKitColumn::KitFont, 3);
    copy.FindLink(1)->jerseyNumber = 5;
    EXPECT_EQ(team.FindKit(1)->Value(EKitColumn::KitFont), 0);
    EXPECT_EQ(team.FindLink(1)->jerseyNumber, 1);
}

TEST(CColourTableTest, LookupsOutsideTheTableAreBlackOrNone) {
    CColourTable colours;
    colours.Append(CColourTable::FromColumns(0x12, 0x34, 0x56));
    colours.Append(0xFFFFFF);
    EXPECT_EQ(colours.ColourOfIndex(0), 0x123456u);
    EXPECT_EQ(colours.ColourOfIndex(-1), 0u);
    EXPECT_EQ(colours.ColourOfIndex(2), 0u);
    EXPECT_EQ(colours.IndexOfColour(0xFFFFFF), 1);
    EXPECT_EQ(colours.IndexOfColour(0x010101), -1);
    int32_t c0 = 0, c1 = 0, c2 = 0;
    CColourTable::ToColumns(0x123456, c0, c1, c2);
    EXPECT_EQ(c0, 0x12);
    EXPECT_EQ(c1, 0x34);
    EXPECT_EQ(c2, 0x56);
}
