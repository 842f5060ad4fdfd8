#include "editor/app/CGameLocator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A game folder with the database in mixed letter case, as a Windows installer may leave it.
QString MakeGame(const QDir& root, const QString& name) {
    root.mkpath(name + QStringLiteral("/Data/CMN"));
    QFile db(root.filePath(name + QStringLiteral("/Data/CMN/Corvid.DB")));
    db.open(QIODevice::WriteOnly);
    db.write("x");
    return root.filePath(name);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class GameLocatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_root = QDir(m_dir.path());
        m_prefix = m_root.filePath(QStringLiteral("prefix"));
        m_root.mkpath(QStringLiteral("prefix/drive_c"));
        m_root.mkpath(QStringLiteral("prefix/dosdevices"));
        QFile::link(m_root.filePath(QStringLiteral("prefix/drive_c")),
                    m_root.filePath(QStringLiteral("prefix/dosdevices/c:")));
    }

    void Register(const QByteArray& key, const QByteArray& folder, int language) {
        WriteFile(QDir(m_prefix).filePath(QStringLiteral("system.reg")),
                  "WINE REGISTRY Version 2\n\n[" + key + "] 1\n\"Install Dir\"=\"" + folder +
                      "\"\n\"Language\"=dword:" +
                      QByteArray::number(language, 16).rightJustified(8, '0') + "\n");
    }

    CGameLocator::Inputs Inputs() const {
        CGameLocator::Inputs in;
        in.winePrefix = m_prefix;
        return in;
    }

    QTemporaryDir m_dir;
    QDir m_root;
    QString m_prefix;
};

} // namespace

TEST_F(GameLocatorTest, WinePrefixNamesTheGameAndItsLanguage) {
    MakeGame(QDir(m_root.filePath(QStringLiteral("prefix/drive_c"))), QStringLiteral("Corvid"));
    Register("Software\\\\Brackwater\\\\Corvid 2004", "C:\\\\CORVID\\\\", 3);
    const auto found = CGameLocator::Locate(Inputs());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->source, QStringLiteral("wine"));
    EXPECT_EQ(found->language, 3u);
    EXPECT_TRUE(CGameLocator::HoldsGame(found->folder));
    EXPECT_TRUE(
        CGameLocator::DatabasePath(found->folder).endsWith(QStringLiteral("Data/CMN/Corvid.DB")));
}

TEST_F(GameLocatorTest, ThirtyTwoBitKeyIsFoundToo) {
    MakeGame(QDir(m_root.filePath(QStringLiteral("prefix/drive_c"))), QStringLiteral("G"));
    Register("Software\\\\Wow6432Node\\\\Brackwater\\\\Corvid 2004", "C:\\\\G", 5);
    const auto found = CGameLocator::Locate(Inputs());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->language, 5u);
}

TEST_F(GameLocatorTest, OrderIsCommandLineThenRegistryThenLastUsed) {
    const QString given = MakeGame(m_root, QStringLiteral("given"));
    const QString last = MakeGame(m_root, QStringLiteral("last"));
    MakeGame(QDir(m_root.filePath(QStringLiteral("prefix/drive_c"))), QStringLiteral("Corvid"));
    Register("Software\\\\Brackwater\\\\Corvid 2004", "C:\\\\Corvid", 2);

    CGameLocator::Inputs in = Inputs();
    in.commandLineFolder = given;
    in.lastUsedFolder = last;
    auto found = CGameLocator::Locate(in);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->source, QStringLiteral("command line"));
    EXPECT_EQ(QDir(found->folder).canonicalPath(), QDir(given).canonicalPath());
    EXPECT_FALSE(found->language) << "another installation's language is not borrowed";
    in.commandLineLanguage = 11;
    EXPECT_EQ(CGameLocator::Locate(in)->language, 11u);

    in.commandLineFolder.clear();
    in.commandLineLanguage.reset();
    found = CGameLocator::Locate(in);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->source, QStringLiteral("wine"));

    // A registered folder without the database does not count; the last used one follows.
    QFile::remove(
        CGameLocator::DatabasePath(m_root.filePath(QStringLiteral("prefix/drive_c/Corvid"))));
    found = CGameLocator::Locate(in);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->source, QStringLiteral("last used"));
    EXPECT_FALSE(found->language);

    in.lastUsedFolder = m_root.filePath(QStringLiteral("nowhere"));
    EXPECT_FALSE(CGameLocator::Locate(in));
}

TEST(GameLocatorPaths, TextDatabaseFollowsTheGameLanguage) {
    EXPECT_EQ(CGameLocator::IngameTextDbRelativePath(0), QStringLiteral("data/cmn/fe/eng.db"));
    EXPECT_EQ(CGameLocator::IngameTextDbRelativePath(3), QStringLiteral("data/cmn/fe/ger.db"));
    EXPECT_EQ(CGameLocator::IngameTextDbRelativePath(9), QStringLiteral("data/cmn/fe/.db"));
    EXPECT_EQ(CGameLocator::IngameTextDbRelativePath(10), QStringLiteral("data/cmn/fe/.db"));
    EXPECT_EQ(CGameLocator::IngameTextDbRelativePath(12), QStringLiteral("data/cmn/fe/kor.db"));
    EXPECT_EQ(CGameLocator::IngameTextDbRelativePath(13), QStringLiteral("data/cmn/fe/eng.db"));
    EXPECT_EQ(CGameLocator::WithSlash(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    EXPECT_EQ(CGameLocator::IngameTextDbRelativePath(4294967295u),
              QStringLiteral("data/cmn/fe/eng.db"));
}
