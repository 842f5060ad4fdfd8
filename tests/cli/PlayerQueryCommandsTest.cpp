#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"

#include "editor/database/CMessageSink.h"
#include "editor/model/CGameDatabase.h"
#include "tools/CSampleGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using C = EPlayerColumn;

class CFailingSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        ADD_FAILURE() << key << ": " << detail;
    }
};

void AddPlayer(CGameDatabase& db, int32_t id, const char* first, const char* common,
               const char* last, int32_t position, int32_t pace, CDate born, int32_t team) {
    CPlayer p(id);
    p.SetFirstName(first);
    p.SetCommonName(common);
    p.SetLastName(last);
    // The lowest value of every column, so the file takes what the test wrote.
    const CDbTable& table = *db.Catalogue().FindTable("players");
    for (int c = 0; c < CPlayer::kColumnCount; ++c)
        p.SetColumnValue(c, table.ColumnLow(c));
    p.SetValue(C::PreferredPosition1, position);
    p.SetValue(C::Pace, pace);
    p.SetBirthDate(born);
    db.InsertPlayer(p);
    if (team != 0)
        db.AddPlayerToTeam(id, team, 32, -1);
}

// Four players: three in two teams of one league, one without a team. Ages on 1 January 2004:
// 19, 28, 20 and 25.
void WriteHandMadeGame(const fs::path& folder) {
    CFailingSink sink;
    ASSERT_TRUE(WriteSampleInstallation(folder, 1, sink)); // for its text databases
    CGameDatabase db;
    CSampleGenerator::BuildGame(db, 1);
    CGameDatabase game;
    game.Catalogue() = std::move(db.Catalogue());
    CLeague league;
    league.id = 1;
    league.name = "Premier Division";
    game.InsertLeague(league);
    for (auto [id, name] : {std::pair{193, "Kingsham Albion"}, {7, "Ashford Town"}}) {
        CTeam team(id);
        team.SetName(name);
        game.InsertTeam(team);
        game.AddLeagueTeamLink({1, id});
    }
    AddPlayer(game, 1, "Tom", "", "Anderson", 27, 90, CDate(1984, 3, 1), 193);
    AddPlayer(game, 2, "Olle", "", "Svensson", 0, 40, CDate(1975, 6, 15), 193);
    AddPlayer(game, 3, "Carlos", "Kaká", "Arroyo", 12, 85, CDate(1983, 12, 8), 7);
    AddPlayer(game, 4, "", "", "Иванов", 3, 70, CDate(1979, 1, 1), 0);
    for (C c : {C::Awareness, C::Determination, C::Rushing, C::Handling, C::Punching, C::Aggression,
                C::Reflexes, C::Anticipation, C::Throwing, C::Jumping, C::Strength})
        game.FindPlayer(2)->SetValue(c, 60);
    game.FindPlayer(2)->SetValue(C::Reflexes, 80);
    const fs::path cmn = folder / "data" / "cmn";
    ASSERT_TRUE(game.SaveGameDatabase((cmn / "corvid.db").string(),
                                      (cmn / "fe" / "eng.db").string(), sink));
}

class PlayerQueryCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new CTempFolder();
        WriteHandMadeGame(scratch->Path() / "made");
    }
    static void TearDownTestSuite() { delete scratch; }
    void SetUp() override {
        game = scratch->Path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(game);
        fs::copy(scratch->Path() / "made", game, fs::copy_options::recursive);
    }

    SProcessResult Game(std::vector<std::string> args) {
        args.insert(args.begin(), {"--game", game.string()});
        return RunProcess(KESTREL_CLI, args, scratch->Path());
    }
    std::string Db() const { return ReadText(game / "data" / "cmn" / "corvid.db"); }

    static inline CTempFolder* scratch = nullptr;
    fs::path game;
};

} // namespace

TEST_F(PlayerQueryCommandsTest, ListsInColumnsOrAsCsv) {
    SProcessResult all = Game({"players"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "id  name           team             age  preferred_position_1  overall\n"
                       "1   Tom Anderson   Kingsham Albion  19   27                    6\n"
                       "2   Olle Svensson  Kingsham Albion  28   0                     61\n"
                       "3   Carlos Arroyo  Ashford Town     20   12                    6\n"
                       "4   Иванов                          25   3                     6\n"
                       "4 of 4 players\n");

    SProcessResult young =
        Game({"players", "--where", "age<21 and pace>=85", "--sort", "age:desc"});
    ASSERT_EQ(young.status, 0) << young.err;
    EXPECT_EQ(young.out, "id  name           team             age  preferred_position_1  overall\n"
                         "3   Carlos Arroyo  Ashford Town     20   12                    6\n"
                         "1   Tom Anderson   Kingsham Albion  19   27                    6\n"
                         "2 of 4 players\n");

    SProcessResult csv = Game({"players", "--where", "name~\"ИВАН\" or name~'kaká'", "--fields",
                               "id,name,common_name,team,league", "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, "id,name,common_name,team,league\r\n"
                       "3,Carlos Arroyo,Kaká,Ashford Town,Premier Division\r\n"
                       "4,Иванов,,,\r\n");

    SProcessResult sets = Game({"players", "--where",
                                "team in (\"kingsham albion\", 7) and not preferred_position_1 "
                                "in (0)",
                                "--fields", "id,pace", "--sort", "pace", "--csv"});
    EXPECT_EQ(sets.out, "id,pace\r\n3,85\r\n1,90\r\n");

    SProcessResult none = Game({"players", "--where", "team=109998 and age>30"});
    EXPECT_EQ(none.out, "id  name  team  age  preferred_position_1  overall\n0 of 4 players\n");
}

TEST_F(PlayerQueryCommandsTest, ListingRefusesBadRequests) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--where", "pace>="}, "kestrel-cli: --where: expected a number at 7\n"},
        {{"--where", "name<\"m\""}, "kestrel-cli: --where: '<' does not apply to text at 5\n"},
        {{"--fields", "id,pase"}, "kestrel-cli: --fields: unknown field 'pase'\n"},
        {{"--fields", "id,"}, "kestrel-cli: --fields: unknown field ''\n"},
        {{"--sort", "speed"}, "kestrel-cli: --sort: unknown field 'speed'\n"},
        {{"--sort", "pace:up"}, "kestrel-cli: --sort: order must be asc or desc, not 'up'\n"},
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> args = {"players"};
        args.insert(args.end(), options.begin(), options.end());
        const SProcessResult result = Game(args);
        EXPECT_EQ(result.status, 1) << options[1];
        EXPECT_EQ(result.err, message);
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(PlayerQueryCommandsTest, BulkChangesSavesAndDryRunsLeaveTheFile) {
    const std::string before = Db();
    const std::string keeper = Game({"player", "2"}).out;
    SProcessResult dry =
        Game({"bulk", "--where", "team=193", "pace+=15", "reflexes=5", "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out, "1 Tom Anderson: pace 90 -> 100\n"
                       "1 Tom Anderson: reflexes 0 -> 5\n"
                       "2 Olle Svensson: pace 40 -> 55\n"
                       "2 Olle Svensson: reflexes 80 -> 5\n"
                       "would change 2 players (4 values, 1 clamped)\n");
    EXPECT_EQ(Db(), before);

    SProcessResult real = Game({"bulk", "--where", "position_group=0", "reflexes*=1.5"});
    ASSERT_EQ(real.status, 0) << real.err;
    EXPECT_EQ(real.out, "changed 1 player (1 value, 1 clamped)\n");
    EXPECT_EQ(Game({"players", "--where", "reflexes=100", "--fields", "id,reflexes", "--csv"}).out,
              "id,reflexes\r\n2,100\r\n");
    // Only the field asked for changed, and the rating derived from it.
    std::string expected = keeper;
    for (auto [from, to] : {std::pair{"\"reflexes\":80,", "\"reflexes\":100,"},
                            {"\"overall\":61,", "\"overall\":63,"}}) {
        const size_t at = expected.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        expected.replace(at, std::string(from).size(), to);
    }
    EXPECT_EQ(Game({"player", "2"}).out, expected);

    const std::string changed = Db();
    SProcessResult nothing = Game({"bulk", "--where", "pace>200", "pace=1"});
    EXPECT_EQ(nothing.out, "changed 0 players (0 values, 0 clamped)\n");
    EXPECT_EQ(Db(), changed);
}

TEST_F(PlayerQueryCommandsTest, BulkRefusesBadChangesBeforeTouchingAnything) {
    const std::string before = Db();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--where", "", "age=3"}, "kestrel-cli: 'age=3': age cannot be changed in bulk at 1\n"},
        {{"--where", "", "pace=1", "pace+"}, "kestrel-cli: 'pace+': unexpected '+' at 5\n"},
        {{"--where", "pace>", "pace=1"}, "kestrel-cli: --where: expected a number at 6\n"},
        {{"pace=1"}, "kestrel-cli: usage: kestrel-cli bulk --where EXPR SET... [--dry-run]\n"},
        {{"--where", "pace>1"},
         "kestrel-cli: usage: kestrel-cli bulk --where EXPR SET... "
         "[--dry-run]\n"},
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> args = {"bulk"};
        args.insert(args.end(), options.begin(), options.end());
        const SProcessResult result = Game(args);
        // A wrong command line is a usage error (2), a wrong change a failure (1).
        EXPECT_EQ(result.status, message.find("usage:") != std::string::npos ? 2 : 1);
        EXPECT_EQ(result.err, message);
    }
    EXPECT_EQ(Db(), before);
}

TEST_F(PlayerQueryCommandsTest, SampleGrowsToTheAskedNumberOfPlayers) {
    const std::string folder = (game / "large").string();
    ASSERT_EQ(RunProcess(KESTREL_CLI, {"make-sample", folder, "--players", "16000"},
                         scratch->Path())
                  .status,
              0);
    const SProcessResult summary =
        RunProcess(KESTREL_CLI, {"--game", folder, "summary"}, scratch->Path());
    EXPECT_NE(summary.out.find("\"players\":16000,"), std::string::npos) << summary.out;
    const SProcessResult bad =
        RunProcess(KESTREL_CLI, {"make-sample", folder, "--players", "many"}, scratch->Path());
    EXPECT_EQ(bad.err, "kestrel-cli: --players needs a whole number up to 1000000, not 'many'\n");
}
