#include "CSampleGenerator.h"
#include "TestDatabaseFiles.h"

#include "editor/database/CIngameTextDb.h"
#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"
#include "editor/model/CNameSearch.h"

#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <set>

namespace {

void ExpectSameModel(const CGameDatabase& a, const CGameDatabase& b) {
    EXPECT_EQ(a.Players(), b.Players());
    EXPECT_EQ(a.Teams(), b.Teams());
    EXPECT_EQ(a.Leagues(), b.Leagues());
    EXPECT_EQ(a.LeagueTeamLinks(), b.LeagueTeamLinks());
    EXPECT_EQ(a.Stadiums(), b.Stadiums());
    EXPECT_EQ(a.Formations(), b.Formations());
    EXPECT_EQ(a.Colours(), b.Colours());
}

// One sample for the whole suite: writing it is the slow part.
class CSampleRoundTripTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new CTempFolder();
        folder = &scratch->Path();
        CRecordingSink sink;
        written = WriteSampleInstallation(*folder / "game", 7, sink);
    }
    static void TearDownTestSuite() { delete scratch; }

    static inline CTempFolder* scratch = nullptr;
    static inline const std::filesystem::path* folder = nullptr;
    static inline bool written = false;
    CRecordingSink sink;
};

} // namespace

TEST_F(CSampleRoundTripTest, TheSampleLooksLikeAGame) {
    ASSERT_TRUE(written);
    CGameInstallation installation(*folder / "game", 0);
    ASSERT_TRUE(installation.DatabasePath());
    ASSERT_TRUE(installation.TextDatabasePath());
    CGameDatabase db;
    ASSERT_TRUE(db.LoadGameDatabase(installation.DatabasePath()->string(),
                                    installation.TextDatabasePath()->string(), sink));
    EXPECT_GT(db.Players().size(), 13000u);
    EXPECT_LT(db.Players().size(), 18000u);
    EXPECT_EQ(db.Teams().size(), 700u);
    EXPECT_EQ(db.Leagues().size(), 45u);
    EXPECT_EQ(db.Formations().size(), 49u);
    EXPECT_GE(db.Stadiums().size(), 40u);
    EXPECT_EQ(db.Colours().Count(), 100);
    std::set<int32_t> levels;
    for (const auto& [id, league] : db.Leagues())
        levels.insert(league.Level());
    EXPECT_GE(levels.size(), 4u);
    size_t kits = 0, rivals = 0;
    for (const auto& [id, team] : db.Teams()) {
        EXPECT_FALSE(team.Name().empty()) << id;
        ASSERT_GE(team.Links().size(), 18u) << id;
        EXPECT_LE(team.Links().size(), 32u) << id;
        int starters = 0, keepers = 0;
        std::set<int32_t> jerseys;
        for (const CTeamPlayerLink& link : team.Links()) {
            starters += link.formationPosition < 32 ? 1 : 0;
            keepers += link.formationPosition == 0 ? 1 : 0;
            jerseys.insert(link.jerseyNumber);
            EXPECT_TRUE(db.FindPlayer(link.playerId)->IsInTeam(id));
        }
        EXPECT_EQ(starters, 11) << id;
        EXPECT_EQ(keepers, 1) << id;
        EXPECT_EQ(jerseys.size(), team.Links().size()) << id;
        EXPECT_NE(team.FindLink(team.Taker(ETaker::Captain)), nullptr) << id;
        for (int slot = 0; slot < 11; ++slot)
            kits += team.FindKit(slot) ? 1 : 0;
        rivals += team.Rivals().size();
        EXPECT_EQ(team.Leagues().size(), 1u);
    }
    EXPECT_GT(kits, 700u * 7);
    EXPECT_GT(rivals, 300u);
    // Names with accents and other scripts, all searchable.
    EXPECT_FALSE(CNameSearch::Find(db, "é", true, true, true).empty());
    EXPECT_FALSE(CNameSearch::Find(db, "Δ", true, true, false).empty() &&
                 CNameSearch::Find(db, "Д", true, true, false).empty());
    // Every language has its text database.
    for (uint32_t language : {0u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 11u, 12u})
        EXPECT_TRUE(CGameInstallation(*folder / "game", language).TextDatabasePath()) << language;
}

TEST_F(CSampleRoundTripTest, LoadSaveLoadGivesTheSameModelAndTheSameBytes) {
    ASSERT_TRUE(written);
    const auto game = *folder / "game" / "data" / "cmn";
    const auto copy = *folder / "copy";
    std::filesystem::create_directories(copy);
    std::filesystem::copy_file(game / "corvid.db", copy / "corvid.db");
    std::filesystem::copy_file(game / "fe" / "eng.db", copy / "eng.db");

    CGameDatabase first;
    ASSERT_TRUE(
        first.LoadGameDatabase((copy / "corvid.db").string(), (copy / "eng.db").string(), sink));
    ASSERT_TRUE(
        first.SaveGameDatabase((copy / "corvid.db").string(), (copy / "eng.db").string(), sink));
    const std::string firstBytes = ReadText(copy / "corvid.db");
    const std::string firstTexts = ReadText(copy / "eng.db");
    // The generator writes through the same save: the first save changes nothing.
    EXPECT_EQ(firstBytes, ReadText(game / "corvid.db"));
    EXPECT_EQ(firstTexts, ReadText(game / "fe" / "eng.db"));

    CGameDatabase second;
    ASSERT_TRUE(
        second.LoadGameDatabase((copy / "corvid.db").string(), (copy / "eng.db").string(), sink));
    ExpectSameModel(first, second);
    ASSERT_TRUE(
        second.SaveGameDatabase((copy / "corvid.db").string(), (copy / "eng.db").string(), sink));
    EXPECT_EQ(ReadText(copy / "corvid.db"), firstBytes);
    EXPECT_EQ(ReadText(copy / "eng.db"), firstTexts);
}

TEST_F(CSampleRoundTripTest, TheSameSeedGivesTheSameGame) {
    ASSERT_TRUE(written);
    CGameDatabase a, b, c;
    CSampleGenerator::BuildGame(a, 7);
    CSampleGenerator::BuildGame(b, 7);
    CSampleGenerator::BuildGame(c, 8);
    ExpectSameModel(a, b);
    EXPECT_NE(a.Players(), c.Players());
}

TEST(CGameInstallationTest, FindsFilesWhateverTheirLetterCase) {
    const CTempFolder scratch;
    const std::filesystem::path& folder = scratch.Path();
    std::filesystem::create_directories(folder / "Data" / "CMN" / "Fe");
    WriteText(folder / "Data" / "CMN" / "Corvid.DB", "x");
    WriteText(folder / "Data" / "CMN" / "Fe" / "GER.db", "x");
    WriteText(folder / "Data" / "CMN" / "Fe" / ".db", "x");
#ifdef _WIN32
    // The system ignores letter case itself: the name asked for is the file.
    const auto same = [](const std::optional<std::filesystem::path>& a,
                         const std::filesystem::path& b) {
        return a && std::filesystem::equivalent(*a, b);
    };
#else
    const auto same = [](const std::optional<std::filesystem::path>& a,
                         const std::filesystem::path& b) { return a == b; };
#endif
    EXPECT_TRUE(same(CGameInstallation(folder, 0).DatabasePath(),
                     folder / "Data" / "CMN" / "Corvid.DB"));
    EXPECT_TRUE(same(CGameInstallation(folder, 3).TextDatabasePath(),
                     folder / "Data" / "CMN" / "Fe" / "GER.db"));
    EXPECT_TRUE(same(CGameInstallation(folder, 10).TextDatabasePath(),
                     folder / "Data" / "CMN" / "Fe" / ".db"));
    EXPECT_FALSE(CGameInstallation(folder, 0).TextDatabasePath());
    EXPECT_FALSE(CGameInstallation(folder / "nowhere", 0).DatabasePath());
}

TEST_F(CSampleRoundTripTest, TheCheckFindsNothingInTheSample) {
    ASSERT_TRUE(written);
    CGameInstallation installation(*folder / "game", 0);
    CGameDatabase db;
    ASSERT_TRUE(db.LoadGameDatabase(installation.DatabasePath()->string(),
                                    installation.TextDatabasePath()->string(), sink));
    CIngameTextDb texts(installation.TextDatabasePath()->string());
    ASSERT_TRUE(texts.ReadIngameTextDb(sink));
    const std::vector<SCheckFinding> findings = CDatabaseCheck::Run(db, &texts);
    for (size_t i = 0; i < findings.size() && i < 20; ++i)
        ADD_FAILURE() << findings[i].code << " " << SCheckFinding::KindName(findings[i].kind)
                      << " " << findings[i].id << ": " << findings[i].message;
    EXPECT_EQ(findings.size(), 0u);
}
