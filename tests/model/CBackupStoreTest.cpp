#include "TestDatabaseFiles.h"

#include "editor/database/CInstallationLock.h"
#include "editor/database/CSha256.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameDatabase.h"

#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Gives the field of a side file (as the store writes them, one per line) another value.
void SetSideField(const fs::path& side, const std::string& field, const std::string& value) {
    std::string text = ReadText(side);
    const size_t at = text.find("\"" + field + "\": ");
    ASSERT_NE(at, std::string::npos) << text;
    const size_t end = text.find_first_of(",\n", at);
    text.replace(at, end - at, "\"" + field + "\": " + value);
    ASSERT_TRUE(WriteText(side, text));
}

class CBackupStoreTest : public ::testing::Test {
protected:
    // Writes a new version of the file and backs it up; the backup's name.
    std::string Version(const std::string& text, int keep = 20) {
        EXPECT_TRUE(WriteAll(file, Bytes(text)));
        std::string made, error;
        EXPECT_TRUE(store.Backup(file, keep, made, error)) << error;
        return made;
    }

    CTempFolder scratch;
    const fs::path file = scratch.Path() / "corvid.db";
    const CBackupStore store{CBackupStore::FolderFor(file)};
};

} // namespace

TEST(CSha256Test, KnownDigests) {
    EXPECT_EQ(CSha256::Hex({}),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(CSha256::Hex(Bytes("abc")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(CBackupStoreTest, CopiesWithSideFileAndSkipsAnIdenticalNewest) {
    EXPECT_EQ(store.Folder(), scratch.Path() / "backups");
    std::string made, error;
    EXPECT_TRUE(store.Backup(file, 20, made, error)); // nothing there yet: nothing to copy
    EXPECT_TRUE(made.empty());

    const std::string first = Version("one");
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first.ends_with("_corvid.db"));
    EXPECT_EQ(first.size(), std::string("2026-12-07T14-03-22_corvid.db").size());
    EXPECT_EQ(ReadText(store.Folder() / first), "one");
    const auto info = store.Find(first);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->file, "corvid.db");
    EXPECT_EQ(info->size, 3u);
    EXPECT_EQ(info->sha256, CSha256::Hex(Bytes("one")));
    EXPECT_TRUE(info->original);
    EXPECT_FALSE(info->version.empty());
    EXPECT_TRUE(info->counts.empty()); // not a database

    EXPECT_TRUE(Version("one").empty());
    const std::string second = Version("two");
    EXPECT_NE(second, first); // same second, still a name of its own
    EXPECT_TRUE(Version("two").empty());
    // Identical to an older backup but not the newest: copied again.
    EXPECT_FALSE(Version("one").empty());
    const auto all = store.List();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].name, second);
    EXPECT_FALSE(all[0].original);
}

TEST_F(CBackupStoreTest, RotationKeepsTheOriginalAndTheNewest) {
    const std::string original = Version("v0", 2);
    for (int v = 1; v <= 5; ++v)
        Version("v" + std::to_string(v), 2);
    std::vector<std::string> kept;
    for (const SBackupInfo& info : store.List("corvid.db"))
        kept.push_back(ReadText(store.Folder() / info.name));
    EXPECT_EQ(kept, (std::vector<std::string>{"v5", "v4", "v0"}));
    EXPECT_EQ(store.Original("corvid.db")->name, original);
    // The side files of rotated backups went with them.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(store.Folder()))
        ++files;
    EXPECT_EQ(files, 6);
    // Each file rotates on its own.
    WriteAll(scratch.Path() / "eng.db", Bytes("texts"));
    std::string made, error;
    ASSERT_TRUE(store.Backup(scratch.Path() / "eng.db", 2, made, error));
    EXPECT_TRUE(store.Find(made)->original);
    EXPECT_EQ(store.List("corvid.db").size(), 3u);
}

TEST_F(CBackupStoreTest, DamagedSideFilesAreNotOffered) {
    const std::string name = Version("one");
    for (const std::string& text : {std::string("{"), std::string("[]"),
                                    std::string(R"({"file": 5, "time": "x"})"),
                                    std::string(R"({"file":"../x","time":"t","size":1,"sha256":"a"})")}) {
        ASSERT_TRUE(WriteText(store.Folder() / (name + ".json"), text));
        EXPECT_TRUE(store.List().empty()) << text;
    }
}

TEST_F(CBackupStoreTest, OrderIsByTimeThenSequenceAndWildSequencesCountAsUnknown) {
    const std::string older = Version("one");
    const std::string newer = Version("two");
    ASSERT_EQ(store.List()[0].name, newer);
    // A later time wins over a larger sequence.
    SetSideField(store.Folder() / (older + ".json"), "time", "\"2999-01-01 00:00:00\"");
    EXPECT_EQ(store.List()[0].name, older);
    for (const char* wild : {"-5", "9223372036854775807", "18446744073709551615"}) {
        SetSideField(store.Folder() / (newer + ".json"), "sequence", wild);
        ASSERT_TRUE(store.Find(newer)) << wild;
        EXPECT_EQ(store.Find(newer)->sequence, 0) << wild;
    }
    // The next copy counts on from the largest sane sequence.
    const std::string next = Version("three");
    EXPECT_EQ(store.Find(next)->sequence, store.Find(older)->sequence + 1);
    // Not a number, or a time of another form: not our side file.
    SetSideField(store.Folder() / (newer + ".json"), "sequence", "\"7\"");
    EXPECT_FALSE(store.Find(newer));
    SetSideField(store.Folder() / (newer + ".json"), "sequence", "7");
    SetSideField(store.Folder() / (newer + ".json"), "time", "\"yesterday\"");
    EXPECT_FALSE(store.Find(newer));
}

TEST_F(CBackupStoreTest, RestoreChecksBacksUpTheCurrentFileAndCanBeUndone) {
    const std::string old = Version("old");
    ASSERT_TRUE(WriteAll(file, Bytes("current")));

    std::string before, error;
    ASSERT_TRUE(store.Restore(*store.Find(old), file, 20, before, error)) << error;
    EXPECT_EQ(ReadText(file), "old");
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(ReadText(store.Folder() / before), "current");

    // Undo: restore the copy the restore made.
    std::string again;
    ASSERT_TRUE(store.Restore(*store.Find(before), file, 20, again, error)) << error;
    EXPECT_EQ(ReadText(file), "current");
    EXPECT_EQ(ReadText(store.Folder() / again), "old");

    ASSERT_TRUE(store.Restore(*store.Original("corvid.db"), file, 20, again, error)) << error;
    EXPECT_EQ(ReadText(file), "old");
}

TEST_F(CBackupStoreTest, RestoreKeepsTheBackupItRestoresFromRotation) {
    const std::string oldest = Version("a", 2);
    const std::string restored = Version("b", 2);
    Version("c", 2);
    ASSERT_TRUE(WriteAll(file, Bytes("d")));
    // The copy of "d" would rotate "b" out: the one being restored stays.
    std::string before, error;
    ASSERT_TRUE(store.Restore(*store.Find(restored), file, 2, before, error)) << error;
    EXPECT_EQ(ReadText(file), "b");
    EXPECT_TRUE(store.Find(restored));
    EXPECT_TRUE(store.Find(oldest)); // the original
    EXPECT_EQ(store.List().size(), 4u);
}

TEST_F(CBackupStoreTest, DamagedOrForeignBackupsAreRefusedAndNothingChanges) {
    const std::string name = Version("good");
    ASSERT_TRUE(WriteAll(store.Folder() / name, Bytes("evil")));
    ASSERT_TRUE(WriteAll(file, Bytes("current")));
    std::string before, error;
    EXPECT_FALSE(store.Restore(*store.Find(name), file, 20, before, error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    EXPECT_EQ(ReadText(file), "current");
    EXPECT_EQ(store.List().size(), 1u); // no backup of the current file either

    error.clear();
    EXPECT_FALSE(store.Restore(*store.Find(name), scratch.Path() / "eng.db", 20, before, error));
    EXPECT_NE(error.find("is a copy of corvid.db"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(scratch.Path() / "eng.db"));
}

// Archives are large: copied and hashed in chunks, never counted as databases, and only a few
// copies kept. The bytes here span several copy chunks, with a last partial one.
TEST_F(CBackupStoreTest, ArchivesAreStreamedAndKeepTheOriginalAndFewCopies) {
    const fs::path archive = scratch.Path() / "data" / "zdata_05.big";
    fs::create_directories(archive.parent_path());
    auto version = [&](uint8_t seed) {
        std::vector<uint8_t> bytes((size_t{9} << 20) + 123);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(i * 31 + seed + (i >> 20));
        EXPECT_TRUE(WriteAll(archive, bytes));
        std::string made, error;
        EXPECT_TRUE(store.Backup(archive, CBackupStore::kDefaultKeep, made, error)) << error;
        return std::pair{made, bytes};
    };
    EXPECT_TRUE(CBackupStore::IsArchive("zdata_05.big"));
    EXPECT_TRUE(CBackupStore::IsArchive("ZDATA_04.BIG"));
    EXPECT_FALSE(CBackupStore::IsArchive("corvid.db"));

    const auto [original, originalBytes] = version(1);
    const auto info = store.Find(original);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->file, "zdata_05.big");
    EXPECT_EQ(info->size, originalBytes.size());
    EXPECT_EQ(info->sha256, CSha256::Hex(originalBytes));
    EXPECT_TRUE(info->counts.empty());
    EXPECT_EQ(ReadAll(store.Folder() / original), originalBytes);
    std::string error;
    EXPECT_TRUE(store.Verify(*info, error)) << error;

    std::vector<std::string> names;
    for (uint8_t seed = 2; seed <= 5; ++seed)
        names.push_back(version(seed).first);
    std::vector<std::string> kept;
    for (const SBackupInfo& backup : store.List("zdata_05.big"))
        kept.push_back(backup.name);
    EXPECT_EQ(kept, (std::vector<std::string>{names[3], names[2], original}));

    // Restoring puts the original back through a streamed copy, the current one backed up.
    std::vector<uint8_t> current = originalBytes;
    current.back() ^= 0xFF;
    ASSERT_TRUE(WriteAll(archive, current));
    std::string before;
    ASSERT_TRUE(store.Restore(*store.Original("zdata_05.big"), archive, 20, before, error))
        << error;
    EXPECT_EQ(ReadAll(archive), originalBytes);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(ReadAll(store.Folder() / before), current);
    EXPECT_EQ(store.List("zdata_05.big").size(), 3u);

    // A damaged copy is found by the chunked check and refused; the archive stays.
    std::vector<uint8_t> damaged = ReadAll(store.Folder() / before);
    damaged[(size_t{5} << 20) + 7] ^= 1;
    ASSERT_TRUE(WriteAll(store.Folder() / before, damaged));
    EXPECT_FALSE(store.Verify(*store.Find(before), error));
    EXPECT_FALSE(store.Restore(*store.Find(before), archive, 20, before, error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(archive), originalBytes);
}

// Saves of the model copy both files first, and a copy that cannot be made stops the save.
class CSaveBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteDatabase(folder / "corvid.db",
                      FullGame({Table("players", [](CDbSectionWriter& out) {
                          PackPlayer(out, 1, "Ada", "", "Lovelace");
                          PackPlayer(out, 2, "Alan", "", "Turing");
                      })}));
        WriteTexts(folder / "eng.db", {{1, "hello"}});
        ASSERT_TRUE(db.LoadGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    }
    std::string Path(const std::string& name) const { return (folder / name).string(); }

    CTempFolder scratch;
    const fs::path folder = scratch.Path();
    CGameDatabase db;
    CRecordingSink sink;
};

TEST_F(CSaveBackupTest, BothFilesAreCopiedBeforeASave) {
    const auto oldDb = ReadAll(folder / "corvid.db");
    const auto oldTexts = ReadAll(folder / "eng.db");
    db.FindPlayer(1)->SetLastName("Byron");
    ASSERT_TRUE(db.SaveGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    const CBackupStore store(folder / "backups");
    const auto dbCopies = store.List("corvid.db");
    const auto textCopies = store.List("eng.db");
    ASSERT_EQ(dbCopies.size(), 1u);
    ASSERT_EQ(textCopies.size(), 1u);
    EXPECT_EQ(ReadAll(folder / "backups" / dbCopies[0].name), oldDb);
    EXPECT_EQ(ReadAll(folder / "backups" / textCopies[0].name), oldTexts);
    EXPECT_EQ(dbCopies[0].counts.at("players"), 2);
    EXPECT_EQ(dbCopies[0].counts.at("teams"), 0);
    EXPECT_EQ(textCopies[0].counts.at("texts"), 1);

    // Saving what is on disk again adds nothing; a change adds one copy of the database.
    ASSERT_TRUE(db.SaveGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    ASSERT_TRUE(db.SaveGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    EXPECT_EQ(store.List("corvid.db").size(), 2u);

    db.SetBackupSettings({false, 20});
    db.FindPlayer(1)->SetLastName("Ada");
    ASSERT_TRUE(db.SaveGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    EXPECT_EQ(store.List("corvid.db").size(), 2u);
}

TEST_F(CSaveBackupTest, AFailedCopyStopsTheSaveWithBothFilesIntact) {
    ASSERT_TRUE(WriteText(folder / "backups", "a file where the folder should be"));
    const auto oldDb = ReadAll(folder / "corvid.db");
    const auto oldTexts = ReadAll(folder / "eng.db");
    db.FindPlayer(1)->SetLastName("Byron");
    EXPECT_FALSE(db.SaveGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_TRUE(sink.messages.back().starts_with("Error_Backup: cannot create the backups folder"))
        << sink.messages.back();
    EXPECT_EQ(ReadAll(folder / "corvid.db"), oldDb);
    EXPECT_EQ(ReadAll(folder / "eng.db"), oldTexts);
}

// A save takes the installation's lock: while another writer holds it, the save waits as long
// as the default wait, then stops with nothing written.
TEST_F(CSaveBackupTest, ASaveWaitsForAnotherWriterThenWritesNothing) {
    const auto oldDb = ReadAll(folder / "corvid.db");
    std::atomic<int> state = 0; // 1: held, 2: let go
    std::thread holder([&] {
        CInstallationLock lock;
        std::string error;
        if (!lock.Acquire(folder, std::chrono::milliseconds(0), error))
            return;
        state = 1;
        while (state != 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    while (state == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto wait = CInstallationLock::DefaultWait();
    CInstallationLock::SetDefaultWait(std::chrono::milliseconds(100));
    db.FindPlayer(1)->SetLastName("Byron");
    db.MarkDirty();
    EXPECT_FALSE(db.SaveGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    state = 2;
    holder.join();
    CInstallationLock::SetDefaultWait(wait);
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_TRUE(sink.messages.back().starts_with(
        "Error_Locked: another program is writing this game's files"))
        << sink.messages.back();
    EXPECT_EQ(ReadAll(folder / "corvid.db"), oldDb);
    EXPECT_FALSE(fs::exists(folder / "backups"));
    EXPECT_TRUE(db.IsDirty());

    EXPECT_TRUE(db.SaveGameDatabase(Path("corvid.db"), Path("eng.db"), sink));
    EXPECT_NE(ReadAll(folder / "corvid.db"), oldDb);
}
