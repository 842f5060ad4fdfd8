#include "editor/model/CDiffFields.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "tools/CSampleGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>

namespace {

using EType = SRecordChange::EType;

class CFieldDiffTest : public ::testing::Test {
protected:
    void SetUp() override {
        CSampleGenerator::BuildGame(a, 7);
        CSampleGenerator::BuildGame(b, 7);
    }
    int32_t FirstTeamWithSquad() const {
        for (const auto& [id, team] : b.Teams())
            if (team.Links().size() > 2 && team.FindKit(0))
                return id;
        return -1;
    }

    CGameDatabase a;
    CGameDatabase b;
};

} // namespace

TEST_F(CFieldDiffTest, IdenticalDatabasesHaveNoDifferences) {
    EXPECT_TRUE(CFieldDiff::Compare(a, b).empty());
    EXPECT_EQ(CFieldDiff::Lines(CFieldDiff::Compare(a, b)), "");
}

TEST_F(CFieldDiffTest, EveryKindOfChangeShowsUpExactlyOnce) {
    const int32_t teamId = FirstTeamWithSquad();
    ASSERT_GT(teamId, 0);
    CTeam& team = *b.FindTeam(teamId);
    const int32_t playerId = team.Links()[0].playerId;
    const int32_t movedId = team.Links()[1].playerId;
    CPlayer& player = *b.FindPlayer(playerId);
    player.SetValue(EPlayerColumn::Pace, player.Value(EPlayerColumn::Pace) == 50 ? 51 : 50);
    player.SetLastName("Changed\tName");
    team.SetName("Renamed FC");
    team.SetRivals({});
    CTeamKit kit = *team.FindKit(0);
    kit.SetValue(EKitColumn::JerseyType, kit.Value(EKitColumn::JerseyType) == 1 ? 2 : 1);
    team.SetKit(0, kit);
    team.FindLink(movedId)->jerseyNumber = 98;
    const int32_t added = b.NewPlayer(-1);
    const int32_t leagueId = a.Leagues().begin()->first;
    std::vector<int32_t> leagueTeams = b.TeamsOfLeague(leagueId);
    leagueTeams.pop_back();
    b.SetLeagueTeams(leagueId, leagueTeams);
    CStadium stadium = b.Stadiums().begin()->second;
    stadium.id = 777777;
    b.InsertStadium(stadium);

    const auto changes = CFieldDiff::Compare(a, b);
    std::map<std::string, int> seen;
    for (const SRecordChange& change : changes)
        for (const SFieldChange& f : change.fields)
            ++seen[std::string(CDiffFields::KindName(change.kind)) + " " +
                   CDiffFields::IdText(change.kind, change.id, change.sub) + " " +
                   (change.type == EType::Changed ? f.field
                    : change.type == EType::Added ? "+"
                                                  : "-")];
    const std::string p = std::to_string(playerId), t = std::to_string(teamId);
    EXPECT_EQ(seen["player " + p + " pace"], 1);
    EXPECT_EQ(seen["player " + p + " last_name"], 1);
    EXPECT_EQ(seen["team " + t + " team_name"], 1);
    EXPECT_EQ(seen["kit " + t + ":0 jersey_type"], 1);
    EXPECT_EQ(seen["squad " + t + ":" + std::to_string(movedId) + " jersey_number"], 1);
    EXPECT_EQ(seen["league " + std::to_string(leagueId) + " teams"], 1);
    EXPECT_GT(seen["player " + std::to_string(added) + " +"], 1); // one entry per field
    EXPECT_GT(seen["stadium 777777 +"], 1);
    const bool hadRivals = !a.FindTeam(teamId)->Rivals().empty();
    EXPECT_EQ(seen["team " + t + " rivals"], hadRivals ? 1 : 0);
    EXPECT_EQ(seen.size(), 8u + (hadRivals ? 1 : 0));

    // Sorted by kind, then id; the lines carry + for a whole added record and escape tabs.
    for (size_t i = 1; i < changes.size(); ++i)
        EXPECT_LE(std::tie(changes[i - 1].kind, changes[i - 1].id, changes[i - 1].sub),
                  std::tie(changes[i].kind, changes[i].id, changes[i].sub));
    const std::string lines = CFieldDiff::Lines(changes);
    EXPECT_NE(lines.find("player\t" + std::to_string(added) + "\t+\t\t\n"), std::string::npos);
    EXPECT_NE(lines.find("\tlast_name\t" + a.FindPlayer(playerId)->LastName() + "\tChanged\\tName\n"),
              std::string::npos);
    EXPECT_NE(lines.find("team\t" + t + "\tteam_name\t" + a.FindTeam(teamId)->Name() +
                         "\tRenamed FC\n"),
              std::string::npos);
}

TEST_F(CFieldDiffTest, RemovedTeamsCarryTheirKitsAndSquadPlacesWithOldValues) {
    const int32_t teamId = FirstTeamWithSquad();
    const size_t squad = b.FindTeam(teamId)->Links().size();
    b.EraseTeam(teamId);
    const auto changes = CFieldDiff::Compare(a, b);
    size_t removedLinks = 0, removedTeams = 0;
    for (const SRecordChange& change : changes) {
        EXPECT_EQ(change.type, EType::Removed);
        removedLinks += change.kind == ERecordKind::Squad ? 1 : 0;
        removedTeams += change.kind == ERecordKind::Team ? 1 : 0;
        for (const SFieldChange& f : change.fields)
            EXPECT_TRUE(f.newValue.empty());
    }
    EXPECT_EQ(removedLinks, squad);
    EXPECT_EQ(removedTeams, 1u);
}

namespace {

template <typename M> int32_t Middle(const M& records) {
    return std::next(records.begin(), static_cast<std::ptrdiff_t>(records.size() / 2))->first;
}

} // namespace

// The comparison of named records is the whole comparison's part for them (with every
// formation and stadium), whatever side the records are on.
TEST_F(CFieldDiffTest, NamedRecordsCompareAsInTheWholeComparison) {
    CGameDatabase other;
    CSampleGenerator::BuildGame(other, 8);
    CFieldDiff::SNamed named;
    for (const CGameDatabase* db : {&a, &other}) {
        named.players.push_back(db->Players().begin()->first);
        named.players.push_back(Middle(db->Players()));
        named.teams.push_back(db->Teams().begin()->first);
        named.teams.push_back(Middle(db->Teams()));
        named.leagues.push_back(Middle(db->Leagues()));
    }
    // Records neither side has are nothing to list.
    named.players.push_back(-5);
    named.teams.push_back(-5);
    for (auto* ids : {&named.players, &named.teams, &named.leagues}) {
        std::sort(ids->begin(), ids->end());
        ids->erase(std::unique(ids->begin(), ids->end()), ids->end());
    }
    const auto has = [](const std::vector<int32_t>& ids, int32_t id) {
        return std::binary_search(ids.begin(), ids.end(), id);
    };
    std::vector<SRecordChange> expected;
    for (const SRecordChange& change : CFieldDiff::Compare(a, other)) {
        const bool wanted =
            change.kind == ERecordKind::Formation || change.kind == ERecordKind::Stadium ||
            (change.kind == ERecordKind::Player && has(named.players, change.id)) ||
            (change.kind == ERecordKind::League && has(named.leagues, change.id)) ||
            ((change.kind == ERecordKind::Team || change.kind == ERecordKind::Kit ||
              change.kind == ERecordKind::Squad) &&
             has(named.teams, change.id));
        if (wanted)
            expected.push_back(change);
    }
    ASSERT_GT(expected.size(), 6u);
    EXPECT_EQ(CFieldDiff::CompareNamed(a, other, CDiffFields(other.Catalogue()), named), expected);
}
