#include "editor/database/CInstallationLock.h"
#include "editor/database/CSha256.h"
#include "editor/model/CBackupStore.h"
#include "tests/model/TestDatabaseFiles.h"
#include "tests/cli/CCliSampleFixture.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Writers of one installation through the real tool, each case on its own copy of a sample.
class WriterSafetyTest : public CCliSampleFixture {
protected:
    // A player's field as the tool prints it.
    std::string PlayerField(int id, const std::string& field) {
        const SProcessResult result = Run({"players", "--where", "id=" + std::to_string(id),
                                           "--fields", field, "--csv"});
        EXPECT_EQ(result.status, 0) << result.err;
        std::istringstream lines(result.out);
        std::string header, value;
        std::getline(lines, header);
        std::getline(lines, value);
        return value.substr(0, value.find('\r'));
    }
    // The names of the backups of file, as backups lists them (newest first).
    std::vector<std::string> CopiesOf(const std::string& file) {
        std::vector<std::string> names;
        for (const std::string& line : BackupLines()) {
            std::vector<std::string> fields;
            std::istringstream in(line);
            for (std::string field; std::getline(in, field, '\t');)
                fields.push_back(field);
            if (fields.size() > 2 && fields[2] == file)
                names.push_back(fields[1]);
        }
        return names;
    }
    std::vector<std::string> BackupLines() {
        std::vector<std::string> lines;
        std::istringstream in(Run({"backups"}).out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    const fs::path cmn = game / "data" / "cmn";
    const fs::path backups = cmn / "backups";
};

} // namespace

#ifndef _WIN32
// Two loops of 20 saves each, run at once: each save loads under the lock, so every one of the
// 40 increments is in the file at the end.
TEST_F(WriterSafetyTest, TwoWritersInParallelLoseNoChange) {
    ASSERT_EQ(Run({"set", "player", "1", "pace", "10"}).status, 0);
    const std::string script =
        "run() { i=0; while [ $i -lt 20 ]; do \"$1\" --game \"$2\" --wait 120 bulk --where "
        "\"id=$3\" pace+=1 >/dev/null || return 1; i=$((i+1)); done; }; "
        "run \"$1\" \"$2\" 1 & a=$!; run \"$1\" \"$2\" 1 & b=$!; wait $a && wait $b";
    const SProcessResult result =
        RunProcess("sh", {"-c", script, "sh", KESTREL_CLI, game.string()}, scratch.Path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(PlayerField(1, "pace"), "50");
    EXPECT_EQ(Run({"check"}).status, 0);
}
#endif

// Another writer holds the lock: a command waits as long as --wait says, then stops with a
// message naming the holder and the option, and changes nothing; once free, it goes through.
TEST_F(WriterSafetyTest, ASecondWriterWaitsABoundedTimeThenSaysWhy) {
    const auto before = ReadAll(db);
    CInstallationLock::SetHolderName("writer-safety-test");
    CInstallationLock lock;
    std::string error;
    ASSERT_TRUE(lock.Acquire(cmn, 0ms, error)) << error;

    const auto started = std::chrono::steady_clock::now();
    SProcessResult result = Run({"--wait", "0.5", "set", "player", "1", "pace", "77"});
    EXPECT_GE(std::chrono::steady_clock::now() - started, 500ms);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("another program is writing this game's files "
                              "(writer-safety-test, process "),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("did not finish within 0.5 seconds"), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("--wait SECONDS"), std::string::npos) << result.err;
    EXPECT_EQ(ReadAll(db), before);
    EXPECT_FALSE(fs::exists(backups));

    // Each kind of writer: restore, texts --set, picture import.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--wait", "0", "restore", "--original"},
          {"--wait", "0", "texts", (cmn / "fe" / "eng.db").string(), "--set", "1", "x"},
          {"--wait", "0", "picture", "import", "crest", "1", "missing.png"}}) {
        result = Run(args);
        EXPECT_EQ(result.status, 1) << args[2];
        EXPECT_NE(result.err.find("another program is writing"), std::string::npos)
            << result.err;
    }
    // Readers do not wait.
    EXPECT_EQ(Run({"--wait", "0", "summary"}).status, 0);

    lock.Release();
    result = Run({"--wait", "0", "set", "player", "1", "pace", "77"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(PlayerField(1, "pace"), "77");

    result = Run({"--wait", "soon", "set", "player", "1", "pace", "70"});
    EXPECT_EQ(result.status, 2); // a usage error
    EXPECT_NE(result.err.find("--wait needs a number of seconds from 0 to 3600, not 'soon'"),
              std::string::npos)
        << result.err;
}

// A file whose load had to leave rows out: a save would lose them, so it needs --force.
TEST_F(WriterSafetyTest, ASaveThatLosesRowsTheLoadLeftOutNeedsForce) {
    const fs::path damaged = scratch.Path() / "damaged.db";
    WriteDatabase(damaged, FullGame({Table("players", [](CDbSectionWriter& out) {
                      PackPlayer(out, 1, "Ada", "", "Lovelace");
                      PackPlayer(out, 1, "Alan", "", "Turing");
                      PackPlayer(out, 2, "Grace", "", "Hopper");
                  })}));
    const auto before = ReadAll(damaged);
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--db", damaged.string()});
        return RunProcess(KESTREL_CLI, args, scratch.Path());
    };
    SProcessResult result = run({"set", "player", "2", "pace", "60"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kestrel-cli: nothing was saved: the load had to leave out 1 row of " +
                              damaged.string() +
                              " that a save would lose (the second record 1 of table players; "
                              "kestrel-cli check lists them). Give --force to save without "
                              "them\n");
    EXPECT_EQ(ReadAll(damaged), before);
    EXPECT_EQ(run({"resave"}).status, 1);
    EXPECT_EQ(ReadAll(damaged), before);

    result = run({"--force", "set", "player", "2", "pace", "60"});
    EXPECT_EQ(result.status, 0) << result.err;
    result = run({"check"});
    EXPECT_EQ(result.out.find("duplicate-id"), std::string::npos) << result.out;
    // Nothing left out any more: no --force needed.
    EXPECT_EQ(run({"set", "player", "2", "pace", "61"}).status, 0);
}

// A restore reads the copy as the file it replaces; check names a file without the tables.
TEST_F(WriterSafetyTest, RestoreRefusesACopyOfAnotherKindAndCheckSaysWhatIsMissing) {
    ASSERT_EQ(Run({"set", "player", "1", "pace", "70"}).status, 0);
    const auto before = ReadAll(db);
    // A side file that claims the text database is a copy of the game database.
    const fs::path copy = backups / "2020-01-01T00-00-00_corvid.db";
    fs::copy_file(cmn / "fe" / "eng.db", copy);
    const auto texts = ReadAll(copy);
    ASSERT_TRUE(WriteText(fs::path(copy.string() + ".json"),
                          R"({"file":"corvid.db","time":"2020-01-01 00:00:00","size":)" +
                              std::to_string(texts.size()) + R"(,"sha256":")" +
                              CSha256::Hex(texts) + R"(","sequence":1})"));
    SProcessResult result = Run({"restore", copy.filename().string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("does not read as the kind of file corvid.db is, so it was not "
                              "restored: it has no table coloridtorgb"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadAll(db), before);

    // The same file put in place by hand: check reports it instead of passing it.
    fs::copy_file(copy, db, fs::copy_options::overwrite_existing);
    result = Run({"check"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("error\tmissing-table\tfile\t0\tthe file has no table players, so "
                              "it is not a game database the game can use\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("the file has no table teamstats, which the game needs"),
              std::string::npos);

    // And a copy of the game database is no text database.
    ASSERT_TRUE(WriteAll(db, before));
    const fs::path other = backups / "2020-01-01T00-00-01_eng.db";
    fs::copy_file(db, other);
    ASSERT_TRUE(WriteText(fs::path(other.string() + ".json"),
                          R"({"file":"eng.db","time":"2020-01-01 00:00:01","size":)" +
                              std::to_string(before.size()) + R"(,"sha256":")" +
                              CSha256::Hex(before) + R"(","sequence":2})"));
    const auto textsBefore = ReadAll(cmn / "fe" / "eng.db");
    result = Run({"restore", other.filename().string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("it has no table language"), std::string::npos) << result.err;
    EXPECT_EQ(ReadAll(cmn / "fe" / "eng.db"), textsBefore);
}

#ifndef _WIN32
// A side file that is a FIFO, a device, a link to one, or huge is skipped with a warning: the
// save neither hangs nor reads it whole.
TEST_F(WriterSafetyTest, SideFilesThatAreNoSaneFilesAreSkippedWithAWarning) {
    ASSERT_EQ(Run({"set", "player", "1", "pace", "70"}).status, 0);
    const auto copy = [&](const std::string& stamp) {
        const fs::path path = backups / (stamp + "_corvid.db");
        fs::copy_file(db, path);
        return fs::path(path.string() + ".json");
    };
    const fs::path fifo = copy("2020-01-01T00-00-00");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, copy("2020-01-01T00-00-01"));
    fs::create_symlink("/dev/zero", copy("2020-01-01T00-00-02"));
    const fs::path huge = copy("2020-01-01T00-00-03");
    ASSERT_TRUE(WriteText(huge, "{}"));
    fs::resize_file(huge, CBackupStore::kMaxSideFileBytes + 1);
    const size_t listed = BackupLines().size();

    // Bounded by timeout: a hang fails the test instead of stopping the suite.
    const SProcessResult result =
        RunProcess("timeout", {"60", KESTREL_CLI, "--game", game.string(), "set", "player", "1",
                               "pace", "71"},
                   scratch.Path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("warning: skipped the backup side file " + fifo.string() +
                              ": it is not a regular file"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("_corvid.db.json: it is larger than 1048576 bytes"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(PlayerField(1, "pace"), "71");
    EXPECT_EQ(BackupLines().size(), listed + 1);
}

// A sequence at the largest 64-bit value: the next one does not overflow, and rotation keeps
// the newest copies, ordered by time first.
TEST_F(WriterSafetyTest, AHugeSequenceNeitherOverflowsNorRotatesTheNewestOut) {
    ASSERT_EQ(Run({"set", "player", "1", "pace", "60"}).status, 0);
    const std::vector<std::string> first = CopiesOf("corvid.db");
    ASSERT_EQ(first.size(), 1u);
    const fs::path side = backups / (first[0] + ".json");
    std::string text = ReadText(side);
    const size_t at = text.find("\"sequence\": ");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, text.find(',', at) - at, "\"sequence\": 9223372036854775807");
    ASSERT_TRUE(WriteText(side, text));

    std::vector<std::string> made;
    for (int pace = 61; pace <= 64; ++pace) {
        const SProcessResult result =
            Run({"--keep", "2", "set", "player", "1", "pace", std::to_string(pace)});
        ASSERT_EQ(result.status, 0) << result.err;
        made.push_back(CopiesOf("corvid.db").at(0));
    }
    // The newest two and the original, newest first.
    EXPECT_EQ(CopiesOf("corvid.db"), (std::vector<std::string>{made[3], made[2], first[0]}));
    EXPECT_NE(ReadText(side).find("\"original\": true"), std::string::npos);
}

// What killed saves left: the next save of the same file removes its temporary files whose
// writer is gone (not one still locked by its writer, nor a file that only looks alike), and
// completes a copy whose side file was never written.
TEST_F(WriterSafetyTest, KilledSavesLeftoversAreTidiedByTheNextSave) {
    fs::create_directories(backups);
    const std::vector<fs::path> stale = {
        cmn / "corvid.db.tmp123_4_0", cmn / "fe" / "eng.db.tmp5_6_0",
        backups / "2020-01-01T00-00-00_corvid.db.tmp7_0_0",
        backups / "2020-01-01T00-00-00_corvid.db.json.tmp8_0_0"};
    for (const fs::path& path : stale)
        ASSERT_TRUE(WriteText(path, "half written"));
    const fs::path live = cmn / "corvid.db.tmp9_9_9";
    ASSERT_TRUE(WriteText(live, "being written"));
    const int liveFd = ::open(live.c_str(), O_RDWR);
    ASSERT_GE(liveFd, 0);
    ASSERT_EQ(::flock(liveFd, LOCK_EX | LOCK_NB), 0);
    const fs::path lookalike = cmn / "corvid.db.tmpl";
    ASSERT_TRUE(WriteText(lookalike, "someone's own file"));
    const fs::path orphan = backups / "2020-01-01T00-00-05_corvid.db";
    fs::copy_file(db, orphan);

    const SProcessResult result = Run({"set", "player", "1", "pace", "66"});
    ::close(liveFd);
    ASSERT_EQ(result.status, 0) << result.err;
    for (const fs::path& path : stale)
        EXPECT_FALSE(fs::exists(path)) << path;
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(lookalike));
    EXPECT_NE(result.err.find("completed the backup 2020-01-01T00-00-05_corvid.db"),
              std::string::npos)
        << result.err;
    bool listed = false;
    for (const std::string& line : BackupLines())
        listed = listed || line.starts_with("2020-01-01 00:00:05\t2020-01-01T00-00-05_corvid.db\t"
                                            "corvid.db\t" +
                                            std::to_string(fs::file_size(orphan)) + " bytes\tplayers ");
    EXPECT_TRUE(listed);
    // Completed, it restores like any other backup.
    const SProcessResult restore = Run({"restore", orphan.filename().string()});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(ReadAll(db), ReadAll(orphan));
}

// A private database stays private: its backups and their side files are made with its mode.
TEST_F(WriterSafetyTest, APrivateDatabaseGetsPrivateBackups) {
    fs::permissions(db, fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(cmn / "fe" / "eng.db", fs::perms::owner_read | fs::perms::owner_write);
    const SProcessResult result = Run({"set", "player", "1", "pace", "66"});
    ASSERT_EQ(result.status, 0) << result.err;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(backups)) {
        ++files;
        EXPECT_EQ(fs::status(entry.path()).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << entry.path();
    }
    EXPECT_EQ(files, 4);
    EXPECT_EQ(fs::status(db).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}
#endif
