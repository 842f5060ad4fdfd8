#include "tests/cli/CCliSampleFixture.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;

namespace {

// The backup commands on a copy of the sample installation.
class BackupCommandsTest : public CCliSampleFixture {
protected:
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // Field n of a tab-separated line.
    static std::string Field(const std::string& line, int n) {
        std::istringstream in(line);
        std::string field;
        for (int i = 0; i <= n; ++i)
            std::getline(in, field, '\t');
        return field;
    }

};

} // namespace

TEST_F(BackupCommandsTest, CheckPrintsOneLinePerFindingAndFailsOnErrors) {
    auto result = Run({"check"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");

    ASSERT_EQ(Run({"set", "team", "1", "stadium_id", "1000"}).status, 0);
    result = Run({"check"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "error\tmissing-stadium\tteam\t1\tstadium_id 1000 does not exist\n");

    result = Run({"check", "--json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, R"({"findings":[{"severity":"error","code":"missing-stadium",)"
                          R"("kind":"team","id":1,"message":"stadium_id 1000 does not exist"}]})"
                          "\n");
}

TEST_F(BackupCommandsTest, CheckReadsEveryRecordOfADamagedFile) {
    std::vector<uint8_t> bytes = ReadAll(db);
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(WriteAll(db, bytes));
    const auto result = Run({"check"});
    EXPECT_EQ(result.status, 1);
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Field(lines[0], 0), "error");
    EXPECT_EQ(Field(lines[0], 1), "structure");
    EXPECT_EQ(Field(lines[0], 2), "file");
}

TEST_F(BackupCommandsTest, SavesMakeBackupsThatRestoreAndUndo) {
    const auto original = ReadAll(db);
    EXPECT_EQ(Run({"backups"}).out, "");
    ASSERT_EQ(Run({"set", "player", "1", "height", "190"}).status, 0);
    ASSERT_EQ(Run({"set", "player", "1", "height", "191"}).status, 0);
    const auto edited = ReadAll(db);

    auto lines = Lines(Run({"backups"}).out);
    // Two database copies (before each save) and one of the texts, whose second copy was
    // identical to the first.
    ASSERT_EQ(lines.size(), 3u) << Run({"backups"}).out;
    int originals = 0;
    for (const std::string& line : lines)
        originals += Field(line, 5) == "original";
    EXPECT_EQ(originals, 2);
    const std::string& newest = lines[0];
    EXPECT_EQ(Field(newest, 2), "corvid.db");
    EXPECT_NE(Field(newest, 4).find("players "), std::string::npos);

    auto result = Run({"restore", "--original"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadAll(db), original);
    // The file as it was is itself a backup: restoring it undoes the restore.
    const std::string marker = "the file as it was is backup ";
    const auto at = result.out.find(marker);
    ASSERT_NE(at, std::string::npos) << result.out;
    const std::string undo = Lines(result.out.substr(at + marker.size()))[0];
    ASSERT_EQ(Run({"restore", undo}).status, 0);
    EXPECT_EQ(ReadAll(db), edited);

    result = Run({"restore", "no-such-backup"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no backup named 'no-such-backup'"), std::string::npos);
    result = Run({"restore", "--original", "--texts"});
    EXPECT_EQ(result.status, 0) << result.err;
}

TEST_F(BackupCommandsTest, BulkBacksUpTheDatabaseItChanges) {
    ASSERT_EQ(Run({"set", "player", "1", "height", "190"}).status, 0);
    const auto previous = ReadAll(db);
    const fs::path folder = game / "data" / "cmn" / "backups";
    const auto copiesOfPrevious = [&] {
        int copies = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            copies += ReadAll(entry.path()) == previous;
        return copies;
    };
    ASSERT_EQ(copiesOfPrevious(), 0);
    // A dry run saves nothing and so copies nothing.
    const auto listed = Lines(Run({"backups"}).out).size();
    ASSERT_EQ(Run({"bulk", "--where", "position_group=0", "reflexes+=3", "--dry-run"}).status, 0);
    EXPECT_EQ(Lines(Run({"backups"}).out).size(), listed);

    const auto result = Run({"bulk", "--where", "position_group=0", "reflexes+=3"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(ReadAll(db), previous);
    EXPECT_EQ(copiesOfPrevious(), 1);
    EXPECT_EQ(Field(Lines(Run({"backups"}).out)[0], 2), "corvid.db");
}

TEST_F(BackupCommandsTest, KeepLimitsTheBackupsAndIsChecked) {
    for (int height : {181, 182, 183, 184})
        ASSERT_EQ(Run({"--keep", "1", "set", "player", "1", "height", std::to_string(height)})
                      .status,
                  0);
    int databaseCopies = 0;
    for (const std::string& line : Lines(Run({"backups"}).out))
        databaseCopies += Field(line, 2) == "corvid.db";
    EXPECT_EQ(databaseCopies, 2); // the original and the newest
    for (const char* bad : {"-1", "1001", "many"}) {
        const auto result = Run({"--keep", bad, "backups"});
        EXPECT_EQ(result.status, 2); // a wrong command line
        EXPECT_NE(result.err.find("--keep needs a number from 0 to 1000"), std::string::npos)
            << result.err;
    }
}

TEST_F(BackupCommandsTest, ADamagedBackupIsRefused) {
    ASSERT_EQ(Run({"set", "player", "1", "height", "190"}).status, 0);
    const auto lines = Lines(Run({"backups"}).out);
    std::string name;
    for (const std::string& line : lines)
        if (Field(line, 2) == "corvid.db")
            name = Field(line, 1);
    ASSERT_FALSE(name.empty());
    const fs::path copy = game / "data" / "cmn" / "backups" / name;
    auto bytes = ReadAll(copy);
    bytes[bytes.size() / 2] ^= 0xFF;
    ASSERT_TRUE(WriteAll(copy, bytes));
    const auto before = ReadAll(db);
    const auto result = Run({"restore", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("is damaged"), std::string::npos) << result.err;
    EXPECT_EQ(ReadAll(db), before);
    EXPECT_EQ(Lines(Run({"backups"}).out).size(), lines.size());
}
