#include "editor/app/CWineRegistry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kKey = QStringLiteral("Software\\Brackwater\\Corvid 2004");

const char* const kSystemReg = "WINE REGISTRY Version 2\n"
                               ";; All keys relative to \\\\Machine\n"
                               "\n"
                               "[Software\\\\Brackwater\\\\Corvid 2004] 1700000000\n"
                               "#time=1d9a0c1e2b3c4d5\n"
                               "\"Install Dir\"=\"C:\\\\Games\\\\Corvid \\\"2004\\\"\\\\\"\n"
                               "\"Language\"=dword:0000000c\r\n"
                               "\"Broken\"=dword:zz\n"
                               "\"Wide\"=\"Caf\\x00e9 \\\\ end\"\n"
                               "\n"
                               "[Software\\\\Other] 1\n"
                               "\"Install Dir\"=\"D:\\\\Elsewhere\"\n";

} // namespace

TEST(WineRegistryParse, ReadsStringsAndNumbersOfTheRightKey) {
    CWineRegistry registry;
    registry.LoadText(QString::fromUtf8(kSystemReg));
    EXPECT_EQ(registry.StringValue(kKey, QStringLiteral("Install Dir")),
              QStringLiteral("C:\\Games\\Corvid \"2004\"\\"));
    // Key and value names are matched without regard to letter case.
    EXPECT_EQ(registry.DwordValue(kKey.toUpper(), QStringLiteral("language")), 12u);
    EXPECT_EQ(
        registry.StringValue(QStringLiteral("Software\\Other"), QStringLiteral("Install Dir")),
        QStringLiteral("D:\\Elsewhere"));
    EXPECT_EQ(registry.StringValue(kKey, QStringLiteral("Wide")),
              QString::fromUtf8("Caf\xC3\xA9 \\ end"));
}

TEST(WineRegistryParse, WrongTypesAndMissingValuesYieldNothing) {
    CWineRegistry registry;
    registry.LoadText(QString::fromUtf8(kSystemReg));
    EXPECT_FALSE(registry.DwordValue(kKey, QStringLiteral("Broken")));
    EXPECT_FALSE(registry.DwordValue(kKey, QStringLiteral("Install Dir")));
    EXPECT_FALSE(registry.StringValue(kKey, QStringLiteral("Language")));
    EXPECT_FALSE(registry.StringValue(kKey, QStringLiteral("Missing")));
    EXPECT_FALSE(registry.StringValue(QStringLiteral("Software\\None"), QStringLiteral("x")));
    // Damaged lines are skipped rather than read past their end.
    registry.LoadText(QStringLiteral("[Unclosed\n\"a\"=\"b\n\"c\n[K]\n\"unterminated=1\n\"v\"\n"));
    EXPECT_FALSE(registry.StringValue(QStringLiteral("K"), QStringLiteral("v")));
}

TEST(WineRegistryFiles, MissingFileIsReported) {
    CWineRegistry registry;
    QString error;
    EXPECT_FALSE(registry.LoadFile(QStringLiteral("/nonexistent/system.reg"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("system.reg")));
}

TEST(WineRegistryPaths, DriveLettersMapThroughThePrefixIgnoringCase) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("drive_c/Games/CORVID 2004")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("dosdevices")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("other_disk/Data")));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("drive_c")),
                            root.filePath(QStringLiteral("dosdevices/c:"))));
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("other_disk")),
                            root.filePath(QStringLiteral("dosdevices/e:"))));

    const QString mapped =
        CWineRegistry::MapWindowsPath(prefix.path(), QStringLiteral("c:\\games\\Corvid 2004\\"));
    EXPECT_EQ(QDir(mapped).canonicalPath(),
              QDir(root.filePath(QStringLiteral("drive_c/Games/CORVID 2004"))).canonicalPath());
    EXPECT_TRUE(mapped.endsWith(u'/'));
    EXPECT_EQ(QDir(CWineRegistry::MapWindowsPath(prefix.path(), QStringLiteral("E:\\data")))
                  .canonicalPath(),
              QDir(root.filePath(QStringLiteral("other_disk/Data"))).canonicalPath());
    EXPECT_TRUE(CWineRegistry::MapWindowsPath(prefix.path(), QStringLiteral("Z:\\x")).isEmpty());
    EXPECT_TRUE(CWineRegistry::MapWindowsPath(prefix.path(), QStringLiteral("\\\\server\\share"))
                    .isEmpty());
}
