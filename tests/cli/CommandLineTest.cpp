// The tool's command-line conventions as scripts meet them: exit statuses, the version and
// help, output that could not be written, "-" for the standard streams, targets that are links
// or devices, and the CSV import's separators and limits.
#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

SProcessIo Input(const std::string& path) {
    SProcessIo io;
    io.input = path;
    return io;
}

SProcessIo Output(const std::string& path) {
    SProcessIo io;
    io.output = path;
    return io;
}

SProcessIo ClosedOutput() {
    SProcessIo io;
    io.closedOutput = true;
    return io;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CommandLineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new CTempFolder();
        sampleStatus = RunProcess(KESTREL_CLI, {"make-sample", (Root() / "sample").string()},
                                  Root())
                           .status;
    }
    static void TearDownTestSuite() { delete scratch; }
    void SetUp() override {
        ASSERT_EQ(sampleStatus, 0);
        fs::copy(Root() / "sample", Game(), fs::copy_options::recursive);
    }

    static const fs::path& Root() { return scratch->Path(); }
    fs::path Game() const { return folder.Path() / "game"; }
    std::string Db() const { return (Game() / "data" / "cmn" / "corvid.db").string(); }
    std::string Texts() const { return (Game() / "data" / "cmn" / "fe" / "eng.db").string(); }

    SProcessResult Run(const std::vector<std::string>& args, const SProcessIo& io = {}) const {
        return RunProcess(KESTREL_CLI, args, folder.Path(), io);
    }
    SProcessResult OnGame(std::vector<std::string> args, const SProcessIo& io = {}) const {
        args.insert(args.begin(), {"--game", Game().string()});
        return Run(args, io);
    }

    CTempFolder folder;
    static inline CTempFolder* scratch = nullptr;
    static inline int sampleStatus = -1;
};

} // namespace

TEST_F(CommandLineTest, VersionHelpAndUsageErrorsHaveTheirOwnStatus) {
    const SProcessResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("kestrel-cli ")) << version.out;
    EXPECT_EQ(std::count(version.out.begin(), version.out.end(), '\n'), 1);
    for (const char* help : {"-h", "--help"}) {
        const SProcessResult result = Run({help});
        EXPECT_EQ(result.status, 0) << help;
        EXPECT_TRUE(Contains(result.out, "Usage: kestrel-cli [GLOBAL OPTIONS] COMMAND")) << help;
        EXPECT_EQ(result.err, "");
    }
    // No command: the help, on standard error, as a usage error.
    const SProcessResult none = Run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(Contains(none.err, "Usage: kestrel-cli [GLOBAL OPTIONS] COMMAND")) << none.err;

    const struct {
        std::vector<std::string> args;
        const char* message;
    } usageErrors[] = {
        {{"frobnicate"}, "unknown command 'frobnicate' (usage: kestrel-cli [GLOBAL OPTIONS]"},
        {{"--frobnicate"}, "unknown option --frobnicate (usage: kestrel-cli [GLOBAL OPTIONS]"},
        {{"summary", "--frobnicate"}, "unknown option --frobnicate (usage: kestrel-cli summary)"},
        {{"pack", "only-one"}, "usage: kestrel-cli pack IN OUT"},
        {{"texts"}, "usage: kestrel-cli texts FILE"},
        {{"players", "--where"}, "usage: kestrel-cli players"},
        {{"--keep", "x", "summary"}, "--keep needs a number"},
        {{"summary", "--version"}, "--version takes no command"},
        {{"picture", "--game", "g", "import", "face", "1", "x.png"}, "usage: kestrel-cli picture"},
    };
    for (const auto& error : usageErrors) {
        const SProcessResult result = Run(error.args);
        EXPECT_EQ(result.status, 2) << error.message;
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("kestrel-cli: ")) << result.err;
        EXPECT_TRUE(Contains(result.err, error.message)) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    // A failure of the work itself is 1.
    const SProcessResult missing = OnGame({"player", "99999999"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "kestrel-cli: no player with id 99999999\n");
}

// check: 0 without errors, 1 with error findings, 2 when it could not look at a database.
TEST_F(CommandLineTest, CheckSaysWhetherItFoundErrorsOrCouldNotRun) {
    EXPECT_EQ(OnGame({"check"}).status, 0);
    ASSERT_TRUE(WriteText(folder.File("junk.db"), "not a database at all"));
    const SProcessResult damaged = Run({"--db", folder.File("junk.db"), "check"});
    EXPECT_EQ(damaged.status, 1) << damaged.err;
    EXPECT_TRUE(damaged.out.starts_with("error\t")) << damaged.out;
    const SProcessResult noGame = Run({"check"});
    EXPECT_EQ(noGame.status, 2);
    EXPECT_TRUE(Contains(noGame.err, "no game")) << noGame.err;
    const SProcessResult missing = Run({"--db", folder.File("missing.db"), "check"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(Contains(missing.err, "there is no such file")) << missing.err;
    const SProcessResult folderGiven = Run({"--db", folder.Path().string(), "check"});
    EXPECT_EQ(folderGiven.status, 2);
    EXPECT_EQ(folderGiven.out, "");
}

TEST_F(CommandLineTest, OutputThatCannotBeWrittenIsAFailure) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"summary"}, {"players", "--csv"}, {"export", "teams", "-"}}) {
        const SProcessResult full = OnGame(args, Output("/dev/full"));
        EXPECT_EQ(full.status, 1) << args[0];
        EXPECT_TRUE(Contains(full.err, "kestrel-cli: cannot write")) << full.err;
        EXPECT_TRUE(Contains(full.err, "No space left on device")) << full.err;
    }
#ifndef _WIN32
    // A reader that went away (`| head`) only wanted less: nothing is said.
    const SProcessResult closed = OnGame({"players", "--csv"}, ClosedOutput());
    EXPECT_EQ(closed.err, "");
    EXPECT_TRUE(closed.status == 0 || closed.status == 141) << closed.status;
#endif
}

TEST_F(CommandLineTest, DashIsStandardInputOrOutput) {
    // export to "-" prints what export to a file writes; import from "-" reads it back.
    const SProcessResult exported = OnGame({"export", "players", "-"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ASSERT_EQ(OnGame({"export", "players", folder.File("players.csv")}).status, 0);
    EXPECT_EQ(exported.out, ReadText(folder.File("players.csv")));
    std::string csv = "id,pace\r\n1,77\r\n";
    ASSERT_TRUE(WriteText(folder.File("pace.csv"), csv));
    const SProcessResult imported =
        OnGame({"import", "players", "-"}, Input(folder.File("pace.csv")));
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "imported 1 row from standard input (comma separated)\n");
    EXPECT_TRUE(Contains(OnGame({"player", "1"}).out, "\"pace\":77,"));

    // Texts and catalogues read from standard input.
    const SProcessResult texts = Run({"texts", "-"}, Input(Texts()));
    ASSERT_EQ(texts.status, 0) << texts.err;
    EXPECT_EQ(texts.out, Run({"texts", Texts()}).out);
    EXPECT_EQ(Run({"info", "-"}, Input(Db())).out, Run({"info", Db()}).out);
    EXPECT_EQ(Run({"texts", "-", "--set", "1", "x"}, Input(Texts())).status, 2);

    // pack from standard input, unpack to standard output: the bytes come back.
    ASSERT_EQ(Run({"pack", "-", folder.File("texts.pack")}, Input(Texts())).status, 0);
    const SProcessResult unpacked = Run({"unpack", folder.File("texts.pack"), "-"});
    ASSERT_EQ(unpacked.status, 0) << unpacked.err;
    EXPECT_EQ(unpacked.out, ReadText(Texts()));
    const SProcessResult packed = Run({"pack", Texts(), "-"});
    EXPECT_EQ(packed.out, ReadText(folder.File("texts.pack")));
}

#ifndef _WIN32
// pack and unpack keep a link a link (its file gets the bytes) and write into a device.
TEST_F(CommandLineTest, PackAndUnpackWriteThroughLinksAndDevices) {
    ASSERT_TRUE(WriteText(folder.File("target.bin"), "old"));
    fs::create_symlink(folder.File("target.bin"), folder.File("link.bin"));
    ASSERT_EQ(Run({"pack", Texts(), folder.File("link.bin")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(folder.File("link.bin")));
    ASSERT_EQ(Run({"unpack", folder.File("target.bin"), folder.File("back.db")}).status, 0);
    EXPECT_EQ(ReadText(folder.File("back.db")), ReadText(Texts()));

    fs::create_symlink("/dev/null", folder.File("null"));
    for (const char* command : {"pack", "unpack"}) {
        const std::string in = command == std::string("pack") ? Texts() : folder.File("target.bin");
        const SProcessResult result = Run({command, in, folder.File("null")});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(fs::is_symlink(folder.File("null"))) << command;
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
    // Nothing of the writes is left beside the files.
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        EXPECT_FALSE(Contains(entry.path().filename().string(), ".tmp")) << entry.path();
}
#endif

TEST_F(CommandLineTest, CsvImportTakesTheHeadersSeparator) {
    const struct {
        const char* text;
        const char* name;
        int pace;
    } files[] = {
        {"id;pace;stamina\r\n1;60;50\r\n1;61;50\r\n", "semicolon", 61},
        {"id\tpace\n1\t70\n1\t71\n", "tab", 71},
        {"\xEF\xBB\xBFid,pace\n1,80\n1,81\n", "comma", 81},
    };
    for (const auto& file : files) {
        ASSERT_TRUE(WriteText(folder.File("in.csv"), file.text));
        const SProcessResult result = OnGame({"import", "players", folder.File("in.csv")});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(Contains(result.out, "imported 2 rows from ")) << result.out;
        EXPECT_TRUE(Contains(result.out, std::string("(") + file.name + " separated)"))
            << result.out;
        EXPECT_TRUE(Contains(OnGame({"player", "1"}).out,
                             "\"pace\":" + std::to_string(file.pace) + ","));
    }
    // Quoting problems name the row and column; nothing is imported.
    const std::string before = ReadText(Db());
    ASSERT_TRUE(WriteText(folder.File("bad.csv"), "id;last_name\n1;\"Smith\"\n2;\"Jo\"nes\n"));
    const SProcessResult bad = OnGame({"import", "players", folder.File("bad.csv")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(Contains(bad.err, "row 3, column 2: text after the closing quote of a field"))
        << bad.err;
    EXPECT_TRUE(Contains(bad.err, "nothing was imported")) << bad.err;
    EXPECT_EQ(ReadText(Db()), before);
}

TEST_F(CommandLineTest, CsvImportRefusesAFileBeyondItsLimit) {
    const std::string before = ReadText(Db());
    // A sparse file: its size says it all, without writing 300 MiB.
    ASSERT_TRUE(WriteText(folder.File("huge.csv"), "id,pace\n1,50\n"));
    fs::resize_file(folder.File("huge.csv"), std::uintmax_t{300} << 20);
    const SProcessResult result = OnGame({"import", "players", folder.File("huge.csv")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(Contains(result.err, "is 300 MiB, more than the 256 MiB an import reads"))
        << result.err;
    EXPECT_EQ(ReadText(Db()), before);
    // A row of more than a mebibyte is refused too, naming it.
    ASSERT_TRUE(WriteText(folder.File("long.csv"), "id,last_name\n1," + std::string(2 << 20, 'a')));
    const SProcessResult longRow = OnGame({"import", "players", folder.File("long.csv")});
    EXPECT_EQ(longRow.status, 1);
    EXPECT_TRUE(Contains(longRow.err, "row 2, column 2: the row is longer than 1 MiB"))
        << longRow.err;
}

TEST_F(CommandLineTest, LongFiltersAreTakenAndBounded) {
    std::string filter;
    for (int i = 0; i < 5000; ++i)
        filter += (i > 0 ? " or name~\"" : "name~\"") + std::to_string(i) + "q\"";
    const SProcessResult many = OnGame({"players", "--where", filter + " or id=1"});
    ASSERT_EQ(many.status, 0) << many.err;
    EXPECT_TRUE(Contains(many.out, "1 of ")) << many.out;
    std::string ids = "id=1";
    for (int i = 0; i < 10000; ++i)
        ids += " or id=1";
    const SProcessResult tooMany = OnGame({"players", "--where", ids});
    EXPECT_EQ(tooMany.status, 1);
    EXPECT_TRUE(Contains(tooMany.err, "more than 10000 comparisons")) << tooMany.err;
}
