#include "editor/model/CDatabaseCopy.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "tools/CSampleGenerator.h"

#include <gtest/gtest.h>

namespace {

class CDatabaseCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        CSampleGenerator::BuildGame(db, 8);
        CSampleGenerator::BuildGame(same, 8);
        CSampleGenerator::BuildGame(other, 9);
        teamId = other.Teams().begin()->first;
    }

    CGameDatabase db, same, other;
    int32_t teamId = 0;
};

} // namespace

TEST_F(CDatabaseCopyTest, ATeamComesWithKitsNamesAndSquadUnderFreeIds) {
    const CTeam& source = *other.FindTeam(teamId);
    const int32_t league = db.Leagues().begin()->first;
    const auto result = CDatabaseCopy::CopyTeam(db, other, teamId, league, true);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_GT(result.teamId, teamId); // the id is taken here
    const CTeam& copy = *db.FindTeam(result.teamId);
    EXPECT_EQ(copy.Name(), source.Name());
    EXPECT_EQ(copy.FindKit(0) != nullptr, source.FindKit(0) != nullptr);
    if (copy.FindKit(0)) {
        EXPECT_EQ(copy.FindKit(0)->TeamId(), result.teamId);
    }
    ASSERT_EQ(copy.Links().size(), source.Links().size());
    ASSERT_EQ(result.players.size(), source.Links().size());
    for (size_t i = 0; i < source.Links().size(); ++i) {
        const auto& [there, here] = result.players[i];
        const CTeamPlayerLink& link = copy.Links()[i];
        EXPECT_EQ(link.playerId, here);
        EXPECT_EQ(link.jerseyNumber, source.Links()[i].jerseyNumber);
        EXPECT_EQ(link.formationPosition, source.Links()[i].formationPosition);
        EXPECT_EQ(db.FindPlayer(here)->LastName(), other.FindPlayer(there)->LastName());
        EXPECT_EQ(db.FindPlayer(here)->Teams(), std::vector<int32_t>{result.teamId});
    }
    const int32_t captain = source.Taker(ETaker::Captain);
    if (captain != 0) {
        EXPECT_NE(copy.FindLink(copy.Taker(ETaker::Captain)), nullptr);
    }
    EXPECT_EQ(db.TeamsOfLeague(league).back(), result.teamId);

    // Taken back as one step, nothing of the copy is left.
    result.before.Restore(db);
    EXPECT_EQ(CFieldDiff::Lines(CFieldDiff::Compare(same, db)), "");
    result.after.Restore(db);
    EXPECT_EQ(db.FindTeam(result.teamId)->Name(), source.Name());
}

TEST_F(CDatabaseCopyTest, PlayersAlreadyHereWithTheSameFieldsAreUsedNotCopied) {
    const auto result = CDatabaseCopy::CopyTeam(db, same, teamId, std::nullopt, true);
    ASSERT_TRUE(result.ok);
    for (const auto& [there, here] : result.players)
        EXPECT_EQ(there, here);
    EXPECT_EQ(db.Players().size(), same.Players().size());

    const int32_t playerId = same.Players().begin()->first;
    auto player = CDatabaseCopy::CopyPlayer(db, same, playerId, std::nullopt);
    EXPECT_EQ(player.playerId, playerId);
    player = CDatabaseCopy::CopyPlayer(db, other, playerId, teamId);
    ASSERT_TRUE(player.ok);
    EXPECT_GT(player.playerId, CGameDatabase::kFirstNewPlayerId);
    EXPECT_NE(db.FindTeam(teamId)->FindLink(player.playerId), nullptr);
}

TEST_F(CDatabaseCopyTest, WithoutPlayersTheSquadAndTakersStayBehind) {
    const auto result = CDatabaseCopy::CopyTeam(db, other, teamId, std::nullopt, false);
    ASSERT_TRUE(result.ok);
    const CTeam& copy = *db.FindTeam(result.teamId);
    EXPECT_TRUE(copy.Links().empty());
    for (int k = 0; k < CTeam::kTakerCount; ++k)
        EXPECT_EQ(copy.Taker(static_cast<ETaker>(k)), 0);
    EXPECT_TRUE(copy.Leagues().empty());
}

TEST_F(CDatabaseCopyTest, UnknownRecordsAreRefused) {
    EXPECT_FALSE(CDatabaseCopy::CopyTeam(db, other, 99999999, std::nullopt, true).ok);
    EXPECT_FALSE(CDatabaseCopy::CopyTeam(db, other, teamId, 99999, true).ok);
    EXPECT_FALSE(CDatabaseCopy::CopyPlayer(db, other, 99999999, std::nullopt).ok);
    EXPECT_FALSE(CDatabaseCopy::CopyPlayer(db, other, other.Players().begin()->first, 99999).ok);
    EXPECT_EQ(CFieldDiff::Lines(CFieldDiff::Compare(same, db)), "");
}
