#include "editor/database/CDbFileReader.h"

#include "CRecordingSink.h"
#include "tests/support/CDbFileBuilder.h"
#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

namespace {

// Two tables laid out the way the game never writes them: the strings come first, the record
// sections follow in the opposite order of the directory, and padding bytes are not zero.
struct UnusualFile {
    std::vector<uint8_t> bytes;
    uint32_t playersSection = 0;
    uint32_t linksSection = 0;
};

UnusualFile MakeUnusualFile() {
    CDbFileBuilder f;
    f.Word(0xDEADBEEF);
    f.Word(7);
    f.Word(2);
    const size_t dir0 = f.Word(0);
    const size_t dir1 = f.Word(0);

    // players: record = id, name pointer, packed (widths 3 and 4 -> 1 byte) + 3 bytes = 12
    const size_t d0 = f.Here();
    const size_t d0Name = f.Word(0);
    f.Word(12);
    f.Word(1); // k1
    f.Word(2); // k3
    f.Word(0); // k2
    f.Word(2); // C
    f.Word(0);
    f.Word(7);
    f.Word(10);
    f.Word(20);
    const size_t l1 = f.Word(0);
    const size_t l3a = f.Word(0);
    const size_t l3b = f.Word(0);
    const size_t c0 = f.Word(0);
    const size_t c1 = f.Word(0);
    EXPECT_EQ(d0, 20u);

    // links: no columns, record = two words
    const size_t d1Name = f.Word(0);
    f.Word(8);
    f.Word(0);
    f.Word(0);
    f.Word(1); // k2
    f.Word(0);
    const size_t l2 = f.Word(0);

    f.Patch(d0Name, f.String("players", 0xCC));
    f.Patch(l1, f.String("list one", 0xCC));
    f.Patch(l3a, f.String("third A", 0xCC));
    f.Patch(l3b, f.String("third B", 0xCC));
    f.Patch(c0, f.String("age", 0xCC));
    f.Patch(c1, f.String("skill", 0xCC));
    f.Patch(d1Name, f.String("links", 0xCC));
    f.Patch(l2, f.String("second", 0xCC));
    const uint32_t nameA = f.String("Zo\xC3\xAB", 0xCC);
    const uint32_t nameB = f.String("", 0xCC);

    UnusualFile file;
    file.linksSection = f.Here();
    f.Patch(dir1, file.linksSection);
    f.Word(1);
    f.Word(static_cast<uint32_t>(d0 + 0)); // descriptor offset is only carried
    f.Word(4);
    f.Word(5);

    file.playersSection = f.Here();
    f.Patch(dir0, file.playersSection);
    f.Word(2);
    f.Word(20);
    f.Word(100);
    f.Word(nameA);
    f.Word(0x000000A6); // 5 and 13, then 0 bytes
    f.Word(101);
    f.Word(nameB);
    f.Word(0xFFFFFF00); // 0 and 10; the rest is not read
    file.bytes = f.bytes;
    return file;
}

CDbFileReader ReaderFor(std::vector<uint8_t> bytes) {
    CDbFileReader reader;
    reader.Assign(std::move(bytes), "test.db");
    return reader;
}

} // namespace

TEST(CDbFileReaderTest, ReadsAnEmptyCatalogue) {
    CDbFileBuilder f;
    f.Word(1);
    f.Word(2);
    f.Word(0);
    CRecordingSink sink;
    CDbCatalogue catalogue;
    ASSERT_TRUE(ReaderFor(f.bytes).ReadCatalogue(catalogue, sink)) << sink.Last();
    EXPECT_EQ(catalogue.tableCount, 0u);
    EXPECT_EQ(catalogue.headerWord1, 1u);
    EXPECT_EQ(catalogue.headerWord2, 2u);
    EXPECT_TRUE(catalogue.Tables().empty());
    EXPECT_EQ(catalogue.filePath, "test.db");
}

TEST(CDbFileReaderTest, ReadsTheCatalogueOfAnUnusualLayout) {
    const UnusualFile file = MakeUnusualFile();
    CRecordingSink sink;
    CDbCatalogue catalogue;
    ASSERT_TRUE(ReaderFor(file.bytes).ReadCatalogue(catalogue, sink)) << sink.Last();
    EXPECT_EQ(catalogue.headerWord1, 0xDEADBEEF);
    EXPECT_EQ(catalogue.headerWord2, 7u);
    ASSERT_EQ(catalogue.Tables().size(), 2u);

    const CDbTable* players = catalogue.FindTable("players");
    ASSERT_NE(players, nullptr);
    EXPECT_EQ(players->SectionOffset(), file.playersSection);
    EXPECT_EQ(players->DescriptorOffset(), 20u);
    EXPECT_EQ(players->RecordSize(), 12u);
    EXPECT_EQ(players->RecordCount(), 2u);
    EXPECT_EQ(players->NameList(1), (std::vector<std::string>{"list one"}));
    EXPECT_EQ(players->NameList(3), (std::vector<std::string>{"third A", "third B"}));
    EXPECT_TRUE(players->NameList(2).empty());
    ASSERT_EQ(players->ColumnCount(), 2);
    EXPECT_EQ(players->ColumnName(0), "age");
    EXPECT_EQ(players->ColumnName(1), "skill");
    EXPECT_EQ(players->Column(1)->Width(), 4);

    const CDbTable* links = catalogue.FindTable("links");
    ASSERT_NE(links, nullptr);
    // Descriptors are found by walking, whatever the directory says.
    EXPECT_EQ(links->DescriptorOffset(), 20u + 24 + 16 + 20);
    EXPECT_EQ(links->SectionOffset(), file.linksSection);
    EXPECT_EQ(links->NameList(2), (std::vector<std::string>{"second"}));
    EXPECT_EQ(links->ColumnCount(), 0);
}

TEST(CDbFileReaderTest, WalksRecordsWithWordsStringsAndPackedFields) {
    const UnusualFile file = MakeUnusualFile();
    const CDbFileReader reader = ReaderFor(file.bytes);
    CRecordingSink sink;
    CDbCatalogue catalogue;
    ASSERT_TRUE(reader.ReadCatalogue(catalogue, sink));
    CDbTable& players = *catalogue.FindTable("players");
    auto records = reader.Records(players, 2, sink);
    ASSERT_TRUE(records) << sink.Last();
    ASSERT_EQ(records->RecordCount(), 2u);

    ASSERT_TRUE(records->Next());
    EXPECT_EQ(records->Word(0), 100u);
    std::string name;
    ASSERT_TRUE(records->String(1, name));
    EXPECT_EQ(name, "Zo\xC3\xAB") << "UTF-8 bytes are kept as read";
    EXPECT_EQ(records->PackedArea().size(), 4u);
    players.ResetBitCursor();
    EXPECT_EQ(players.ReadField(0, records->PackedArea()), 5);
    EXPECT_EQ(players.ReadField(1, records->PackedArea()), 13);

    ASSERT_TRUE(records->Next());
    EXPECT_EQ(records->Word(0), 101u);
    ASSERT_TRUE(records->String(1, name));
    EXPECT_EQ(name, "");
    players.ResetBitCursor();
    EXPECT_EQ(players.ReadField(0, records->PackedArea()), 0);
    EXPECT_EQ(players.ReadField(1, records->PackedArea()), 10);
    EXPECT_FALSE(records->Next());
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CDbFileReaderTest, CutsStringsAtTheirFirstZeroByteAndKeepsTheLaterOfTwoNames) {
    CDbFileBuilder f;
    f.Word(0);
    f.Word(0);
    f.Word(2);
    const size_t dir0 = f.Word(0);
    const size_t dir1 = f.Word(0);
    std::vector<size_t> names;
    for (int t = 0; t < 2; ++t) {
        names.push_back(f.Word(0));
        f.Word(4 * (t + 1));
        for (int i = 0; i < 4; ++i)
            f.Word(0);
    }
    f.Patch(names[0], f.String(std::string("same\0tail", 9)));
    f.Patch(names[1], f.String("same"));
    f.Patch(dir0, f.Here());
    f.Word(0);
    f.Word(0);
    f.Patch(dir1, f.Here());
    f.Word(0);
    f.Word(0);

    CRecordingSink sink;
    CDbCatalogue catalogue;
    ASSERT_TRUE(ReaderFor(f.bytes).ReadCatalogue(catalogue, sink)) << sink.Last();
    ASSERT_EQ(catalogue.Tables().size(), 2u);
    EXPECT_EQ(catalogue.Tables()[0]->Name(), "same");
    EXPECT_EQ(catalogue.TableMap().size(), 1u);
    EXPECT_EQ(catalogue.FindTable("same")->RecordSize(), 8u) << "the later table wins";
}

TEST(CDbFileReaderTest, RefusesDamagedFilesAndLeavesTheCatalogueAlone) {
    const UnusualFile good = MakeUnusualFile();
    struct Damage {
        const char* what;
        size_t offset;
        uint32_t value;
        const char* expected; // part of the message
    };
    const uint32_t size = static_cast<uint32_t>(good.bytes.size());
    const Damage damages[] = {
        {"absurd table count", 8, 0xFFFFFFFF, "table count"},
        {"absurd column count", 20 + 20, 0x40000000, "columns"},
        {"absurd name list count", 20 + 8, 0xFFFFFFF0, "run past the end"},
        {"name pointer past the end", 20, size + 100, "past the end"},
        {"name pointer into the last word", 20, size - 2, "past the end"},
        {"section past the end", 12, size, "record section"},
        {"absurd record count", good.playersSection, 0x7FFFFFFF, "records of 12 bytes"},
        {"records of size 0", 20 + 4, 0, "size 0"},
    };
    for (const Damage& damage : damages) {
        std::vector<uint8_t> bytes = good.bytes;
        for (int i = 0; i < 4; ++i)
            bytes[damage.offset + i] = static_cast<uint8_t>(damage.value >> (8 * i));
        CRecordingSink sink;
        CDbCatalogue catalogue;
        catalogue.filePath = "untouched";
        EXPECT_FALSE(ReaderFor(bytes).ReadCatalogue(catalogue, sink)) << damage.what;
        ASSERT_EQ(sink.messages.size(), 1u) << damage.what;
        EXPECT_EQ(sink.messages[0].key, "Error_OpenToRead");
        EXPECT_NE(sink.Last().find(damage.expected), std::string::npos)
            << damage.what << ": " << sink.Last();
        EXPECT_NE(sink.Last().find("test.db"), std::string::npos) << sink.Last();
        EXPECT_EQ(catalogue.filePath, "untouched") << damage.what;
    }
}

TEST(CDbFileReaderTest, RefusesOverLongStrings) {
    CDbFileBuilder f;
    f.Word(0);
    f.Word(0);
    f.Word(1);
    const size_t dir = f.Word(0);
    const size_t name = f.Word(0);
    for (int i = 0; i < 5; ++i)
        f.Word(0);
    f.Patch(dir, f.Here());
    f.Word(0);
    f.Word(0);
    f.Patch(name, f.String(std::string(256, 'x')));
    CRecordingSink sink;
    CDbCatalogue catalogue;
    EXPECT_FALSE(ReaderFor(f.bytes).ReadCatalogue(catalogue, sink));
    EXPECT_NE(sink.Last().find("more than 255"), std::string::npos) << sink.Last();

    f.bytes.resize(f.bytes.size() - 1);
    f.Patch(name, f.String(std::string(255, 'y')));
    CRecordingSink ok;
    ASSERT_TRUE(ReaderFor(f.bytes).ReadCatalogue(catalogue, ok)) << ok.Last();
    EXPECT_EQ(catalogue.Tables()[0]->Name(), std::string(255, 'y'));
}

TEST(CDbFileReaderTest, EveryTruncationIsRefused) {
    const std::vector<uint8_t> good = MakeUnusualFile().bytes;
    for (size_t length = 0; length < good.size(); ++length) {
        const CDbFileReader reader =
            ReaderFor(std::vector<uint8_t>(good.begin(), good.begin() + length));
        CRecordingSink sink;
        CDbCatalogue catalogue;
        bool ok = reader.ReadCatalogue(catalogue, sink);
        // Only the last record's unread packed bytes may be cut without the catalogue noticing;
        // then walking the records must still fail.
        if (ok) {
            auto records = reader.Records(*catalogue.FindTable("players"), 2, sink);
            ok = records.has_value();
        }
        EXPECT_FALSE(ok) << "length " << length;
        EXPECT_FALSE(sink.messages.empty()) << "length " << length;
    }
}

TEST(CDbFileReaderTest, RecordWalkChecksFixedWordsPackedAreaAndStringPointers) {
    UnusualFile file = MakeUnusualFile();
    {
        const CDbFileReader reader = ReaderFor(file.bytes);
        CRecordingSink sink;
        CDbCatalogue catalogue;
        ASSERT_TRUE(reader.ReadCatalogue(catalogue, sink));
        EXPECT_FALSE(reader.Records(*catalogue.FindTable("players"), 4, sink));
        EXPECT_NE(sink.Last().find("cannot hold 4 fixed words"), std::string::npos);
    }
    {
        // The second record's name points past the end.
        CDbFileBuilder patch;
        patch.bytes = file.bytes;
        patch.Patch(file.playersSection + 8 + 12 + 4, 0x7FFFFFF0);
        const CDbFileReader reader = ReaderFor(patch.bytes);
        CRecordingSink sink;
        CDbCatalogue catalogue;
        ASSERT_TRUE(reader.ReadCatalogue(catalogue, sink));
        auto records = reader.Records(*catalogue.FindTable("players"), 2, sink);
        ASSERT_TRUE(records);
        std::string name = "before";
        ASSERT_TRUE(records->Next());
        ASSERT_TRUE(records->String(1, name));
        ASSERT_TRUE(records->Next());
        EXPECT_FALSE(records->String(1, name));
        EXPECT_EQ(name, "Zo\xC3\xAB");
        EXPECT_NE(sink.Last().find("table players, record 1"), std::string::npos) << sink.Last();
    }
}

TEST(CDbFileReaderTest, RefusesColumnsThatNeedMoreThan256Bytes) {
    for (const uint32_t columns : {66u, 67u}) { // 66 x 31 bits fit in 256 bytes, 67 do not
        CDbFileBuilder f;
        f.Word(0);
        f.Word(0);
        f.Word(1);
        const size_t dir = f.Word(0);
        const size_t name = f.Word(0);
        f.Word(4);
        f.Word(0);
        f.Word(0);
        f.Word(0);
        f.Word(columns);
        for (uint32_t c = 0; c < columns; ++c) {
            f.Word(0);
            f.Word(0x7FFFFFFF);
        }
        std::vector<size_t> names;
        for (uint32_t c = 0; c < columns; ++c)
            names.push_back(f.Word(0));
        const uint32_t text = f.String("t");
        f.Patch(name, text);
        for (size_t at : names)
            f.Patch(at, text);
        f.Patch(dir, f.Here());
        f.Word(0);
        f.Word(0);
        CRecordingSink sink;
        CDbCatalogue catalogue;
        EXPECT_EQ(ReaderFor(f.bytes).ReadCatalogue(catalogue, sink), columns == 66) << sink.Last();
        if (columns == 67) {
            EXPECT_NE(sink.Last().find("more than 256 packed bytes"), std::string::npos);
        }
    }
}

TEST(CDbFileReaderTest, RefusesAPackedAreaOverTheLimit) {
    CDbFileBuilder f;
    f.Word(0);
    f.Word(0);
    f.Word(1);
    const size_t dir = f.Word(0);
    const size_t name = f.Word(0);
    f.Word(4 + 260);
    for (int i = 0; i < 4; ++i)
        f.Word(0);
    f.Patch(name, f.String("big"));
    f.Patch(dir, f.Here());
    f.Word(1);
    f.Word(0);
    f.bytes.resize(f.bytes.size() + 264);
    const CDbFileReader reader = ReaderFor(f.bytes);
    CRecordingSink sink;
    CDbCatalogue catalogue;
    ASSERT_TRUE(reader.ReadCatalogue(catalogue, sink)) << sink.Last();
    EXPECT_FALSE(reader.Records(*catalogue.FindTable("big"), 1, sink));
    EXPECT_NE(sink.Last().find("packed area"), std::string::npos) << sink.Last();
}

TEST(CDbFileReaderTest, OpenReportsAMissingFileWithTheSystemsReason) {
    CTempFolder folder;
    CDbFileReader reader;
    CRecordingSink sink;
    EXPECT_FALSE(reader.Open(folder.File("absent.db"), sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].key, "Error_OpenToRead");
    EXPECT_NE(sink.Last().find("absent.db"), std::string::npos);
    EXPECT_NE(sink.Last().find("No such file"), std::string::npos) << sink.Last();

    WriteAll(folder.File("present.db"), MakeUnusualFile().bytes);
    ASSERT_TRUE(reader.Open(folder.File("present.db"), sink));
    EXPECT_EQ(reader.Bytes().size(), MakeUnusualFile().bytes.size());
}
