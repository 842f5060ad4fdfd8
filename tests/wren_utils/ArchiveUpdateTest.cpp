#include "WrenTestFiles.h"

#include "tests/support/WholeFile.h"
#include "wren_utils/archive/BigArchiveUpdate.h"
#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/pack/PackEncoder.h"

#include <gtest/gtest.h>

#include <csignal>
#ifndef _WIN32
#include <unistd.h>
#endif
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace wren;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Three entries with distinct contents, aligned to 16 like the sample's tools do.
Bytes SampleArchive(std::uint32_t alignment = 16) {
    BigArchiveWriter writer;
    writer.SetAlignment(alignment);
    writer.Add("first.fsh", CountingBytes(5000));
    writer.Add("kit.fsh", Text("old kit"));
    writer.Add("last.fsh", CountingBytes(70000));
    std::string error;
    return *writer.Build(error);
}

Bytes EntryBytes(const Bytes& archive, const std::string& name) {
    const auto view = BigArchiveView::Open(archive);
    const auto entry = view ? view->Find(name) : std::nullopt;
    return entry ? Bytes(entry->data.begin(), entry->data.end()) : Bytes{};
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Passes writes through until `budget` bytes have gone, then fails like a full disk.
class FullDisk : public BigOutput {
public:
    FullDisk(std::unique_ptr<BigOutput> inner, std::size_t budget)
        : inner_(std::move(inner)), budget_(budget) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (size > budget_) {
            inner_->Write(data, budget_);
            budget_ = 0;
            return false;
        }
        budget_ -= size;
        return inner_->Write(data, size);
    }
    bool Sync() override { return inner_->Sync(); }

private:
    std::unique_ptr<BigOutput> inner_;
    std::size_t budget_;
};

TEST(BigArchiveUpdate, ReplacesOneEntryAndKeepsTheOthersByteForByte) {
    CTempFolder folder;
    const Bytes before = SampleArchive();
    const std::string path = folder.Write("zdata_05.big", before);
    BigPutResult result;
    std::string error;
    const Bytes kit = CountingBytes(12345);
    ASSERT_TRUE(BIG_putentry(path, "kit.fsh", kit, result, error)) << error;
    EXPECT_FALSE(result.appended);
    EXPECT_FALSE(result.created);

    const Bytes after = ReadAll(path);
    EXPECT_EQ(result.archiveSize, after.size());
    EXPECT_EQ(EntryBytes(after, "kit.fsh"), kit);
    for (const char* other : {"first.fsh", "last.fsh"})
        EXPECT_EQ(EntryBytes(after, other), EntryBytes(before, other)) << other;
    const auto view = BigArchiveView::Open(after);
    ASSERT_TRUE(view);
    const auto entries = view->Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].name, "kit.fsh");
    for (const BigEntry& entry : entries)
        EXPECT_EQ(entry.offset % 16, 0u) << entry.name;

    // The old archive is kept whole beside the new one; no temporary file stays.
    EXPECT_EQ(result.backupPath, path + ".bak");
    EXPECT_EQ(ReadAll(result.backupPath), before);
    EXPECT_EQ(FilesIn(folder.Path()),
              (std::vector<std::string>{"zdata_05.big", "zdata_05.big.bak"}));

    // The streamed directory reader sees what the in-memory view sees.
    const auto directory = BIG_readdirectory(path, error);
    ASSERT_TRUE(directory) << error;
    EXPECT_EQ(directory->entries.size(), 3u);
    EXPECT_EQ(BIG_readfileentry(path, "kit.fsh", error), kit);
    EXPECT_FALSE(BIG_readfileentry(path, "KIT.FSH", error)); // names are exact
}

TEST(BigArchiveUpdate, AppendsAMissingEntryAndMakesAMissingArchive) {
    CTempFolder folder;
    const Bytes before = SampleArchive(1);
    const std::string path = folder.Write("zdata_05.big", before);
    BigPutResult result;
    std::string error;
    ASSERT_TRUE(BIG_putentry(path, "new.fsh", Text("new"), result, error)) << error;
    EXPECT_TRUE(result.appended);
    const Bytes after = ReadAll(path);
    const auto entries = BigArchiveView::Open(after)->Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3].name, "new.fsh");
    EXPECT_EQ(EntryBytes(after, "new.fsh"), Text("new"));
    for (const char* other : {"first.fsh", "kit.fsh", "last.fsh"})
        EXPECT_EQ(EntryBytes(after, other), EntryBytes(before, other)) << other;

    const std::string fresh = folder.File("zdata_04.big");
    ASSERT_TRUE(BIG_putentry(fresh, "only.fsh", Text("alone"), result, error)) << error;
    EXPECT_TRUE(result.created);
    EXPECT_TRUE(result.backupPath.empty());
    EXPECT_EQ(EntryBytes(ReadAll(fresh), "only.fsh"), Text("alone"));
}

TEST(BigArchiveUpdate, KeepsKindWidthsAndVersionMarker) {
    CTempFolder folder;
    BigArchiveWriter writer(BigArchiveWriter::Kind::Big4);
    writer.SetVersionMarker({'L', 231, 0x01020304});
    writer.Add("a", Text("aaa"));
    std::string error;
    const std::string path = folder.Write("marked.big", *writer.Build(error));
    BigPutResult result;
    ASSERT_TRUE(BIG_putentry(path, "b", Text("bb"), result, error)) << error;
    const Bytes after = ReadAll(path);
    const auto view = BigArchiveView::Open(after);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->Kind(), BigKind::Numbered);
    EXPECT_EQ(view->Version(), 231);
    EXPECT_EQ(view->VersionValue(), 0x01020304u);
    EXPECT_EQ(EntryBytes(after, "a"), Text("aaa"));
    EXPECT_EQ(EntryBytes(after, "b"), Text("bb"));

    // The short kind: 3-byte fields and a 16-bit header length.
    Bytes shortKind = {0xC0, 0xFB, 0, 0, 0, 1, 0, 0, 20, 0, 0, 3, 'x', 0};
    shortKind[3] = static_cast<std::uint8_t>(shortKind.size() - 4);
    shortKind.resize(20);
    shortKind.insert(shortKind.end(), {'o', 'l', 'd'});
    const std::string shortPath = folder.Write("short.big", shortKind);
    ASSERT_TRUE(BIG_putentry(shortPath, "x", Text("newer"), result, error)) << error;
    ASSERT_TRUE(BIG_putentry(shortPath, "y", Text("why"), result, error)) << error;
    const Bytes shortAfter = ReadAll(shortPath);
    EXPECT_EQ(BigArchiveView::Open(shortAfter)->Kind(), BigKind::Short);
    EXPECT_EQ(EntryBytes(shortAfter, "x"), Text("newer"));
    EXPECT_EQ(EntryBytes(shortAfter, "y"), Text("why"));
}

TEST(BigArchiveUpdate, AFailedWriteLeavesTheOldArchiveAndNoTemporaryFile) {
    CTempFolder folder;
    const Bytes before = SampleArchive();
    const std::string path = folder.Write("zdata_05.big", before);
    // A full disk at the header, inside an old entry, inside the new entry, at the last byte.
    for (const std::size_t budget : {std::size_t{0}, std::size_t{40}, std::size_t{3000},
                                     std::size_t{9000}, std::size_t{30000}}) {
        BigPutOptions options;
        options.wrapOutput = [budget](std::unique_ptr<BigOutput> inner) {
            return std::make_unique<FullDisk>(std::move(inner), budget);
        };
        BigPutResult result;
        std::string error;
        EXPECT_FALSE(BIG_putentry(path, "kit.fsh", CountingBytes(20000), result, error, options))
            << budget;
        EXPECT_EQ(error, "write failed");
        EXPECT_EQ(ReadAll(path), before) << budget;
        EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"zdata_05.big"}) << budget;
    }
}

// A caller's backup replaces the .bak: it sees the old archive still in place, and its failure
// stops the update with nothing changed.
TEST(BigArchiveUpdate, ACallersBackupRunsBeforeTheSwapAndCanStopIt) {
    CTempFolder folder;
    const Bytes before = SampleArchive();
    const std::string path = folder.Write("zdata_05.big", before);
    BigPutOptions options;
    Bytes seen;
    options.backup = [&](const std::string& archive, std::string& backupPath, std::string&) {
        seen = ReadAll(archive);
        backupPath = "elsewhere";
        return true;
    };
    BigPutResult result;
    std::string error;
    ASSERT_TRUE(BIG_putentry(path, "kit.fsh", Text("new"), result, error, options)) << error;
    EXPECT_EQ(seen, before);
    EXPECT_EQ(result.backupPath, "elsewhere");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"zdata_05.big"});

    const Bytes now = ReadAll(path);
    options.backup = [](const std::string&, std::string&, std::string& reason) {
        reason = "disk full";
        return false;
    };
    EXPECT_FALSE(BIG_putentry(path, "kit.fsh", Text("newer"), result, error, options));
    EXPECT_NE(error.find("cannot back the old archive up"), std::string::npos) << error;
    EXPECT_NE(error.find("disk full"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), now);
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"zdata_05.big"});
}

#ifndef _WIN32
TEST(BigArchiveUpdateDeathTest, AProcessKilledBeforeTheSwapLeavesTheOldArchive) {
    // Forked without a new start, so the killed child writes into this test's folder.
    GTEST_FLAG_SET(death_test_style, "fast");
    CTempFolder folder;
    const Bytes before = SampleArchive();
    const std::string path = folder.Write("zdata_05.big", before);
    BigPutOptions options;
    options.beforeSwap = [] { std::raise(SIGKILL); };
    EXPECT_EXIT(
        {
            BigPutResult result;
            std::string error;
            BIG_putentry(path, "kit.fsh", CountingBytes(20000), result, error, options);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(ReadAll(path), before);
    // The dead update's complete temporary file is still there.
    std::vector<std::string> left = FilesIn(folder.Path());
    ASSERT_EQ(left.size(), 3u);
    EXPECT_TRUE(left[2].starts_with("zdata_05.big.import-") && left[2].ends_with(".tmp"))
        << left[2];
    // Temporary files of running updates (this process's) and of other archives stay.
    const std::string running = "zdata_05.big.import-" + std::to_string(::getpid()) + "-7.tmp";
    folder.Write(running, Text("running"));
    folder.Write("zdata_04.big.import-1-0.tmp", Text("other archive"));
    folder.Write("zdata_05.big.import-x-0.tmp", Text("not ours"));

    // The next update removes the dead one's leftover and goes through.
    BigPutResult result;
    std::string error;
    ASSERT_TRUE(BIG_putentry(path, "kit.fsh", Text("x"), result, error)) << error;
    EXPECT_EQ(result.removedTemporaries, 1);
    const Bytes after = ReadAll(path);
    EXPECT_EQ(EntryBytes(after, "kit.fsh"), Text("x"));
    for (const char* other : {"first.fsh", "last.fsh"})
        EXPECT_EQ(EntryBytes(after, other), EntryBytes(before, other)) << other;
    EXPECT_EQ(FilesIn(folder.Path()),
              (std::vector<std::string>{"zdata_04.big.import-1-0.tmp", "zdata_05.big", "zdata_05.big.bak",
                                        running, "zdata_05.big.import-x-0.tmp"}));
}
#endif

// A whole archive stored as one packed stream has no directory of its own for the streamed
// reads; it is refused as what it is, untouched.
TEST(BigArchiveUpdate, RefusesAWholeArchiveStoredAsOnePackedStream) {
    CTempFolder folder;
    const auto packed = PACK_pack(SampleArchive());
    ASSERT_TRUE(packed);
    const std::string path = folder.Write("zdata_05.big", *packed);
    BigPutResult result;
    std::string error;
    EXPECT_FALSE(BIG_putentry(path, "kit.fsh", Text("x"), result, error));
    EXPECT_NE(error.find("stored as one packed stream"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), *packed);
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"zdata_05.big"});
    EXPECT_FALSE(BIG_readdirectory(path, error));
    EXPECT_NE(error.find("stored as one packed stream"), std::string::npos) << error;
    EXPECT_FALSE(BIG_readfileentry(path, "kit.fsh", error));
}

TEST(BigArchiveUpdate, RefusesReadOnlyDamagedAndForeignFiles) {
    CTempFolder folder;
    const Bytes before = SampleArchive();
    BigPutResult result;
    std::string error;

    const std::string readOnly = folder.Write("readonly.big", before);
    fs::permissions(readOnly,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(BIG_putentry(readOnly, "kit.fsh", Text("x"), result, error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(readOnly), before);

    Bytes damaged = before;
    damaged.resize(damaged.size() - 100); // the last entry now runs past the end
    const std::string cut = folder.Write("cut.big", damaged);
    EXPECT_FALSE(BIG_putentry(cut, "kit.fsh", Text("x"), result, error));
    EXPECT_NE(error.find("last.fsh"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(cut), damaged);

    const std::string foreign = folder.Write("foreign.big", Text("PK\x03\x04 something else"));
    EXPECT_FALSE(BIG_putentry(foreign, "kit.fsh", Text("x"), result, error));
    EXPECT_NE(error.find("not an archive"), std::string::npos) << error;

    const std::string good = folder.Write("good.big", before);
    EXPECT_FALSE(BIG_putentry(good, std::string("a\0b", 3), Text("x"), result, error));
    EXPECT_FALSE(BIG_putentry(good, "", Text("x"), result, error));
    EXPECT_EQ(ReadAll(good), before);
    fs::permissions(readOnly, fs::perms::owner_all);
    EXPECT_EQ(FilesIn(folder.Path()),
              (std::vector<std::string>{"cut.big", "foreign.big", "good.big", "readonly.big"}));
}

} // namespace
