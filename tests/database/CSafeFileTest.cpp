#include "editor/database/CSafeFile.h"
#include "editor/database/CIngameTextDb.h"

#include "CRecordingSink.h"
#include "tests/support/CDbFileBuilder.h"
#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <thread>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

size_t FilesIn(const std::filesystem::path& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

// A text database holding one text, "original" with id 7.
[[maybe_unused]] void WriteOneTextDatabase(const std::string& path) {
    WriteAll(path, CDbFileBuilder::OneText(0, 0, "original"));
}

} // namespace

TEST(CSafeFileTest, ReplacesTheFileAndLeavesNothingElseBehind) {
    CTempFolder folder;
    const std::string path = folder.File("target.db");
    WriteAll(path, {1, 2, 3});
    std::string error;
    const std::vector<uint8_t> bytes(100000, 0x5A);
    ASSERT_TRUE(CSafeFile::Write(path, bytes, error)) << error;
    EXPECT_EQ(ReadAll(path), bytes);
    EXPECT_EQ(FilesIn(folder.Path()), 1u);

    ASSERT_TRUE(CSafeFile::Write(folder.File("new.db"), {}, error)) << error;
    EXPECT_TRUE(ReadAll(folder.File("new.db")).empty());
}

TEST(CSafeFileTest, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
    CTempFolder folder;
    std::string error;
    const std::vector<uint8_t> bytes = {1};
    std::filesystem::create_directory(folder.Path() / "sub");
    EXPECT_FALSE(CSafeFile::Write(folder.File("sub"), bytes, error));
    EXPECT_NE(error.find("folder"), std::string::npos) << error;
    EXPECT_FALSE(CSafeFile::Write(folder.File("missing/x.db"), bytes, error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

#ifndef _WIN32
TEST(CSafeFileTest, KeepsPermissionsAndWritesThroughALink) {
    CTempFolder folder;
    const std::string real = folder.File("real.db");
    WriteAll(real, {1});
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink(real, folder.File("link.db"));
    std::string error;
    ASSERT_TRUE(CSafeFile::Write(folder.File("link.db"), std::vector<uint8_t>{7, 7}, error));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.db")));
    EXPECT_EQ(ReadAll(real), (std::vector<uint8_t>{7, 7}));
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// A file the user made read-only is refused with the reason, whoever saves it, and keeps its
// bytes, its mode and its group; a writable one keeps its group through the replacement.
TEST(CSafeFileTest, ARefusedTargetStaysAsItWasAndAReplacedOneKeepsItsGroup) {
    CTempFolder folder;
    const std::string path = folder.File("corvid.db");
    WriteOneTextDatabase(path);
    const std::vector<uint8_t> before = ReadAll(path);
    ::chmod(path.c_str(), 0444);
    CIngameTextDb texts(path);
    CRecordingSink sink;
    ASSERT_TRUE(texts.ReadIngameTextDb(sink));
    ASSERT_TRUE(texts.SetText(7, "changed"));
    EXPECT_FALSE(texts.SaveIngameTextDb(sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].key, "Error_OpenToWrite");
    EXPECT_NE(sink.Last().find(path + ": it is read-only"), std::string::npos) << sink.Last();
    EXPECT_EQ(ReadAll(path), before);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(FilesIn(folder.Path()), 1u);

    // Another group than the saving user's own: the replacement must carry it over.
    ::chmod(path.c_str(), 0664);
    const gid_t other = ::getegid() == 65534 ? 100 : 65534;
    if (::chown(path.c_str(), static_cast<uid_t>(-1), other) != 0)
        GTEST_SKIP() << "this user cannot give the file another group";
    std::string error;
    ASSERT_TRUE(CSafeFile::Write(path, std::vector<uint8_t>{9}, error)) << error;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_gid, other);
    EXPECT_EQ(info.st_mode & 0777, 0664u);
}

TEST(CSafeFileTest, ATargetThatIsNoRegularFileIsRefused) {
    CTempFolder folder;
    const std::string fifo = folder.File("pipe.db");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(CSafeFile::Write(fifo, std::vector<uint8_t>{1}, error));
    EXPECT_EQ(error, "it is not a regular file");
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

TEST(CSafeFileTest, AKilledSaveLeavesTheOriginalIntactAndLoadable) {
    CTempFolder folder;
    const std::string path = folder.File("eng.db");
    WriteOneTextDatabase(path);
    const std::vector<uint8_t> original = ReadAll(path);

    for (int attempt = 0; attempt < 5; ++attempt) {
        WriteAll(path, original);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CIngameTextDb texts(path);
            CRecordingSink sink;
            if (!texts.ReadIngameTextDb(sink))
                ::_exit(2);
            for (uint32_t i = 0; i < 400000; ++i)
                texts.AddText(i, std::string(200, 'a' + static_cast<char>(i % 26)));
            for (;;)
                texts.SaveIngameTextDb(sink);
        }
        // Let the child build and start writing, then stop it without warning.
        std::this_thread::sleep_for(std::chrono::milliseconds(300 + 150 * attempt));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own";

        const std::vector<uint8_t> now = ReadAll(path);
        CIngameTextDb texts(path);
        CRecordingSink sink;
        ASSERT_TRUE(texts.ReadIngameTextDb(sink)) << sink.Last();
        if (now == original) {
            EXPECT_EQ(texts.FindText(7), "original");
        } else {
            // A save that finished before the kill: complete, never partial.
            EXPECT_EQ(texts.Entries().size(), 400001u);
        }
        // Whatever the child left behind is a temporary file, never the target.
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            if (entry.path().filename() != "eng.db")
                std::filesystem::remove(entry.path());
    }
}
#endif

#ifndef _WIN32
// The temporary file is made with the target's mode: a private file is never readable to
// others while the new bytes are written. The source here is a FIFO, so the copy waits in the
// middle until the test has looked.
TEST(CSafeFileTest, TheTemporaryFileHasTheTargetsModeWhileItIsWritten) {
    CTempFolder folder;
    const std::string target = folder.File("private.db");
    ASSERT_TRUE(WriteText(target, "old"));
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);
    const std::string feed = folder.File("feed");
    ASSERT_EQ(::mkfifo(feed.c_str(), 0644), 0);
    bool copiedOk = false;
    std::thread copier([&] {
        CSafeFile::SCopied copied;
        std::string error;
        copiedOk = CSafeFile::Copy(feed, target, copied, error);
    });
    const int writer = ::open(feed.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "new", 3), 3);
    std::filesystem::path temp;
    for (int wait = 0; wait < 500 && temp.empty(); ++wait) {
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            if (entry.path().filename().string().starts_with("private.db.tmp"))
                temp = entry.path();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(std::filesystem::status(temp).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // A write still at work is no leftover: a clean-up beside it leaves its file alone.
    EXPECT_EQ(CSafeFile::RemoveAbandonedTemporaries(target), 0);
    ::close(writer);
    copier.join();
    EXPECT_TRUE(copiedOk);
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_EQ(FilesIn(folder.Path()), 2u);
}
#endif
