#include "WrenTestFiles.h"

#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/archive/BigStreamReader.h"
#include "wren_utils/engine/DebugPrint.h"
#include "wren_utils/engine/FileSystem.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace wren;
using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

void PutNumber(Bytes& out, std::uint64_t value, int width) {
    for (int i = width - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A hand-made archive: magic, then directory entries with the given field widths; the data
// region holds each entry's name as its content. headerLength 0: computed.
struct RawEntry {
    std::string name;
    std::uint64_t offset;
    std::uint64_t size;
};

Bytes RawArchive(const std::string& magic, int offsetWidth, int sizeWidth,
                 const std::vector<RawEntry>& entries, const Bytes& tail = {},
                 std::uint32_t count = 0xFFFFFFFF) {
    Bytes directory;
    for (const RawEntry& entry : entries) {
        PutNumber(directory, entry.offset, offsetWidth);
        PutNumber(directory, entry.size, sizeWidth);
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
        directory.push_back(0);
    }
    directory.insert(directory.end(), tail.begin(), tail.end());
    Bytes out = Text(magic);
    if (magic.size() == 2) {
        PutNumber(out, directory.size() + 2, 2); // header length less 4
        PutNumber(out, entries.size(), 2);
    } else {
        PutNumber(out, 0, 4);
        PutNumber(out, count == 0xFFFFFFFF ? entries.size() : count, 4);
        PutNumber(out, 16 + directory.size(), 4);
    }
    out.insert(out.end(), directory.begin(), directory.end());
    return out;
}

std::string EntryText(const std::optional<BigEntry>& entry) {
    if (!entry)
        return "<none>";
    return std::string(entry->data.begin(), entry->data.end());
}

// The view of bytes that must outlive it; fails the test when they are no archive.
BigArchiveView Open(const Bytes& bytes) {
    static const Bytes kEmpty = RawArchive("BIGF", 4, 4, {});
    auto view = BigArchiveView::Open(bytes);
    EXPECT_TRUE(view.has_value());
    return view.value_or(*BigArchiveView::Open(kEmpty));
}

TEST(BigArchiveView, WrittenArchivesOfBothKindsRoundTrip) {
    for (const auto kind : {BigArchiveWriter::Kind::Bigf, BigArchiveWriter::Kind::Big4}) {
        BigArchiveWriter writer(kind);
        writer.SetAlignment(16);
        writer.Add("league.fsh", Text("league data"));
        writer.Add("kits/t001.fsh", Text("kit"));
        writer.Add("empty", {});
        std::string error;
        const auto bytes = writer.Build(error);
        ASSERT_TRUE(bytes.has_value()) << error;
        const BigArchiveView view = Open(*bytes);
        EXPECT_EQ(view.Kind(),
                  kind == BigArchiveWriter::Kind::Bigf ? BigKind::Bigf : BigKind::Numbered);
        EXPECT_EQ(EntryText(view.Find("LEAGUE.FSH")), "league data");
        EXPECT_EQ(EntryText(view.Find("Kits/T001.fsh")), "kit");
        EXPECT_EQ(EntryText(view.Find("empty")), "");
        EXPECT_FALSE(view.Find("league").has_value());
        EXPECT_EQ(EntryText(view.At(1)), "kit");
        EXPECT_FALSE(view.At(3).has_value());
        const auto entries = view.Entries();
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(entries[0].offset % 16, 0u);
        EXPECT_EQ(entries[2].name, "empty");
        EXPECT_FALSE(view.Version().has_value());
    }
}

TEST(BigArchiveView, ShortAndNumberedKinds) {
    // Short kind: 3-byte fields, directory from byte 6. Data at 40.
    Bytes shortKind = RawArchive("\xC0\xFB", 3, 3, {{"a.fsh", 40, 3}, {"b.fsh", 43, 2}});
    shortKind.resize(40);
    shortKind.insert(shortKind.end(), {'o', 'n', 'e', 't', 'w'});
    EXPECT_EQ(EntryText(Open(shortKind).Find("B.FSH")), "tw");
    EXPECT_EQ(Open(shortKind).Kind(), BigKind::Short);

    // "BIG3": 3-byte fields; "BIG6": 6-byte offsets, 4-byte sizes.
    for (const auto& [magic, offsetWidth, sizeWidth] :
         {std::tuple{"BIG3", 3, 3}, std::tuple{"BIG6", 6, 4}, std::tuple{"BIG1", 1, 1}}) {
        Bytes archive = RawArchive(magic, offsetWidth, sizeWidth, {{"x", 100, 4}, {"y", 104, 1}});
        archive.resize(100);
        archive.insert(archive.end(), {'d', 'a', 't', 'a', '!'});
        const BigArchiveView view = Open(archive);
        EXPECT_EQ(view.Kind(), BigKind::Numbered);
        EXPECT_EQ(EntryText(view.Find("x")), "data") << magic;
        EXPECT_EQ(EntryText(view.Find("Y")), "!") << magic;
    }
    EXPECT_FALSE(BigArchiveView::Open(RawArchive("BIG0", 4, 4, {})).has_value());
    EXPECT_FALSE(BigArchiveView::Open(RawArchive("BIG:", 4, 4, {})).has_value());
    EXPECT_FALSE(BigArchiveView::Open(Text("PK\x03\x04 not an archive")).has_value());
}

TEST(BigArchiveView, VersionMarkerShortensTheDirectory) {
    BigArchiveWriter writer;
    writer.SetVersionMarker({'L', 231, 0x01020304});
    writer.Add("one", Text("1"));
    std::string error;
    const Bytes marked = *writer.Build(error);
    const BigArchiveView view = Open(marked);
    EXPECT_EQ(view.Version(), 231);
    EXPECT_EQ(view.VersionValue(), 0x01020304u);
    EXPECT_EQ(view.Entries().size(), 1u);

    // A name whose last 8 directory bytes read as a marker is taken for one.
    const Bytes raw = RawArchive("BIGF", 4, 4, {{"first", 0, 0}, {"xxxB123abc", 0, 0}});
    const BigArchiveView misread = Open(raw);
    EXPECT_EQ(misread.Version(), 123);
    EXPECT_FALSE(misread.Find("xxxB123abc").has_value());
    EXPECT_TRUE(misread.Find("first").has_value());

    // The writer adds a real marker in that case, so the name survives.
    BigArchiveWriter careful;
    careful.Add("first", {});
    careful.Add("xxxB123abc", Text("kept"));
    const Bytes carefulBytes = *careful.Build(error);
    const BigArchiveView safe = Open(carefulBytes);
    EXPECT_EQ(EntryText(safe.Find("xxxB123abc")), "kept");
    EXPECT_EQ(safe.Version(), 0);
}

TEST(BigArchiveView, EmptyAndDamagedDirectories) {
    const Bytes emptyBytes = RawArchive("BIGF", 4, 4, {});
    const BigArchiveView empty = Open(emptyBytes);
    EXPECT_TRUE(empty.Entries().empty());
    EXPECT_FALSE(empty.Find("a").has_value());
    EXPECT_FALSE(empty.At(0).has_value());

    // Header length past the end of the buffer.
    Bytes past = RawArchive("BIGF", 4, 4, {{"a", 0, 1}});
    past[15] = 0xF0;
    EXPECT_FALSE(BigArchiveView::Open(past).has_value());

    // Data outside the archive: listed, never handed out.
    const Bytes outside =
        RawArchive("BIGF", 4, 4, {{"far", 0xFFFFFFF0, 0x20}, {"long", 0, 0xFFFFFFFF}});
    const BigArchiveView view = Open(outside);
    EXPECT_FALSE(view.Find("far").has_value());
    EXPECT_FALSE(view.At(1).has_value());
    ASSERT_EQ(view.Entries().size(), 2u);
    EXPECT_FALSE(view.Entries()[0].inBounds);

    // A name without its zero before the directory's end ends the walk.
    Bytes unterminated = RawArchive("BIGF", 4, 4, {{"ok", 0, 0}, {"cut", 0, 0}});
    unterminated.back() = 'x';
    const BigArchiveView cut = Open(unterminated);
    EXPECT_EQ(cut.Entries().size(), 1u);
}

TEST(BigArchiveWriter, RefusesNamesReadersCannotHold) {
    std::string error;
    for (const std::string& name : {std::string(), std::string("a\0b", 3), std::string(256, 'n')}) {
        BigArchiveWriter writer;
        writer.Add(name, {});
        EXPECT_FALSE(writer.Build(error).has_value());
        EXPECT_FALSE(error.empty());
    }
    BigArchiveWriter badMarker;
    badMarker.SetVersionMarker({'1', 5, 0});
    EXPECT_FALSE(badMarker.Build(error).has_value());
}

class BigStreamReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FILESYS_init());
        PRINT_setlistener([this](int, const std::string& text) {
            std::lock_guard guard(lock_);
            messages_.push_back(text);
        });
    }
    void TearDown() override {
        PRINT_setlistener({});
        FILESYS_shutdown();
    }
    std::vector<std::string> Messages() {
        std::lock_guard guard(lock_);
        return messages_;
    }

    CTempFolder folder_;

private:
    std::mutex lock_;
    std::vector<std::string> messages_;
};

TEST_F(BigStreamReaderTest, ReadsOneEntryWithExactNames) {
    BigArchiveWriter writer(BigArchiveWriter::Kind::Big4);
    writer.SetVersionMarker({'L', 231, 7});
    const Bytes big = CountingBytes(100000);
    writer.Add("league.fsh", Text("league"));
    writer.Add(std::string(255, 'n'), big);
    std::string error;
    const std::string path = folder_.Write("zdata.big", *writer.Build(error));
    EXPECT_EQ(BIG_readentry(path, "league.fsh"), Text("league"));
    EXPECT_FALSE(BIG_readentry(path, "LEAGUE.FSH").has_value());
    EXPECT_EQ(BIG_readentry(path, std::string(255, 'n')), big);
    EXPECT_FALSE(BIG_readentry(path, "absent").has_value());
    EXPECT_TRUE(Messages().empty());

    const std::string missing = folder_.File("none.big");
    EXPECT_FALSE(BIG_readentry(missing, "a").has_value());
    EXPECT_EQ(Messages(), std::vector<std::string>{"BIGFile " + missing + " does not exist.\n"});
}

TEST_F(BigStreamReaderTest, DamagedDirectoriesEndWithNull) {
    // A name of 256 bytes is refused.
    const std::string tooLong = folder_.Write(
        "long.big", RawArchive("BIGF", 4, 4, {{"a", 0, 0}, {std::string(256, 'n'), 0, 0}}));
    EXPECT_FALSE(BIG_readentry(tooLong, "zzz").has_value());
    // More entries claimed than the file holds.
    const std::string overCounted =
        folder_.Write("count.big", RawArchive("BIGF", 4, 4, {{"a", 0, 0}}, {}, 1000000));
    EXPECT_FALSE(BIG_readentry(overCounted, "b").has_value());
    // An entry beyond the file's end.
    const std::string outside =
        folder_.Write("far.big", RawArchive("BIGF", 4, 4, {{"a", 0xFFFFFF00, 0x100}}));
    EXPECT_FALSE(BIG_readentry(outside, "a").has_value());
    // Shorter than a header.
    const std::string tiny = folder_.Write("tiny.big", Text("BIGF"));
    EXPECT_FALSE(BIG_readentry(tiny, "a").has_value());
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "BIGFileOpen :- File name to long.\n");
}

} // namespace
