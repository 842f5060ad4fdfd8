#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CDiffFields.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPatch.h"
#include "editor/model/CPatchApply.h"
#include "tools/CSampleGenerator.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using EResolve = CPatchApply::EResolve;

std::vector<int32_t> Ids(const auto& map) {
    std::vector<int32_t> ids;
    for (const auto& [id, record] : map)
        ids.push_back(id);
    return ids;
}

// Random edits a user could make, each leaving the database as sound as it was: values copied
// from other records of the same kind, names, swaps inside squads, added and removed records.
class CRandomEdits {
public:
    CRandomEdits(CGameDatabase& db, uint32_t seed) : m_db(db), m_random(seed) {}

    void Run(int count) {
        for (int i = 0; i < count; ++i)
            One();
    }

private:
    int32_t Pick(const std::vector<int32_t>& ids) {
        return ids[std::uniform_int_distribution<size_t>(0, ids.size() - 1)(m_random)];
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    std::string Name() { return "Name " + std::to_string(Below(100000)) + " Ü"; }

    void One() {
        CGameDatabase& db = m_db;
        const auto players = Ids(db.Players());
        const auto teams = Ids(db.Teams());
        switch (Below(12)) {
        case 0: { // a player's column from another player
            CPlayer& p = *db.FindPlayer(Pick(players));
            const int c = Below(CPlayer::kColumnCount);
            p.SetStoredValue(c, db.FindPlayer(Pick(players))->ColumnValue(c));
            break;
        }
        case 1:
            db.FindPlayer(Pick(players))->SetLastName(Name());
            break;
        case 2: { // a team's column from another team (takers stay: they must be in the squad)
            CTeam& t = *db.FindTeam(Pick(teams));
            const int c = Below(CTeam::kColumnCount);
            t.SetColumnValue(c, db.FindTeam(Pick(teams))->ColumnValue(c));
            break;
        }
        case 3:
            db.FindTeam(Pick(teams))->SetName(Name());
            break;
        case 4: { // rivals
            const int32_t id = Pick(teams);
            int32_t rival = Pick(teams);
            db.FindTeam(id)->SetRivals(rival == id ? std::vector<int32_t>{} : std::vector{rival});
            break;
        }
        case 5: { // a kit's column from another kit
            CTeam& t = *db.FindTeam(Pick(teams));
            const CTeam& other = *db.FindTeam(Pick(teams));
            const int slot = Below(2);
            if (!t.FindKit(slot) || !other.FindKit(slot))
                break;
            CTeamKit kit = *t.FindKit(slot);
            const int c = Below(CTeamKit::kColumnCount);
            kit.SetStoredValue(c, other.FindKit(slot)->ColumnValue(c));
            t.SetKit(slot, kit);
            break;
        }
        case 6: { // two squad places swap jersey numbers and positions
            CTeam& t = *db.FindTeam(Pick(teams));
            if (t.Links().size() < 2)
                break;
            CTeamPlayerLink a = t.Links()[Below(static_cast<int>(t.Links().size()))];
            CTeamPlayerLink b = t.Links()[Below(static_cast<int>(t.Links().size()))];
            std::swap(a.jerseyNumber, b.jerseyNumber);
            std::swap(a.formationPosition, b.formationPosition);
            t.AddOrUpdateLink(a);
            t.AddOrUpdateLink(b);
            break;
        }
        case 7: { // a new player joins a bench
            const int32_t team = Pick(teams);
            if (db.ChooseBenchPosition(team) >= 0)
                db.NewPlayer(team);
            break;
        }
        case 8: { // a reserve who is no taker leaves
            CTeam& t = *db.FindTeam(Pick(teams));
            for (const CTeamPlayerLink& link : t.Links()) {
                bool taker = false;
                for (int k = 0; k < CTeam::kTakerCount; ++k)
                    taker |= t.Taker(static_cast<ETaker>(k)) == link.playerId;
                if (link.formationPosition >= 33 && !taker) {
                    const int32_t player = link.playerId;
                    t.RemoveLink(player);
                    db.FindPlayer(player)->RemoveTeam(t.Id());
                    break;
                }
            }
            break;
        }
        case 9: { // a player without a team goes
            for (int32_t id : players)
                if (db.FindPlayer(id)->Teams().empty() && db.CanDeletePlayers(std::vector{id})) {
                    db.DeletePlayers(std::vector{id});
                    break;
                }
            break;
        }
        case 10: { // a new team: a copy without squad of another, with a new kit
            CTeam team = *db.FindTeam(Pick(teams));
            team.SetId(db.MaxTeamId() + 1);
            for (const CTeamPlayerLink& link : std::vector(team.Links()))
                team.RemoveLink(link.playerId);
            for (int k = 0; k < CTeam::kTakerCount; ++k)
                team.SetTaker(static_cast<ETaker>(k), 0);
            for (int32_t league : std::vector(team.Leagues()))
                team.RemoveLeague(league);
            team.SetName(Name());
            db.InsertTeam(team);
            const int32_t league = Pick(Ids(db.Leagues()));
            std::vector<int32_t> list = db.TeamsOfLeague(league);
            list.push_back(team.Id());
            db.SetLeagueTeams(league, list);
            break;
        }
        case 11: { // a new stadium and a new league
            CStadium stadium = db.Stadiums().begin()->second;
            stadium.id = (db.Stadiums().end() - 1)->first + 1;
            stadium.name = Name();
            db.InsertStadium(stadium);
            CLeague league = db.Leagues().begin()->second;
            league.id = db.MaxLeagueId() + 1;
            league.name = Name();
            db.InsertLeague(league);
            break;
        }
        }
    }

    CGameDatabase& m_db;
    std::mt19937 m_random;
};

std::vector<std::string> ErrorCodes(const CGameDatabase& db) {
    std::vector<std::string> codes;
    for (const SCheckFinding& f : CDatabaseCheck::Run(db, nullptr))
        if (f.severity == SCheckFinding::ESeverity::Error)
            codes.push_back(f.code + " " + std::to_string(f.id) + " " + f.message);
    return codes;
}

CPatchApply::SOptions With(EResolve resolve, bool dryRun = false) {
    CPatchApply::SOptions options;
    options.resolve = resolve;
    options.dryRun = dryRun;
    return options;
}

CPatch MakePatch(const CGameDatabase& base, const CGameDatabase& changed) {
    CPatch patch;
    std::string error;
    EXPECT_TRUE(CPatch::Read(CPatch::Make(base, changed, "", "").ToText(), patch, error)) << error;
    return patch;
}

class CPatchApplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (CGameDatabase* db : {&base, &ours, &theirs})
            CSampleGenerator::BuildGame(*db, 5);
        playerId = base.Players().begin()->first;
        const int32_t pace = Pace(base);
        T = pace < 90 ? pace + 1 : pace - 1;
        O = pace < 90 ? pace + 2 : pace - 2;
    }
    void SetPace(CGameDatabase& db, int32_t value) {
        db.FindPlayer(playerId)->SetValue(EPlayerColumn::Pace, value);
    }
    int32_t Pace(const CGameDatabase& db) const {
        return db.FindPlayer(playerId)->Value(EPlayerColumn::Pace);
    }

    CGameDatabase base, ours, theirs;
    int32_t playerId = 0;
    // Paces of their change and of ours, both different from the base's.
    int32_t T = 0;
    int32_t O = 0;
};

} // namespace

TEST_F(CPatchApplyTest, ApplyingTheDiffOfRandomEditsGivesTheEditedDatabase) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CGameDatabase a, b;
        CSampleGenerator::BuildGame(a, seed);
        CSampleGenerator::BuildGame(b, seed);
        CRandomEdits(b, seed).Run(40);
        ASSERT_EQ(ErrorCodes(a), ErrorCodes(b)) << "the edits themselves broke the database";
        const CPatch patch = MakePatch(a, b);
        ASSERT_FALSE(patch.changes.empty());
        const auto result = CPatchApply::Apply(a, patch, {});
        ASSERT_TRUE(result.ok) << (result.errors.empty() ? "conflicts" : result.errors[0]);
        EXPECT_TRUE(result.conflicts.empty());
        EXPECT_TRUE(result.renumbered.empty());
        EXPECT_EQ(CFieldDiff::Lines(CFieldDiff::Compare(a, b)), "");
        // Applied again, everything is already there.
        const auto again = CPatchApply::Apply(a, patch, {});
        EXPECT_TRUE(again.ok);
        EXPECT_TRUE(again.changes.empty());
        // The step taken back gives the start again.
        result.before.Restore(a);
        CGameDatabase start;
        CSampleGenerator::BuildGame(start, seed);
        EXPECT_EQ(CFieldDiff::Lines(CFieldDiff::Compare(start, a)), "");
    }
}

TEST_F(CPatchApplyTest, ConflictsRefuseThePatchAndChangeNothing) {
    SetPace(theirs, T);
    theirs.FindPlayer(playerId)->SetLastName("Theirs");
    SetPace(ours, O);
    const CPatch patch = MakePatch(base, theirs);
    const auto result = CPatchApply::Apply(ours, patch, {});
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.conflicts.size(), 1u);
    EXPECT_EQ(CPatchApply::ConflictLines(result.conflicts),
              "player\t" + std::to_string(playerId) + "\tpace\t" + std::to_string(Pace(base)) +
                  "\t" + std::to_string(O) + "\t" + std::to_string(T) + "\n");
    EXPECT_EQ(Pace(ours), O);
    EXPECT_NE(ours.FindPlayer(playerId)->LastName(), "Theirs");
    EXPECT_TRUE(result.before.Empty());
}

TEST_F(CPatchApplyTest, OursAndTheirsSettleConflictsAndTheCleanChangesApply) {
    SetPace(theirs, T);
    theirs.FindPlayer(playerId)->SetLastName("Theirs");
    SetPace(ours, O);
    const CPatch patch = MakePatch(base, theirs);
    CGameDatabase copy;
    CSampleGenerator::BuildGame(copy, 5);
    SetPace(copy, O);

    auto result = CPatchApply::Apply(ours, patch, With(EResolve::Ours));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Pace(ours), O);
    EXPECT_EQ(ours.FindPlayer(playerId)->LastName(), "Theirs");

    result = CPatchApply::Apply(copy, patch, With(EResolve::Theirs));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Pace(copy), T);
    EXPECT_EQ(result.conflicts.size(), 1u);

    // Chosen one by one, by the conflict's key.
    CGameDatabase chosen;
    CSampleGenerator::BuildGame(chosen, 5);
    SetPace(chosen, O);
    CPatchApply::SOptions options = With(EResolve::Choose);
    options.theirs.insert("player\t" + std::to_string(playerId) + "\tpace");
    ASSERT_TRUE(CPatchApply::Apply(chosen, patch, options).ok);
    EXPECT_EQ(Pace(chosen), T);
}

TEST_F(CPatchApplyTest, AChangeOfARecordRemovedHereIsAConflict) {
    const int32_t free = theirs.NewPlayer(-1);
    CGameDatabase withFree;
    CSampleGenerator::BuildGame(withFree, 5);
    EXPECT_EQ(withFree.NewPlayer(-1), free);
    theirs.FindPlayer(free)->SetLastName("Theirs");
    const CPatch patch = MakePatch(withFree, theirs);
    ASSERT_EQ(patch.changes.size(), 1u);
    const auto result = CPatchApply::Apply(ours, patch, {});
    ASSERT_EQ(result.conflicts.size(), 1u);
    EXPECT_EQ(result.conflicts[0].ours, "-");
    EXPECT_TRUE(CPatchApply::Apply(ours, patch, With(EResolve::Theirs)).ok);
    EXPECT_EQ(ours.FindPlayer(free), nullptr);
}

TEST_F(CPatchApplyTest, AddedRecordsWhoseIdIsTakenAreRenumberedWithTheirReferences) {
    // Both sides add a player and a team of the same ids, different ones.
    const int32_t team = theirs.Teams().begin()->first;
    const int32_t newPlayer = theirs.NewPlayer(team);
    CTeam club = *theirs.FindTeam(team);
    club.SetId(theirs.MaxTeamId() + 1);
    const int32_t newTeam = club.Id();
    for (const CTeamPlayerLink& link : std::vector(club.Links()))
        club.RemoveLink(link.playerId);
    club.AddOrUpdateLink({5, newPlayer, 0, newTeam}); // in goal: a squad needs a goalkeeper
    for (int k = 0; k < CTeam::kTakerCount; ++k)
        club.SetTaker(static_cast<ETaker>(k), 0);
    club.SetTaker(ETaker::Captain, newPlayer);
    club.SetRivals({newTeam - 1});
    club.SetName("Their Club");
    theirs.InsertTeam(club);
    theirs.FindPlayer(newPlayer)->AddTeam(newTeam);
    const int32_t league = theirs.Leagues().begin()->first;
    auto list = theirs.TeamsOfLeague(league);
    list.push_back(newTeam);
    theirs.SetLeagueTeams(league, list);

    EXPECT_EQ(ours.NewPlayer(-1), newPlayer);
    ours.FindPlayer(newPlayer)->SetLastName("Ours");
    CTeam mine = *ours.FindTeam(team);
    mine.SetId(newTeam);
    for (const CTeamPlayerLink& link : std::vector(mine.Links()))
        mine.RemoveLink(link.playerId);
    for (int k = 0; k < CTeam::kTakerCount; ++k)
        mine.SetTaker(static_cast<ETaker>(k), 0);
    mine.SetName("Our Club");
    ours.InsertTeam(mine);

    const auto result = CPatchApply::Apply(ours, MakePatch(base, theirs), {});
    ASSERT_TRUE(result.ok) << (result.errors.empty() ? "conflicts" : result.errors[0]);
    ASSERT_EQ(result.renumbered.size(), 2u);
    int32_t player = 0, club2 = 0;
    for (const auto& r : result.renumbered)
        (r.kind == ERecordKind::Player ? player : club2) = r.to;
    EXPECT_GT(player, newPlayer);
    EXPECT_GT(club2, newTeam);
    EXPECT_EQ(ours.FindPlayer(newPlayer)->LastName(), "Ours");
    EXPECT_EQ(ours.FindTeam(newTeam)->Name(), "Our Club");
    const CTeam& copied = *ours.FindTeam(club2);
    EXPECT_EQ(copied.Name(), "Their Club");
    EXPECT_EQ(copied.Taker(ETaker::Captain), player);
    ASSERT_NE(copied.FindLink(player), nullptr);
    EXPECT_EQ(copied.FindLink(player)->jerseyNumber, 5);
    EXPECT_TRUE(ours.FindPlayer(player)->IsInTeam(club2));
    EXPECT_TRUE(ours.FindPlayer(player)->IsInTeam(team));
    EXPECT_EQ(ours.TeamsOfLeague(league).back(), club2);
    EXPECT_EQ(copied.Rivals(), std::vector<int32_t>{newTeam - 1});
}

TEST_F(CPatchApplyTest, ValuesOutsideThisDatabasesRangesAndNewCheckErrorsRefuseThePatch) {
    const CPatch patch = [&] {
        SetPace(theirs, T);
        CPatch p = MakePatch(base, theirs);
        p.changes[0].fields[0].newValue = "100000";
        p.changes[0].line = 9;
        return p;
    }();
    auto result = CPatchApply::Apply(ours, patch, {});
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].substr(0, 7), "line 9:");
    EXPECT_NE(result.errors[0].find("outside"), std::string::npos);
    EXPECT_EQ(Pace(ours), Pace(base));

    // Taking a taker out of the squad breaks the team: refused, nothing changed.
    const CTeam& team = theirs.Teams().begin()->second;
    const int32_t captain = team.Taker(ETaker::Captain);
    ASSERT_NE(team.FindLink(captain), nullptr);
    theirs.FindTeam(team.Id())->RemoveLink(captain);
    theirs.FindPlayer(captain)->RemoveTeam(team.Id());
    result = CPatchApply::Apply(ours, MakePatch(base, theirs), {});
    EXPECT_FALSE(result.ok);
    ASSERT_FALSE(result.errors.empty());
    EXPECT_NE(result.errors.back().find("taker-not-in-squad"), std::string::npos);
    EXPECT_EQ(CFieldDiff::Compare(base, ours).size(), 0u);
}

TEST_F(CPatchApplyTest, ADryRunSaysWhatWouldChangeAndChangesNothing) {
    SetPace(theirs, T);
    const auto result = CPatchApply::Apply(ours, MakePatch(base, theirs), With(EResolve::Refuse, true));
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(CFieldDiff::Lines(result.changes),
              "player\t" + std::to_string(playerId) + "\tpace\t" + std::to_string(Pace(base)) +
                  "\t" + std::to_string(T) + "\n");
    EXPECT_EQ(Pace(ours), Pace(base));
    EXPECT_FALSE(ours.IsDirty());
}

TEST_F(CPatchApplyTest, NamesAreRefusedWithoutTextsToSaveThem) {
    theirs.FindTeam(theirs.Teams().begin()->first)->SetName("New Name");
    CPatchApply::SOptions options;
    options.namesStorable = false;
    const auto result = CPatchApply::Apply(ours, MakePatch(base, theirs), options);
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_NE(result.errors[0].find("in-game text database"), std::string::npos);
}
