#include "editor/database/CDbWriter.h"
#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"

#include "CRecordingSink.h"
#include "tests/support/CDbFileBuilder.h"
#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// The smallest in-game text database with header words of its own and the text "Hi".
std::vector<uint8_t> WorkedExample() {
    return CDbFileBuilder::OneText(0x11223344, 0x55667788, "Hi");
}

// A catalogue of two tables built in code: "main" (record = id word, string, packed columns of
// widths 3, 7, 1, 8, 5 -> 3 bytes, + 1 zero byte = 12) and "pairs" (two words, no columns).
CDbCatalogue TwoTables() {
    CDbCatalogue catalogue;
    catalogue.headerWord1 = 0xA1;
    catalogue.headerWord2 = 0xB2;
    catalogue.tableCount = 2;
    auto main = std::make_unique<CDbTable>(0, 1234);
    main->SetName("main");
    main->SetRecordSize(12);
    main->AddNameListEntry(1, "L1");
    main->AddNameListEntry(2, "L2");
    main->AddNameListEntry(3, "L3");
    const std::array<std::pair<int32_t, int32_t>, 5> ranges = {
        {{0, 7}, {-64, 63}, {0, 1}, {0, 255}, {100, 131}}};
    for (size_t c = 0; c < ranges.size(); ++c)
        main->AddColumn("col" + std::to_string(c), ranges[c].first, ranges[c].second);
    catalogue.AddTable(std::move(main));
    auto pairs = std::make_unique<CDbTable>(0, 5678);
    pairs->SetName("pairs");
    pairs->SetRecordSize(8);
    catalogue.AddTable(std::move(pairs));
    return catalogue;
}

CDbWriter TwoTableWriter(std::vector<std::array<int32_t, 5>> rows, std::string text = "five!") {
    CDbWriter writer;
    writer.AddTable("main", [rows, text](CDbSectionWriter& out) {
        for (size_t r = 0; r < rows.size(); ++r) {
            out.BeginRecord();
            out.Word(static_cast<uint32_t>(r + 1));
            out.String(text);
            out.Pack(rows[r]);
        }
    });
    writer.AddTable("pairs", [](CDbSectionWriter& out) {
        out.BeginRecord();
        out.Word(1);
        out.Word(2);
    });
    return writer;
}

uint32_t WordAt(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
           uint32_t{bytes[at + 3]} << 24;
}

} // namespace

TEST(CDbWriterTest, WritesTheWorkedTextDatabaseByteForByte) {
    CTempFolder folder;
    const std::string path = folder.File("eng.db");
    WriteAll(path, WorkedExample());
    CIngameTextDb texts(path);
    CRecordingSink sink;
    ASSERT_TRUE(texts.ReadIngameTextDb(sink)) << sink.Last();
    ASSERT_EQ(texts.Entries().size(), 1u);
    EXPECT_EQ(texts.FindText(7), "Hi");

    const auto built = texts.BuildFile(sink);
    ASSERT_TRUE(built) << sink.Last();
    EXPECT_EQ(built->size(), 76u);
    EXPECT_EQ(*built, WorkedExample());

    // The same through the file, once with a changed text and back.
    ASSERT_TRUE(texts.SetText(7, "Hello"));
    ASSERT_TRUE(texts.SaveIngameTextDb(sink)) << sink.Last();
    EXPECT_EQ(ReadAll(path).size(), 80u);
    ASSERT_TRUE(texts.SetText(7, "Hi"));
    ASSERT_TRUE(texts.SaveIngameTextDb(sink)) << sink.Last();
    EXPECT_EQ(ReadAll(path), WorkedExample());
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CDbWriterTest, LaysOutDescriptorsSectionsAndStringsInFixupOrder) {
    CDbCatalogue catalogue = TwoTables();
    CRecordingSink sink;
    const auto bytes =
        TwoTableWriter({{5, -1, 1, 129, 131}, {0, -64, 0, 0, 100}}).Build(catalogue, sink);
    ASSERT_TRUE(bytes) << sink.Last();
    const std::vector<uint8_t>& b = *bytes;

    EXPECT_EQ(WordAt(b, 0), 0xA1u);
    EXPECT_EQ(WordAt(b, 4), 0xB2u);
    EXPECT_EQ(WordAt(b, 8), 2u);
    // main: 24 + 8*5 + 4*(3 + 5) = 96 bytes at 20; pairs: 24 bytes at 116; sections at 140.
    const uint32_t mainSection = WordAt(b, 12);
    const uint32_t pairsSection = WordAt(b, 16);
    EXPECT_EQ(mainSection, 140u);
    EXPECT_EQ(WordAt(b, 20 + 4), 12u);
    EXPECT_EQ(WordAt(b, 20 + 24), 0u);
    EXPECT_EQ(WordAt(b, 20 + 32), static_cast<uint32_t>(-64));
    EXPECT_EQ(WordAt(b, mainSection), 2u);
    EXPECT_EQ(WordAt(b, mainSection + 4), 1234u) << "descriptor offset as read";
    EXPECT_EQ(pairsSection, mainSection + 8 + 2 * 12);
    EXPECT_EQ(WordAt(b, pairsSection), 1u);
    EXPECT_EQ(WordAt(b, pairsSection + 4), 5678u);
    EXPECT_EQ(WordAt(b, pairsSection + 8), 1u);
    EXPECT_EQ(WordAt(b, pairsSection + 12), 2u);

    // Record 0: 101 | 0111111 | 1 | 10000001 | 11111 -> 3 bytes, then one zero byte.
    const size_t record0 = mainSection + 8;
    EXPECT_EQ(WordAt(b, record0), 1u);
    EXPECT_EQ(b[record0 + 8], 0b10101111);
    EXPECT_EQ(b[record0 + 9], 0b11110000);
    EXPECT_EQ(b[record0 + 10], 0b00111111);
    EXPECT_EQ(b[record0 + 11], 0);

    // Strings: main's name, lists 1, 3, 2, five column names, pairs' name, then the records.
    const std::vector<std::string> expected = {"main", "L1",   "L3",   "L2",    "col0",  "col1",
                                               "col2", "col3", "col4", "pairs", "five!", "five!"};
    std::vector<size_t> pointers = {20, 20 + 64, 20 + 68, 20 + 72};
    for (size_t c = 0; c < 5; ++c)
        pointers.push_back(20 + 76 + 4 * c);
    pointers.push_back(116);
    pointers.push_back(record0 + 4);
    pointers.push_back(record0 + 12 + 4);
    uint32_t position = pairsSection + 16;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(WordAt(b, pointers[i]), position) << expected[i];
        ASSERT_EQ(WordAt(b, position), expected[i].size());
        EXPECT_EQ(
            std::string(b.begin() + position + 4, b.begin() + position + 4 + expected[i].size()),
            expected[i]);
        const uint32_t next =
            (position + 4 + static_cast<uint32_t>(expected[i].size()) + 3) / 4 * 4;
        for (uint32_t pad = position + 4 + static_cast<uint32_t>(expected[i].size()); pad < next;
             ++pad)
            EXPECT_EQ(b[pad], 0) << "padding after " << expected[i];
        position = next;
    }
    EXPECT_EQ(position, b.size());
    EXPECT_EQ(WordAt(b, pointers[10]) + 12, WordAt(b, pointers[11]))
        << "a 5-byte string takes 12 bytes and each pointer has its own copy";
}

TEST(CDbWriterTest, WrittenFilesReadBackToTheSameCatalogueAndValues) {
    CDbCatalogue catalogue = TwoTables();
    CRecordingSink sink;
    const std::array<int32_t, 5> row = {7, 63, 1, 255, 131};
    const auto bytes = TwoTableWriter({row}).Build(catalogue, sink);
    ASSERT_TRUE(bytes) << sink.Last();

    CDbFileReader reader;
    reader.Assign(*bytes, "written.db");
    CDbCatalogue back;
    ASSERT_TRUE(reader.ReadCatalogue(back, sink)) << sink.Last();
    EXPECT_EQ(back.headerWord1, catalogue.headerWord1);
    EXPECT_EQ(back.headerWord2, catalogue.headerWord2);
    ASSERT_EQ(back.Tables().size(), 2u);
    for (size_t t = 0; t < 2; ++t) {
        const CDbTable& a = *catalogue.Tables()[t];
        const CDbTable& c = *back.Tables()[t];
        EXPECT_EQ(a.Name(), c.Name());
        EXPECT_EQ(a.RecordSize(), c.RecordSize());
        for (int list = 1; list <= 3; ++list)
            EXPECT_EQ(a.NameList(list), c.NameList(list));
        ASSERT_EQ(a.ColumnCount(), c.ColumnCount());
        for (int k = 0; k < a.ColumnCount(); ++k) {
            EXPECT_EQ(a.ColumnName(k), c.ColumnName(k));
            EXPECT_EQ(a.ColumnLow(k), c.ColumnLow(k));
            EXPECT_EQ(a.ColumnHigh(k), c.ColumnHigh(k));
        }
    }
    CDbTable& main = *back.FindTable("main");
    auto records = reader.Records(main, 2, sink);
    ASSERT_TRUE(records && records->Next());
    main.ResetBitCursor();
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(main.ReadField(k, records->PackedArea()), row[static_cast<size_t>(k)]);
}

TEST(CDbWriterTest, PadsShortRecordsToTheRecordSizeAndRefusesLongOnes) {
    CDbCatalogue catalogue = TwoTables();
    CDbWriter shortRecords;
    shortRecords.AddTable("main", [](CDbSectionWriter& out) {
        out.BeginRecord();
        out.Word(9);
    });
    shortRecords.AddTable("pairs");
    CRecordingSink sink;
    const auto bytes = shortRecords.Build(catalogue, sink);
    ASSERT_TRUE(bytes) << sink.Last();
    const uint32_t section = WordAt(*bytes, 12);
    EXPECT_EQ(WordAt(*bytes, 16), section + 8 + 12);
    EXPECT_EQ(WordAt(*bytes, section + 12), 0u);
    EXPECT_EQ(WordAt(*bytes, section + 16), 0u);

    CDbWriter longRecords;
    longRecords.AddTable("main");
    longRecords.AddTable("pairs", [](CDbSectionWriter& out) {
        out.BeginRecord();
        for (int i = 0; i < 3; ++i)
            out.Word(1);
    });
    EXPECT_FALSE(longRecords.Build(catalogue, sink));
    EXPECT_NE(sink.Last().find("table pairs, record 0: record of 12 bytes"), std::string::npos)
        << sink.Last();
}

TEST(CDbWriterTest, ANinePackedByteRecordGetsThreeZeroBytes) {
    CDbCatalogue catalogue;
    catalogue.tableCount = 1;
    auto table = std::make_unique<CDbTable>(0, 16);
    table->SetName("wide");
    table->SetRecordSize(4 + 12);
    for (int c = 0; c < 9; ++c)
        table->AddColumn("byte", 0, 255);
    catalogue.AddTable(std::move(table));
    CDbWriter writer;
    writer.AddTable("wide", [](CDbSectionWriter& out) {
        out.BeginRecord();
        out.Word(1);
        const std::array<int32_t, 9> values = {255, 255, 255, 255, 255, 255, 255, 255, 255};
        out.Pack(values);
    });
    CRecordingSink sink;
    const auto bytes = writer.Build(catalogue, sink);
    ASSERT_TRUE(bytes) << sink.Last();
    const uint32_t record = WordAt(*bytes, 12) + 8;
    for (uint32_t i = 0; i < 9; ++i)
        EXPECT_EQ((*bytes)[record + 4 + i], 0xFF);
    for (uint32_t i = 9; i < 12; ++i)
        EXPECT_EQ((*bytes)[record + 4 + i], 0);
    EXPECT_EQ(WordAt(*bytes, record + 16), 4u) << "the table name's stored string follows";
}

TEST(CDbWriterTest, RefusesWhatItCannotStoreAndNamesWhere) {
    struct Case {
        const char* what;
        std::vector<std::array<int32_t, 5>> rows;
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"value below low",
         {{0, 0, 0, 0, 100}, {0, 0, 0, 0, 99}},
         "x",
         "table main, record 1: column 4 (col4): value 99 does not fit"},
        {"value past the width", {{8, 0, 0, 0, 100}}, "x", "record 0: column 0 (col0): value 8"},
        {"string over 255 bytes",
         {{0, 0, 0, 0, 100}},
         std::string(256, 'e'),
         "record 0: text of 256 bytes"},
    };
    CTempFolder folder;
    const std::string path = folder.File("keep.db");
    const std::vector<uint8_t> original = {1, 2, 3, 4};
    for (const Case& c : cases) {
        WriteAll(path, original);
        CDbCatalogue catalogue = TwoTables();
        CRecordingSink sink;
        EXPECT_FALSE(TwoTableWriter(c.rows, c.text).Save(catalogue, path, sink)) << c.what;
        ASSERT_EQ(sink.messages.size(), 1u) << c.what;
        EXPECT_EQ(sink.messages[0].key, "Error_OpenToWrite");
        EXPECT_NE(sink.Last().find(c.expected), std::string::npos) << c.what << ": " << sink.Last();
        EXPECT_EQ(ReadAll(path), original) << c.what;
    }
    // 255 bytes, and a text that only looks longer because of what follows a zero byte, are fine.
    CDbCatalogue catalogue = TwoTables();
    CRecordingSink sink;
    EXPECT_TRUE(TwoTableWriter({{0, 0, 0, 0, 100}}, std::string(255, 'e')).Build(catalogue, sink));
    EXPECT_TRUE(TwoTableWriter({{0, 0, 0, 0, 100}}, std::string("ab\0", 3) + std::string(300, 'z'))
                    .Build(catalogue, sink));
    EXPECT_TRUE(sink.messages.empty()) << sink.Last();
}

TEST(CDbWriterTest, RefusesACatalogueThatDoesNotMatchTheTableList) {
    CRecordingSink sink;
    CDbCatalogue missing = TwoTables();
    CDbWriter writer;
    writer.AddTable("main");
    writer.AddTable("other");
    EXPECT_FALSE(writer.Build(missing, sink));
    EXPECT_NE(sink.Last().find("no table other"), std::string::npos) << sink.Last();

    CDbCatalogue counted = TwoTables();
    counted.tableCount = 3;
    EXPECT_FALSE(TwoTableWriter({}).Build(counted, sink));
    EXPECT_NE(sink.Last().find("has 3 tables"), std::string::npos) << sink.Last();

    CIngameTextDb empty("never-read.db");
    EXPECT_FALSE(empty.SaveIngameTextDb(sink));
    EXPECT_EQ(sink.messages.back().key, "Error_OpenToWrite");
}

TEST(CDbWriterTest, MisusedSectionWriterRefusesInsteadOfWritingGarbage) {
    CDbCatalogue catalogue = TwoTables();
    CRecordingSink sink;
    CDbWriter outside;
    outside.AddTable("main", [](CDbSectionWriter& out) { out.Word(1); });
    outside.AddTable("pairs");
    EXPECT_FALSE(outside.Build(catalogue, sink));
    EXPECT_NE(sink.Last().find("outside a record"), std::string::npos);

    CDbWriter tooMany;
    tooMany.AddTable("main");
    tooMany.AddTable("pairs", [](CDbSectionWriter& out) {
        out.BeginRecord();
        const std::array<int32_t, 1> value = {0};
        out.Pack(value);
    });
    EXPECT_FALSE(tooMany.Build(catalogue, sink));
    EXPECT_NE(sink.Last().find("1 packed values for 0 columns"), std::string::npos);

    CDbWriter refused;
    refused.AddTable("main", [](CDbSectionWriter& out) { out.Fail("player 12 has no team"); });
    refused.AddTable("pairs");
    EXPECT_FALSE(refused.Build(catalogue, sink));
    EXPECT_NE(sink.Last().find("table main: player 12 has no team"), std::string::npos);
}

TEST(CDbWriterTest, SaveUpdatesSectionOffsetsAndReportsUnwritablePaths) {
    CTempFolder folder;
    CDbCatalogue catalogue = TwoTables();
    CRecordingSink sink;
    ASSERT_TRUE(TwoTableWriter({{0, 0, 0, 0, 100}}).Save(catalogue, folder.File("a.db"), sink))
        << sink.Last();
    EXPECT_EQ(catalogue.FindTable("main")->SectionOffset(), 140u);
    EXPECT_EQ(catalogue.FindTable("main")->RecordCount(), 1u);
    EXPECT_EQ(catalogue.FindTable("pairs")->SectionOffset(), 140u + 8 + 12);

    WriteAll(folder.File("plain"), {9});
    EXPECT_FALSE(TwoTableWriter({}).Save(catalogue, folder.File("plain") + "/below.db", sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].key, "Error_OpenToWrite");
#ifdef _WIN32
    constexpr const char* kNoFolder = "No such file or directory"; // Windows has no ENOTDIR here
#else
    constexpr const char* kNoFolder = "Not a directory";
#endif
    EXPECT_NE(sink.Last().find(kNoFolder), std::string::npos) << sink.Last();
    EXPECT_EQ(catalogue.FindTable("main")->RecordCount(), 1u) << "unchanged by a failed save";
}
