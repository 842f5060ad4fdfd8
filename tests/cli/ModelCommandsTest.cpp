#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ModelCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new CTempFolder();
        sampleStatus = Run({"make-sample", (Root() / "sample").string(), "--seed", "11"}).status;
    }
    static void TearDownTestSuite() { delete scratch; }
    void SetUp() override {
        ASSERT_EQ(sampleStatus, 0);
        game = Root() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(game);
        fs::create_directories(game / "data" / "cmn" / "fe");
        fs::copy_file(Root() / "sample" / "data" / "cmn" / "corvid.db",
                      game / "data" / "cmn" / "corvid.db");
        fs::copy_file(Root() / "sample" / "data" / "cmn" / "fe" / "eng.db",
                      game / "data" / "cmn" / "fe" / "eng.db");
    }

    static SProcessResult Run(const std::vector<std::string>& args) {
        return RunProcess(KESTREL_CLI, args, Root());
    }
    SProcessResult Game(std::vector<std::string> args) {
        args.insert(args.begin(), {"--game", game.string()});
        return Run(args);
    }
    std::string Db() const { return (game / "data" / "cmn" / "corvid.db").string(); }
    // The first team of the sample with its squad, as JSON text.
    std::string Team(int id) { return Game({"team", std::to_string(id)}).out; }

    static const fs::path& Root() { return scratch->Path(); }

    // Gives a players column another range in the file's catalogue, leaving its width and the
    // stored bits as they are (the descriptor holds six words, then low and high per column).
    void SetPlayersColumnRange(const std::string& name, int32_t low, int32_t high) {
        const auto info = nlohmann::json::parse(Run({"info", Db()}).out);
        for (const auto& table : info["tables"]) {
            if (table["name"] != "players")
                continue;
            const auto& columns = table["columns"];
            for (size_t c = 0; c < columns.size(); ++c) {
                if (columns[c]["name"] != name)
                    continue;
                std::vector<std::uint8_t> bytes = ReadAll(Db());
                const size_t at = table["descriptor_offset"].get<size_t>() + 24 + 8 * c;
                for (int i = 0; i < 4; ++i) {
                    bytes[at + i] = static_cast<std::uint8_t>(static_cast<uint32_t>(low) >> 8 * i);
                    bytes[at + 4 + i] =
                        static_cast<std::uint8_t>(static_cast<uint32_t>(high) >> 8 * i);
                }
                ASSERT_TRUE(WriteAll(Db(), bytes));
                return;
            }
        }
        FAIL() << "no players column " << name;
    }

    static inline CTempFolder* scratch = nullptr;
    static inline int sampleStatus = -1;
    fs::path game;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(ModelCommandsTest, SampleSummaryAndDeterminism) {
    const SProcessResult summary = Game({"summary"});
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_TRUE(Contains(summary.out, "\"teams\":700,\"leagues\":45,\"league_team_links\":700"))
        << summary.out;
    EXPECT_TRUE(Contains(summary.out, "\"formations\":49,\"colours\":100}")) << summary.out;
    ASSERT_EQ(Run({"make-sample", (game / "again").string(), "--seed", "11"}).status, 0);
    EXPECT_EQ(ReadText(game / "again" / "data" / "cmn" / "corvid.db"), ReadText(Db()));
    EXPECT_EQ(Run({"make-sample", (game / "x").string(), "--seed", "eleven"}).status, 1);
}

TEST_F(ModelCommandsTest, RecordsAsJson) {
    const SProcessResult player = Game({"player", "1"});
    ASSERT_EQ(player.status, 0) << player.err;
    for (const char* field : {"\"id\":1,", "\"first_name\":", "\"ball_control\":",
                              "\"preferred_position_1\":0", "\"birth_date\":\"", "\"teams\":[1]"})
        EXPECT_TRUE(Contains(player.out, field)) << field << " in " << player.out;
    const std::string team = Team(1);
    for (const char* field :
         {"\"team_name\":", "\"prestige\":", "\"squad\":[{\"player_id\":1,",
          "\"kits\":[{\"team_id\":1,\"kit_type\":0", "\"leagues\":[1]", "\"captain\":"})
        EXPECT_TRUE(Contains(team, field)) << field;
    EXPECT_TRUE(Contains(Game({"league", "1"}).out, "\"level\":1,\"teams\":[1,"));
    const SProcessResult missing = Game({"player", "99999999"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "kestrel-cli: no player with id 99999999\n");
    EXPECT_EQ(Game({"team", "x"}).status, 1);
}

TEST_F(ModelCommandsTest, SetChecksTheFieldsRangeAndSaves) {
    ASSERT_EQ(Game({"set", "player", "1", "pace", "93"}).status, 0);
    EXPECT_TRUE(Contains(Game({"player", "1"}).out, "\"pace\":93,"));
    const std::string before = ReadText(Db());
    const SProcessResult bad = Game({"set", "player", "1", "pace", "101"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(Contains(bad.err, "player 1, field pace: 101 is outside 0..100")) << bad.err;
    EXPECT_EQ(Game({"set", "player", "1", "speed", "1"}).status, 1);
    EXPECT_EQ(Game({"set", "player", "1", "id", "5"}).status, 1);
    EXPECT_EQ(Game({"set", "team", "1", "prestige", "21"}).status, 1);
    EXPECT_EQ(Game({"set", "player", "1", "first_name", std::string(256, 'a')}).status, 1);
    EXPECT_EQ(Game({"set", "player", "1", "first_name", "\xC3"}).status, 1);
    EXPECT_EQ(ReadText(Db()), before);

    // Names live in the text database.
    ASSERT_EQ(Game({"set", "team", "2", "team_name", "Škoda Žilina"}).status, 0);
    EXPECT_TRUE(Contains(Team(2), "\"team_name\":\"Škoda Žilina\""));
    ASSERT_EQ(Game({"set", "league", "1", "level", "3"}).status, 0);
    EXPECT_TRUE(Contains(Game({"league", "1"}).out, "\"level\":3"));
}

TEST_F(ModelCommandsTest, SquadOperations) {
    // Player 1 is team 1's goalkeeper; move him to team 2's bench and back.
    ASSERT_EQ(Game({"squad", "move", "1", "1", "2"}).status, 0);
    EXPECT_FALSE(Contains(Team(1), "{\"player_id\":1,"));
    EXPECT_TRUE(Contains(Game({"player", "1"}).out, "\"teams\":[2]"));
    EXPECT_EQ(Game({"squad", "remove", "1", "1"}).status, 1);
    ASSERT_EQ(Game({"squad", "add", "1", "1", "--position", "0", "--jersey", "1"}).status, 0);
    EXPECT_TRUE(Contains(Team(1), "{\"player_id\":1,\"jersey_number\":1,\"position\":0}"));
    ASSERT_EQ(Game({"squad", "remove", "1", "2"}).status, 0);
    EXPECT_TRUE(Contains(Game({"player", "1"}).out, "\"teams\":[1]"));
    ASSERT_EQ(Game({"squad", "jersey", "1", "1", "99"}).status, 0);
    EXPECT_TRUE(Contains(Team(1), "{\"player_id\":1,\"jersey_number\":99,"));
    EXPECT_EQ(Game({"squad", "jersey", "1", "1", "100"}).status, 1);
    EXPECT_EQ(Game({"squad", "add", "1", "99999"}).status, 1);
    EXPECT_EQ(Game({"squad", "add", "1", "1", "--position", "35"}).status, 1);
    EXPECT_EQ(Game({"squad", "move", "1", "1", "1"}).status, 1);
    EXPECT_EQ(Game({"squad", "fly", "1", "1"}).status, 2); // usage

    // Into a team he is in already: refused, and the goalkeeper keeps his place.
    const std::string squad1 = Team(1);
    const SProcessResult again = Game({"squad", "add", "1", "1"});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "kestrel-cli: player 1 is already in team 1\n");
    ASSERT_EQ(Game({"squad", "add", "1", "2"}).status, 0);
    const std::string squad2 = Team(2);
    const SProcessResult moveIn = Game({"squad", "move", "1", "2", "1"});
    EXPECT_EQ(moveIn.status, 1);
    EXPECT_EQ(moveIn.err, "kestrel-cli: player 1 is already in team 1\n");
    EXPECT_EQ(Team(1), squad1);
    EXPECT_EQ(Team(2), squad2);
    ASSERT_EQ(Game({"squad", "remove", "1", "2"}).status, 0);

    const SProcessResult created = Game({"new-player", "3"});
    ASSERT_EQ(created.status, 0) << created.err;
    EXPECT_EQ(created.out, "150001\n");
    EXPECT_TRUE(Contains(Game({"player", "150001"}).out, "\"last_name\":\"Player 150001\""));
    EXPECT_TRUE(Contains(Team(3), "\"player_id\":150001,"));
    const SProcessResult copied = Game({"copy-player", "1", "4"});
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(copied.out, "150002\n");
    const std::string copy = Game({"player", "150002"}).out;
    EXPECT_TRUE(Contains(copy, "\"teams\":[4]")) << copy;
    EXPECT_EQ(Game({"copy-player", "424242", "4"}).status, 1);
}

TEST_F(ModelCommandsTest, FindListsHitsByKind) {
    const SProcessResult all = Game({"find", "a"});
    ASSERT_EQ(all.status, 0);
    std::istringstream lines(all.out);
    std::string line;
    int kind = 0;
    int rows = 0;
    while (std::getline(lines, line)) {
        const std::string type = line.substr(0, line.find('\t'));
        const int rank = type == "league" ? 0 : type == "team" ? 1 : type == "player" ? 2 : -1;
        ASSERT_GE(rank, kind) << line;
        kind = rank;
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
    }
    EXPECT_GT(rows, 1000);
    const SProcessResult teams = Game({"find", "A", "--teams"});
    EXPECT_FALSE(Contains(teams.out, "player\t"));
    EXPECT_FALSE(Contains(teams.out, "league\t"));
    EXPECT_TRUE(Contains(teams.out, "team\t"));
    EXPECT_EQ(Game({"find", "--planets", "a"}).status, 2); // usage
}

TEST_F(ModelCommandsTest, CsvRoundTripAndRefusal) {
    const fs::path csv = game / "players.csv";
    ASSERT_EQ(Game({"export", "players", csv.string()}).status, 0);
    std::string text = ReadText(csv);
    ASSERT_EQ(text.rfind("id,first_name,common_name,last_name,acceleration,", 0), 0u);
    // Import unchanged: the database stays byte for byte the same.
    const std::string before = ReadText(Db());
    ASSERT_EQ(Game({"import", "players", csv.string()}).status, 0);
    EXPECT_EQ(ReadText(Db()), before);

    WriteText(csv, "id,pace,last_name\r\n1,12,\"Smith, Jr.\"\r\n2,13,\"O\"\"Neil\"\r\n");
    ASSERT_EQ(Game({"import", "players", csv.string()}).status, 0);
    EXPECT_TRUE(Contains(Game({"player", "1"}).out, "\"last_name\":\"Smith, Jr.\""));
    EXPECT_TRUE(Contains(Game({"player", "2"}).out, "\"last_name\":\"O\\\"Neil\""));
    EXPECT_TRUE(Contains(Game({"player", "2"}).out, "\"pace\":13,"));

    const std::string good = ReadText(Db());
    WriteText(csv, "id,pace\n1,50\n2,50\n3,250\n");
    const SProcessResult bad = Game({"import", "players", csv.string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(Contains(bad.err, "row 4, field pace: 250 is outside 0..100")) << bad.err;
    EXPECT_EQ(ReadText(Db()), good);
    for (const char* broken : {"id,nonsense\n1,2\n", "pace\n1\n", "id,pace\n1\n",
                               "id,pace\n99999999,1\n", "id,pace\n1,\"5\n", ""}) {
        WriteText(csv, broken);
        EXPECT_EQ(Game({"import", "players", csv.string()}).status, 1) << broken;
    }
    EXPECT_EQ(ReadText(Db()), good);
}

TEST_F(ModelCommandsTest, CsvOfTeamsLinksAndKits) {
    for (const char* kind : {"teams", "leagues", "links", "kits"}) {
        const fs::path csv = game / (std::string(kind) + ".csv");
        ASSERT_EQ(Game({"export", kind, csv.string()}).status, 0) << kind;
        const std::string before = ReadText(Db());
        ASSERT_EQ(Game({"import", kind, csv.string()}).status, 0) << kind;
        EXPECT_EQ(ReadText(Db()), before) << kind;
    }
    const fs::path csv = game / "edit.csv";
    WriteText(csv, "team_id,player_id,jersey_number,formation_position\n5,1,77,33\n");
    ASSERT_EQ(Game({"import", "links", csv.string()}).status, 0);
    EXPECT_TRUE(Contains(Team(5), "{\"player_id\":1,\"jersey_number\":77,\"position\":33}"));
    EXPECT_TRUE(Contains(Game({"player", "1"}).out, "\"teams\":[1,5]"));
    WriteText(csv, "team_id,kit_type,shorts_number_x,jersey_colour_1\n5,5,0.25,7\n");
    ASSERT_EQ(Game({"import", "kits", csv.string()}).status, 0);
    EXPECT_TRUE(Contains(Team(5), "\"kit_type\":5,\"shorts_number_x\":0.25,"));
    WriteText(csv, "team_id,kit_type,jersey_colour_1\n5,11,7\n");
    EXPECT_EQ(Game({"import", "kits", csv.string()}).status, 1);
    WriteText(csv, "team_id,player_id,jersey_number\n5,1,7\n");
    EXPECT_EQ(Game({"import", "links", csv.string()}).status, 1);
}

TEST_F(ModelCommandsTest, ResaveGivesTheSameFiles) {
    const std::string db = ReadText(Db());
    const std::string texts = ReadText(game / "data" / "cmn" / "fe" / "eng.db");
    ASSERT_EQ(Game({"resave"}).status, 0);
    EXPECT_EQ(ReadText(Db()), db);
    EXPECT_EQ(ReadText(game / "data" / "cmn" / "fe" / "eng.db"), texts);
}

TEST_F(ModelCommandsTest, GameOptionsAndLetterCase) {
    // A copy of an installation whose folder names differ in case.
    fs::rename(game / "data", game / "DATA");
    fs::rename(game / "DATA" / "cmn" / "fe" / "eng.db", game / "DATA" / "cmn" / "fe" / "ENG.DB");
    const SProcessResult mixed = Run({"team", "1", "--game", game.string()});
    ASSERT_EQ(mixed.status, 0) << mixed.err;
    EXPECT_FALSE(Contains(mixed.out, "\"team_name\":\"\""));
    const std::string db = (game / "DATA" / "cmn" / "corvid.db").string();
    const std::string texts = (game / "DATA" / "cmn" / "fe" / "ENG.DB").string();
    EXPECT_EQ(Run({"--db", db, "--texts", texts, "team", "1"}).out, mixed.out);
    // Without texts the names are empty, the records the same.
    EXPECT_TRUE(Contains(Run({"team", "1", "--db", db}).out, "\"team_name\":\"\""));
    // Names cannot be changed without a text database to keep them in.
    const SProcessResult noTexts = Run({"set", "team", "1", "team_name", "X", "--db", db});
    EXPECT_EQ(noTexts.status, 1);
    EXPECT_TRUE(Contains(noTexts.err, "in-game text database")) << noTexts.err;
    WriteText(game / "names.csv", "id,team_name\n1,X\n");
    EXPECT_EQ(Run({"import", "teams", (game / "names.csv").string(), "--db", db}).status, 1);
    // An export made without names comes back in unchanged.
    ASSERT_EQ(Run({"export", "teams", (game / "teams.csv").string(), "--db", db}).status, 0);
    EXPECT_EQ(Run({"import", "teams", (game / "teams.csv").string(), "--db", db}).status, 0);
    EXPECT_EQ(Run({"set", "team", "1", "prestige", "3", "--db", db}).status, 0);
    EXPECT_EQ(Run({"summary"}).status, 1);
    EXPECT_EQ(Run({"summary", "--game", (game / "nowhere").string()}).status, 1);
    EXPECT_EQ(Run({"summary", "--game", game.string(), "--db", db}).status, 1);
}

TEST_F(ModelCommandsTest, DamagedDatabaseIsRefusedWithOneLine) {
    fs::resize_file(Db(), fs::file_size(Db()) / 2);
    const SProcessResult result = Game({"summary"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(Contains(result.err, "cannot read")) << result.err;
}

// A text database that is there but cannot be read: the names are neither changed nor written
// back (empty); other fields are saved as usual.
TEST_F(ModelCommandsTest, UnreadableTextDatabaseRefusesNameEditsBeforeAnythingIsWritten) {
    const fs::path texts = game / "data" / "cmn" / "fe" / "eng.db";
    WriteText(texts, "damaged");
    const std::string before = ReadText(Db());
    const SProcessResult name = Game({"set", "team", "1", "team_name", "X"});
    EXPECT_EQ(name.status, 1);
    EXPECT_TRUE(Contains(name.err, "team_name is kept in the in-game text database, and it "
                                   "cannot be read"))
        << name.err;
    EXPECT_EQ(ReadText(Db()), before);
    EXPECT_EQ(ReadText(texts), "damaged");

    const SProcessResult other = Game({"set", "team", "1", "prestige", "3"});
    EXPECT_EQ(other.status, 0) << other.err;
    EXPECT_NE(ReadText(Db()), before);
    EXPECT_EQ(ReadText(texts), "damaged");
}

// A byte-sized field whose column starts below 0 holds that value, takes it from the CLI, and
// the database stays saveable.
TEST_F(ModelCommandsTest, ByteFieldsHoldTheNegativeLowOfTheirColumn) {
    SetPlayersColumnRange("acceleration", -1, 100); // 7 bits as 0..100
    const SProcessResult set = Game({"set", "player", "1", "acceleration", "-1"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_TRUE(Contains(Game({"player", "1"}).out, "\"acceleration\":-1,"));
    const SProcessResult other = Game({"set", "player", "2", "pace", "40"});
    EXPECT_EQ(other.status, 0) << other.err;
    const std::string saved = ReadText(Db());
    ASSERT_EQ(Game({"resave"}).status, 0);
    EXPECT_EQ(ReadText(Db()), saved);
    EXPECT_TRUE(Contains(Game({"player", "1"}).out, "\"acceleration\":-1,"));
    EXPECT_EQ(Game({"set", "player", "1", "acceleration", "-2"}).status, 1);
}

// What the file holds comes back in from an export, even a value above its column's high (the
// bits hold it) or a name that is not UTF-8; a changed value is checked as always.
TEST_F(ModelCommandsTest, ImportTakesBackItsOwnExport) {
    SetPlayersColumnRange("pace", 0, 64); // 7 bits as 0..100: the sample's paces run above 64
    const std::string player1 = Game({"player", "1"}).out;
    const auto firstName = nlohmann::json::parse(player1)["first_name"].get<std::string>();
    ASSERT_FALSE(firstName.empty());
    std::string bytes = ReadText(Db());
    const size_t at = bytes.find(firstName + '\0');
    ASSERT_NE(at, std::string::npos);
    bytes[at] = '\xE9'; // a Latin-1 letter: not UTF-8
    ASSERT_TRUE(WriteText(Db(), bytes));

    const fs::path csv = game / "players.csv";
    ASSERT_EQ(Game({"export", "players", csv.string()}).status, 0);
    ASSERT_NE(ReadText(csv).find("\xE9" + firstName.substr(1)), std::string::npos);
    const SProcessResult again = Game({"import", "players", csv.string()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(ReadText(Db()), bytes);

    WriteText(csv, "id,pace\n1,65\n");
    const SProcessResult changed = Game({"import", "players", csv.string()});
    EXPECT_EQ(changed.status, 1);
    EXPECT_TRUE(Contains(changed.err, "row 2, field pace: 65 is outside 0..64")) << changed.err;
    WriteText(csv, "id,first_name\n2,\xE9t\xE9\n");
    EXPECT_EQ(Game({"import", "players", csv.string()}).status, 1);
}

// Quotes as RFC 4180 has them; anything else is refused with its row and column.
TEST_F(ModelCommandsTest, CsvQuotingIsStrict) {
    const fs::path csv = game / "players.csv";
    const std::string before = ReadText(Db());
    const std::pair<const char*, const char*> cases[] = {
        {"id,last_name\n1,ab\"cd\"ef\n", "row 2, column 2: a quote inside a field"},
        {"id,last_name\n1,\"ab\"cd\n", "row 2, column 2: text after the closing quote"},
        {"id,last_name\n1,x\n2,\"open\n", "row 3, column 2: a quoted field is not closed"},
        {"id,\"last\"_name\n", "row 1, column 2: text after the closing quote"},
    };
    for (const auto& [text, expected] : cases) {
        WriteText(csv, text);
        const SProcessResult result = Game({"import", "players", csv.string()});
        EXPECT_EQ(result.status, 1) << text;
        EXPECT_TRUE(Contains(result.err, expected)) << result.err;
    }
    EXPECT_EQ(ReadText(Db()), before);
    // Quoted fields may hold commas, doubled quotes and line breaks; an empty one is empty.
    WriteText(csv, "id,last_name,common_name\r\n1,\"a,\"\"b\"\"\r\nc\",\"\"\r\n");
    ASSERT_EQ(Game({"import", "players", csv.string()}).status, 0);
    const auto player = nlohmann::json::parse(Game({"player", "1"}).out);
    EXPECT_EQ(player["last_name"], "a,\"b\"\r\nc");
    EXPECT_EQ(player["common_name"], "");
}
