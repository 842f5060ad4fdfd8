#include "editor/database/CIngameTextDb.h"

#include "editor/database/CDbFileReader.h"

#include "CRecordingSink.h"
#include "tests/support/CDbFileBuilder.h"
#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

namespace {

// A text database file with the given table name and texts, record size as given.
std::vector<uint8_t> TextFile(const std::vector<std::pair<uint32_t, std::string>>& texts,
                              const std::string& tableName = "language", uint32_t recordSize = 8) {
    CDbFileBuilder f;
    f.Word(3);
    f.Word(4);
    f.Word(1);
    const size_t dir = f.Word(0);
    const size_t name = f.Word(0);
    f.Word(recordSize);
    for (int i = 0; i < 4; ++i)
        f.Word(0);
    f.Patch(dir, f.Here());
    f.Word(static_cast<uint32_t>(texts.size()));
    f.Word(16);
    std::vector<size_t> pointers;
    for (const auto& [id, text] : texts) {
        f.Word(id);
        pointers.push_back(f.Word(0));
        for (uint32_t extra = 8; extra < recordSize; extra += 4)
            f.Word(0xEEEEEEEE);
    }
    f.Patch(name, f.String(tableName));
    for (size_t i = 0; i < texts.size(); ++i)
        f.Patch(pointers[i], f.String(texts[i].second));
    return f.bytes;
}

CIngameTextDb Loaded(const std::vector<uint8_t>& bytes) {
    CDbFileReader reader;
    reader.Assign(bytes, "texts.db");
    CIngameTextDb texts("texts.db");
    CRecordingSink sink;
    EXPECT_TRUE(texts.ReadIngameTextDb(reader, sink)) << sink.Last();
    return texts;
}

} // namespace

TEST(CIngameTextDbTest, FindAndSetSeeOnlyTheFirstEntryOfAnId) {
    CIngameTextDb texts = Loaded(TextFile({{5, "first"}, {9, "nine"}, {5, "second"}}));
    ASSERT_EQ(texts.Entries().size(), 3u);
    EXPECT_EQ(texts.FindText(5), "first");
    EXPECT_EQ(texts.FindText(6), "");
    EXPECT_TRUE(texts.SetText(5, "changed"));
    EXPECT_EQ(texts.Entries()[0].text, "changed");
    EXPECT_EQ(texts.Entries()[2].text, "second");
    EXPECT_FALSE(texts.SetText(6, "nobody"));
    EXPECT_EQ(texts.Entries().size(), 3u);

    texts.AddText(6, "added");
    texts.AddText(9, "late");
    EXPECT_EQ(texts.FindText(6), "added");
    EXPECT_EQ(texts.FindText(9), "nine");
    EXPECT_TRUE(texts.SetEntryText(4, "late, edited"));
    EXPECT_FALSE(texts.SetEntryText(5, "past the end"));
    EXPECT_EQ(texts.Entries()[4].text, "late, edited");
    EXPECT_EQ(texts.FindText(9), "nine");

    // The game reads only the first entry of an id; a late entry is first when its id is new.
    std::vector<bool> first;
    for (size_t i = 0; i <= texts.Entries().size(); ++i)
        first.push_back(texts.IsFirstOfId(i));
    EXPECT_EQ(first, std::vector<bool>({true, true, false, true, false, false}));
}

TEST(CIngameTextDbTest, EditsAreCopiedOntoTheFileReadAgainOnlyWhenItsIdsAreTheSame) {
    // A window's copy with its edits, and the file as another writer left it since.
    CIngameTextDb window = Loaded(TextFile({{1, "one"}, {2, "two"}, {1, "uno"}, {3, "three"}}));
    window.SetEntryText(2, "eins");
    window.SetEntryText(3, "");
    CIngameTextDb fresh = Loaded(TextFile({{1, "ONE"}, {2, "TWO"}, {1, "uno"}, {3, "three"}}));
    ASSERT_TRUE(window.CopyEntriesInto(fresh, {2, 3, 9}));
    EXPECT_EQ(fresh.Entries(), std::vector<CIngameTextEntry>(
                                   {{"ONE", 1}, {"TWO", 2}, {"eins", 1}, {"", 3}}));

    for (const auto& changed : {TextFile({{1, "one"}, {2, "two"}, {1, "uno"}}),
                                TextFile({{1, "one"}, {2, "two"}, {4, "uno"}, {3, "three"}})}) {
        CIngameTextDb other = Loaded(changed);
        const std::vector<CIngameTextEntry> before = other.Entries();
        EXPECT_FALSE(window.CopyEntriesInto(other, {2}));
        EXPECT_EQ(other.Entries(), before);
    }
}

TEST(CIngameTextDbTest, FileWithoutALanguageTableReadsEmptyAndCannotBeSaved) {
    CIngameTextDb texts = Loaded(TextFile({{1, "a"}}, "languages"));
    EXPECT_TRUE(texts.Entries().empty());
    EXPECT_EQ(texts.Catalogue().tableCount, 1u);
    CRecordingSink sink;
    EXPECT_FALSE(texts.BuildFile(sink));
    EXPECT_NE(sink.Last().find("no table language"), std::string::npos) << sink.Last();
}

TEST(CIngameTextDbTest, ReadsRecordsByTheRecordSizeTheFileGives) {
    CIngameTextDb texts = Loaded(TextFile({{1, "one"}, {2, "two"}}, "language", 12));
    ASSERT_EQ(texts.Entries().size(), 2u);
    EXPECT_EQ(texts.FindText(2), "two");
    CRecordingSink sink;
    const auto bytes = texts.BuildFile(sink);
    ASSERT_TRUE(bytes) << sink.Last();
    const CIngameTextDb back = Loaded(*bytes);
    EXPECT_EQ(back.FindText(1), "one");
    EXPECT_EQ(back.FindText(2), "two");
}

TEST(CIngameTextDbTest, KeepsTheBytesOfEveryScriptThroughLoadAndSave) {
    const std::vector<std::string> names = {"Górnik Zabrze",
                                            "Baník Ostrava",
                                            "Fenerbahçe",
                                            "수원 삼성 블루윙즈",
                                            "浦和レッドダイヤモンズ",
                                            "Ολυμπιακός",
                                            "الأهلي",
                                            "Спартак Москва",
                                            "€ Š Ž œ Ÿ",
                                            "⚽ 🦅",
                                            "",
                                            std::string("\xE9\x80\xFF", 3),
                                            std::string(255, 'x')};
    std::vector<std::pair<uint32_t, std::string>> entries;
    for (size_t i = 0; i < names.size(); ++i)
        entries.push_back({30000000 + static_cast<uint32_t>(i), names[i]});

    CTempFolder folder;
    const std::string path = folder.File("eng.db");
    WriteAll(path, TextFile(entries));
    CIngameTextDb texts(path);
    CRecordingSink sink;
    ASSERT_TRUE(texts.ReadIngameTextDb(sink)) << sink.Last();
    const std::vector<uint8_t> before = ReadAll(path);
    ASSERT_TRUE(texts.SaveIngameTextDb(sink)) << sink.Last();
    EXPECT_EQ(ReadAll(path), before) << "a load and save changes no byte";

    CIngameTextDb again(path);
    ASSERT_TRUE(again.ReadIngameTextDb(sink));
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(again.FindText(30000000 + static_cast<uint32_t>(i)), names[i]) << i;
}

TEST(CIngameTextDbTest, AFailedReadKeepsWhatWasThere) {
    CTempFolder folder;
    const std::string path = folder.File("fre.db");
    WriteAll(path, TextFile({{1, "un"}}));
    CIngameTextDb texts(path);
    CRecordingSink sink;
    ASSERT_TRUE(texts.ReadIngameTextDb(sink));

    std::vector<uint8_t> damaged = TextFile({{1, "un"}, {2, "deux"}});
    damaged.resize(damaged.size() - 8);
    WriteAll(path, damaged);
    EXPECT_FALSE(texts.ReadIngameTextDb(sink));
    EXPECT_EQ(sink.messages.back().key, "Error_OpenToRead");
    EXPECT_NE(sink.Last().find("table language, record 1"), std::string::npos) << sink.Last();
    EXPECT_EQ(texts.Entries().size(), 1u);
    EXPECT_EQ(texts.FindText(1), "un");

    std::filesystem::remove(path);
    EXPECT_FALSE(texts.ReadIngameTextDb(sink));
    EXPECT_EQ(texts.FindText(1), "un");
}

TEST(CIngameTextDbTest, LanguageNumbersSelectTheirFiles) {
    const std::vector<std::pair<uint32_t, std::string>> expected = {
        {0, "eng"}, {1, "eng"},  {2, "fre"},  {3, "ger"},  {4, "ita"},
        {5, "spa"}, {6, "swe"},  {7, "dut"},  {8, "brp"},  {9, ""},
        {10, ""},   {11, "jpn"}, {12, "kor"}, {13, "eng"}, {4294967295u, "eng"}};
    for (const auto& [number, name] : expected)
        EXPECT_EQ(CIngameTextDb::RelativePathForLanguage(number), "data/cmn/fe/" + name + ".db")
            << number;
}
