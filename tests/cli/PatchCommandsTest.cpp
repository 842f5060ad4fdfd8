#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadAllText(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = ReadAll(path);
    return std::string(bytes.begin(), bytes.end());
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Two copies of one sample installation per test: ours and theirs.
class PatchCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new CTempFolder();
        sampleStatus = Run({"make-sample", (Root() / "sample").string(), "--seed", "21"}).status;
    }
    static void TearDownTestSuite() { delete scratch; }
    void SetUp() override {
        ASSERT_EQ(sampleStatus, 0);
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ours = Root() / (name + "_ours");
        theirs = Root() / (name + "_theirs");
        for (const fs::path& folder : {ours, theirs}) {
            fs::remove_all(folder);
            fs::copy(Root() / "sample", folder, fs::copy_options::recursive);
        }
    }

    static SProcessResult Run(const std::vector<std::string>& args) {
        return RunProcess(KESTREL_CLI, args, Root());
    }
    static SProcessResult In(const fs::path& game, std::vector<std::string> args) {
        args.insert(args.begin(), {"--game", game.string()});
        return Run(args);
    }
    static fs::path Db(const fs::path& game) { return game / "data" / "cmn" / "corvid.db"; }
    static nlohmann::json Json(const SProcessResult& result) {
        return nlohmann::json::parse(result.out);
    }
    static const fs::path& Root() { return scratch->Path(); }
    std::string Patch() const { return (Root() / "change.kpatch").string(); }

    static inline CTempFolder* scratch = nullptr;
    static inline int sampleStatus = -1;
    fs::path ours;
    fs::path theirs;
};

} // namespace

TEST_F(PatchCommandsTest, DiffListsChangedFieldsAndExitsWithOneOnlyWhenAsked) {
    SProcessResult same = In(ours, {"diff", theirs.string(), "--exit-code"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");
    const int pace = Json(In(theirs, {"player", "1"}))["pace"].get<int>();
    const int changed = pace == 50 ? 51 : 50;
    ASSERT_EQ(In(theirs, {"set", "player", "1", "pace", std::to_string(changed)}).status, 0);
    ASSERT_EQ(In(theirs, {"new-player"}).status, 0);

    // This installation against the other: what this one has differently.
    const SProcessResult diff = In(theirs, {"diff", ours.string()});
    EXPECT_EQ(diff.status, 0);
    EXPECT_TRUE(Contains(diff.out, "player\t1\tpace\t" + std::to_string(pace) + "\t" +
                                       std::to_string(changed) + "\n"))
        << diff.out;
    EXPECT_TRUE(Contains(diff.out, "\t+\t\t\n"));
    EXPECT_EQ(In(theirs, {"diff", ours.string(), "--exit-code"}).status, 1);

    const auto json = Json(In(theirs, {"diff", ours.string(), "--json"}));
    ASSERT_EQ(json["changes"].size(), 2u);
    EXPECT_EQ(json["changes"][0]["kind"], "player");
    EXPECT_EQ(json["changes"][0]["field"], "pace");
    EXPECT_EQ(json["changes"][0]["new"], std::to_string(changed));

    const SProcessResult missing = In(ours, {"diff", (Root() / "nowhere").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Contains(missing.err, "is no folder"));
    EXPECT_NE(In(ours, {"diff"}).status, 0);
}

TEST_F(PatchCommandsTest, DiffOriginalComparesWithTheFirstBackup) {
    const SProcessResult none = In(ours, {"diff", "--original"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(Contains(none.err, "no backup")) << none.err;
    ASSERT_EQ(In(ours, {"set", "team", "1", "team_name", "Changed Name"}).status, 0);
    ASSERT_EQ(In(ours, {"set", "player", "3", "first_name", "Ann"}).status, 0);
    const SProcessResult diff = In(ours, {"diff", "--original"});
    EXPECT_EQ(diff.status, 0);
    EXPECT_TRUE(Contains(diff.out, "\tteam_name\t")) << diff.out;
    EXPECT_TRUE(Contains(diff.out, "\tChanged Name\n"));
    EXPECT_TRUE(Contains(diff.out, "player\t3\tfirst_name\t"));
    // The same in patch form, applied to the untouched copy.
    ASSERT_EQ(In(ours, {"make-patch", "--original", Patch(), "--message", "my mod"}).status, 0);
    ASSERT_EQ(In(theirs, {"apply-patch", Patch()}).status, 0);
    EXPECT_EQ(In(theirs, {"diff", ours.string()}).out, "");
}

TEST_F(PatchCommandsTest, MakeAndApplyAPatch) {
    ASSERT_EQ(In(theirs, {"set", "player", "3", "last_name", "Patched"}).status, 0);
    ASSERT_EQ(In(theirs, {"set", "player", "3", "pace", "40"}).status, 0);
    const SProcessResult made =
        In(theirs, {"make-patch", "--base", ours.string(), Patch(), "--message", "test"});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string text = ReadAllText(Patch());
    EXPECT_TRUE(Contains(text, "\"format\": \"kestrel-patch\""));
    EXPECT_TRUE(Contains(text, "\"message\": \"test\""));
    EXPECT_TRUE(Contains(text, "\"sha256\": \""));

    const auto before = ReadAll(Db(ours));
    const SProcessResult dry = In(ours, {"apply-patch", Patch(), "--dry-run"});
    EXPECT_EQ(dry.status, 0);
    EXPECT_TRUE(Contains(dry.out, "player\t3\tlast_name\t")) << dry.out;
    EXPECT_EQ(ReadAll(Db(ours)), before);

    const SProcessResult applied = In(ours, {"apply-patch", Patch()});
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_TRUE(Contains(applied.out, "applied"));
    EXPECT_EQ(In(ours, {"diff", theirs.string()}).out, "");
    // Saved through the usual backup.
    EXPECT_TRUE(fs::exists(ours / "data" / "cmn" / "backups"));
    // Applied again: nothing left to do.
    EXPECT_EQ(In(ours, {"apply-patch", Patch()}).status, 0);
}

TEST_F(PatchCommandsTest, ConflictsAreListedAndRefusedUnlessSettled) {
    const int pace = Json(In(ours, {"player", "1"}))["pace"].get<int>();
    const int mine = pace < 90 ? pace + 2 : pace - 2;
    const int theirValue = pace < 90 ? pace + 1 : pace - 1;
    ASSERT_EQ(In(theirs, {"set", "player", "1", "pace", std::to_string(theirValue)}).status, 0);
    ASSERT_EQ(In(theirs, {"set", "player", "4", "last_name", "Clean"}).status, 0);
    ASSERT_EQ(In(theirs, {"make-patch", "--base", (Root() / "sample").string(), Patch()}).status, 0);
    ASSERT_EQ(In(ours, {"set", "player", "1", "pace", std::to_string(mine)}).status, 0);

    const auto before = ReadAll(Db(ours));
    const SProcessResult refused = In(ours, {"apply-patch", Patch()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "player\t1\tpace\t" + std::to_string(pace) + "\t" +
                               std::to_string(mine) + "\t" + std::to_string(theirValue) + "\n");
    EXPECT_TRUE(Contains(refused.err, "1 conflicts"));
    EXPECT_EQ(ReadAll(Db(ours)), before);

    EXPECT_NE(In(ours, {"apply-patch", Patch(), "--ours", "--theirs"}).status, 0);
    ASSERT_EQ(In(ours, {"apply-patch", Patch(), "--ours"}).status, 0);
    EXPECT_EQ(Json(In(ours, {"player", "1"}))["pace"], mine);
    EXPECT_EQ(Json(In(ours, {"player", "4"}))["last_name"], "Clean");
    ASSERT_EQ(In(ours, {"apply-patch", Patch(), "--theirs"}).status, 0);
    EXPECT_EQ(Json(In(ours, {"player", "1"}))["pace"], theirValue);
}

TEST_F(PatchCommandsTest, DamagedPatchesAreRefusedWithLineAndReason) {
    ASSERT_EQ(In(theirs, {"set", "player", "1", "last_name", "X"}).status, 0);
    ASSERT_EQ(In(theirs, {"make-patch", "--base", ours.string(), Patch()}).status, 0);
    const std::string text = ReadAllText(Patch());
    const auto before = ReadAll(Db(ours));
    const auto refuse = [&](const std::string& damaged, const std::string& reason) {
        const std::string file = (Root() / "damaged.kpatch").string();
        ASSERT_TRUE(WriteAll(file, std::vector<std::uint8_t>(damaged.begin(), damaged.end())));
        const SProcessResult result = In(ours, {"apply-patch", file});
        EXPECT_EQ(result.status, 1);
        EXPECT_TRUE(Contains(result.err, "line ")) << result.err;
        EXPECT_TRUE(Contains(result.err, reason)) << result.err;
        EXPECT_TRUE(Contains(result.err, "nothing was applied")) << result.err;
        EXPECT_EQ(ReadAll(Db(ours)), before);
    };
    refuse(text.substr(0, text.size() - 10), "");
    std::string version = text;
    version.replace(version.find("\"version\": 1"), 12, "\"version\": 9");
    refuse(version, "unknown format version 9");
    std::string field = text;
    field.replace(field.find("\"last_name\""), 11, "\"lost_name\"");
    refuse(field, "unknown field 'lost_name'");
    std::string type = text;
    type.replace(type.find("\"kind\": \"player\""), 16, "\"kind\": 4");
    refuse(type, "\"kind\"");

    // A value the database's column cannot hold is refused at apply, with the patch's line.
    ASSERT_EQ(In(theirs, {"set", "player", "4", "pace", "60"}).status, 0);
    ASSERT_EQ(In(theirs, {"make-patch", "--base", ours.string(), Patch()}).status, 0);
    std::string range = ReadAllText(Patch());
    const size_t pace = range.find("\"pace\": [");
    ASSERT_NE(pace, std::string::npos);
    const size_t comma = range.find(',', pace);
    range.replace(comma, range.find(']', pace) - comma, ", 1000");
    ASSERT_TRUE(WriteAll(Patch(), std::vector<std::uint8_t>(range.begin(), range.end())));
    const SProcessResult result = In(ours, {"apply-patch", Patch()});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Contains(result.err, "line 9: player 4: field pace")) << result.err;
    EXPECT_EQ(ReadAll(Db(ours)), before);

    const SProcessResult folder = In(ours, {"apply-patch", Root().string()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_TRUE(Contains(folder.err, "not a regular file"));
}

// Usage errors are status 2 with the usage line on standard error, and touch nothing.
TEST_F(PatchCommandsTest, UsageErrorsExitTwoAndWriteNothing) {
    fs::remove(Patch());
    const auto before = fs::last_write_time(Db(ours));
    const std::vector<std::vector<std::string>> wrong = {
        {"make-patch", Patch()},
        {"make-patch", "--base", theirs.string(), "--original", Patch()},
        {"diff"},
        {"diff", theirs.string(), "extra"},
        {"apply-patch"},
        {"apply-patch", Patch(), "--ours", "--theirs"},
        {"copy-team", "1"},
        {"copy-player", "--from", theirs.string()},
        {"copy-player", "--from", theirs.string(), "1", "2", "3"},
    };
    for (const auto& args : wrong) {
        const SProcessResult result = In(ours, args);
        EXPECT_EQ(result.status, 2) << args[0] << " with " << args.size() << " arguments";
        EXPECT_TRUE(Contains(result.err, "usage: kestrel-cli " + args[0])) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
    EXPECT_FALSE(fs::exists(Patch()));
    EXPECT_EQ(fs::last_write_time(Db(ours)), before);
}

TEST_F(PatchCommandsTest, MakePatchWithNoOriginalBackupFails) {
    fs::remove(Patch());
    const SProcessResult none = In(ours, {"make-patch", "--original", Patch()});
    EXPECT_EQ(none.status, 1);
    EXPECT_FALSE(fs::exists(Patch()));
}

TEST_F(PatchCommandsTest, CopyTeamWithPlayersFromAnotherInstallation) {
    ASSERT_EQ(In(theirs, {"set", "team", "1", "team_name", "Travelling FC"}).status, 0);
    const auto team = Json(In(theirs, {"team", "1"}));
    const auto league = Json(In(ours, {"league", "1"}));
    const SProcessResult copied =
        In(ours, {"copy-team", "--from", theirs.string(), "1", "--league", "1", "--with-players"});
    ASSERT_EQ(copied.status, 0) << copied.err;
    // Team 1 is taken here: the copy gets a new id; its players are here already, unchanged.
    std::istringstream lines(copied.out);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    ASSERT_EQ(line.substr(0, 7), "team\t1\t");
    const std::string here = line.substr(7);
    EXPECT_NE(here, "1");
    const auto copy = Json(In(ours, {"team", here}));
    EXPECT_EQ(copy["team_name"], "Travelling FC");
    EXPECT_EQ(copy["squad"], team["squad"]);
    EXPECT_EQ(copy["kits"].size(), team["kits"].size());
    size_t players = 0, pictures = 0;
    while (std::getline(lines, line)) {
        std::istringstream cells(line);
        std::string kind, there, here2;
        std::getline(cells, kind, '\t');
        std::getline(cells, there, '\t');
        std::getline(cells, here2, '\t');
        if (kind == "picture") {
            ++pictures;
            continue;
        }
        EXPECT_EQ(kind, "player");
        EXPECT_EQ(there, here2); // the same player by the same id is used, not copied
        ++players;
    }
    EXPECT_EQ(players, team["squad"].size());
    EXPECT_EQ(pictures, 1 + team["kits"].size()) << copied.err;
    EXPECT_EQ(Json(In(ours, {"league", "1"}))["teams"].size(), league["teams"].size() + 1);
    // The crest and kit pictures came along under the new id.
    const SProcessResult crest = In(ours, {"picture", "export", "crest", here,
                                           (Root() / "crest.png").string()});
    EXPECT_EQ(crest.status, 0) << crest.err;

    EXPECT_EQ(In(ours, {"copy-team", "--from", theirs.string(), "999999"}).status, 1);
    EXPECT_EQ(In(ours, {"copy-team", "--from", theirs.string(), "1", "--league", "999"}).status, 1);
    EXPECT_NE(In(ours, {"copy-team", "1"}).status, 0);
}

TEST_F(PatchCommandsTest, CopyPlayerFromAnotherInstallation) {
    ASSERT_EQ(In(theirs, {"set", "player", "5", "last_name", "Different"}).status, 0);
    const SProcessResult same = In(ours, {"copy-player", "--from", theirs.string(), "6"});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "player\t6\t6\n");
    const SProcessResult copied = In(ours, {"copy-player", "--from", theirs.string(), "5", "2"});
    ASSERT_EQ(copied.status, 0) << copied.err;
    const std::string id = copied.out.substr(copied.out.rfind('\t') + 1);
    EXPECT_NE(std::stoi(id), 5);
    const auto player = Json(In(ours, {"player", std::to_string(std::stoi(id))}));
    EXPECT_EQ(player["last_name"], "Different");
    // The old form keeps working.
    EXPECT_EQ(In(ours, {"copy-player", "5", "2"}).status, 0);
    EXPECT_EQ(In(ours, {"copy-player", "--from", theirs.string(), "99999999"}).status, 1);
    EXPECT_EQ(In(ours, {"copy-player", "--from", theirs.string(), "5", "99999"}).status, 1);
}
