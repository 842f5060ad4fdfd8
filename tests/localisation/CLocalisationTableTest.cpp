#include "editor/localisation/CLocalisationTable.h"
#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ToUtf16LeWithBom(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

} // namespace

TEST(LocalisationTableLoad, TextColumnIsChosenByTheHeader) {
    const std::string file = "Key\tEnglish_UK\tFrench\r\n"
                             "Menu_File\tFile\tFichier\r\n"
                             "Menu_Edit\tEdit\tEdition\r\n";
    CLocalisationTable table;
    table.LoadFromBytes(file, "French");
    EXPECT_EQ(table.Lookup("Menu_File"), "Fichier");
    EXPECT_EQ(table.Lookup("Menu_Edit"), "Edition");
    table.LoadFromBytes(file, "English_UK");
    EXPECT_EQ(table.Lookup("Menu_File"), "File");
    EXPECT_EQ(table.Size(), 2u);
}

TEST(LocalisationTableLoad, HeaderMatchIsExactAndFirstColumnLoadsNothing) {
    CLocalisationTable table;
    table.LoadFromBytes("French\tEnglish_UK\nMenu_File\tFile\n", "French");
    EXPECT_EQ(table.Size(), 0u);
    table.LoadFromBytes("Key\tfrench\nMenu_File\tFichier\n", "French");
    EXPECT_EQ(table.Size(), 0u);
    // Without the language in the header the column is one past the header's last field.
    table.LoadFromBytes("Key\tGerman\nA\tB\tC\nD\tE\n", "French");
    EXPECT_EQ(table.Size(), 1u);
    EXPECT_EQ(table.Lookup("A"), "C");
}

TEST(LocalisationTableLoad, RowsShortOfTheColumnAddNothingAndLastKeyWins) {
    const std::string file = "Key\tOther\tEnglish_UK\n"
                             "Short\tOnly other\n"
                             "Twice\tx\tFirst\n"
                             "\n"
                             "Empty\tx\t\n"
                             "Twice\tx\tSecond\n"
                             "Spaces\tx\t  padded text \tignored\n";
    CLocalisationTable table;
    table.LoadFromBytes(file, "English_UK");
    EXPECT_FALSE(table.Contains("Short"));
    EXPECT_EQ(table.Lookup("Short"), "Short");
    EXPECT_EQ(table.Lookup("Twice"), "Second");
    EXPECT_EQ(table.Lookup("Empty"), "Empty");
    EXPECT_EQ(table.Lookup("Spaces"), "  padded text ");
    EXPECT_EQ(table.Lookup("Missing_Key"), "Missing_Key");
}

TEST(LocalisationTableLoad, AllLineEndsSplitRows) {
    CLocalisationTable table;
    table.LoadFromBytes("K\tL\rA\t1\nB\t2\r\nC\t3", "L");
    EXPECT_EQ(table.Lookup("A"), "1");
    EXPECT_EQ(table.Lookup("B"), "2");
    EXPECT_EQ(table.Lookup("C"), "3");
}

TEST(LocalisationTableLoad, ByteOrderMarkAndPlainFilesGiveTheSameTable) {
    const std::string file = "Key\tEnglish_UK\r\nMenu_FileExit\tE&xit\r\nMenu_EditFind\tFind "
                             "\\tCtrl+F\r\n";
    CLocalisationTable plain;
    CLocalisationTable wide;
    plain.LoadFromBytes(file, "English_UK");
    wide.LoadFromBytes(ToUtf16LeWithBom(file), "English_UK");
    ASSERT_EQ(plain.Size(), 2u);
    EXPECT_EQ(wide.Size(), plain.Size());
    EXPECT_EQ(wide.Lookup("Menu_FileExit"), plain.Lookup("Menu_FileExit"));
    EXPECT_EQ(wide.Lookup("Menu_EditFind"), "Find \\tCtrl+F");
}

TEST(LocalisationTableLoad, Windows1252FileBecomesUtf8) {
    CLocalisationTable table;
    table.LoadFromBytes("Key\tFrench\nMenu_Edit\t\xC9"
                        "dition\n",
                        "French");
    EXPECT_EQ(table.Lookup("Menu_Edit"), "\xC3\x89"
                                         "dition");
}

TEST(LocalisationTableFile, LoadsFromDiskAndReportsMissingFile) {
    const CTempFolder folder;
    const std::string path = folder.File("Spanish.qtx");
    ASSERT_TRUE(WriteText(path, "Key\tSpanish\nMenu_File\tArchivo\n"));
    CLocalisationTable table;
    std::string error;
    ASSERT_TRUE(table.Load(path, "Spanish", &error)) << error;
    EXPECT_EQ(table.Lookup("Menu_File"), "Archivo");

    const std::string missing = path + ".none";
    EXPECT_FALSE(table.Load(missing, "Spanish", &error));
    EXPECT_NE(error.find(missing), std::string::npos);
    EXPECT_EQ(table.Size(), 0u) << "a failed load leaves no stale texts";
}

TEST(LocalisationTablePositions, NamesCoverZeroToThirtyFourOnly) {
    CLocalisationTable table;
    table.Set("LUT_Goalkeeper", "Goalkeeper");
    EXPECT_EQ(table.PositionName(0), "Goalkeeper");
    EXPECT_EQ(CLocalisationTable::PositionKey(17), "LUT_CentreMidfield");
    EXPECT_EQ(CLocalisationTable::PositionKey(31), "LUT_LeftStriker");
    EXPECT_EQ(table.PositionName(34), "LUT_2ndPickReserve");
    EXPECT_EQ(table.PositionName(35), "");
    EXPECT_EQ(table.PositionName(-1), "");
    for (int n = 0; n < CLocalisationTable::kPositionCount; ++n) {
        EXPECT_EQ(CLocalisationTable::PositionKey(n).substr(0, 4), "LUT_") << n;
    }
}
