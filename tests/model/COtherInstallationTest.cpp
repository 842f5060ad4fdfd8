#include "editor/model/COtherInstallation.h"

#include "editor/database/CMessageSink.h"
#include "editor/model/CGameDatabase.h"
#include "tests/support/CTempFolder.h"
#include "tools/CSampleGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Small installations: only the loader is under test.
constexpr size_t kPlayers = 400;

} // namespace

TEST(COtherInstallationTest, ReadsTheDatabaseWithTheNamesOfTheLanguageWhateverTheLetterCase) {
    CTempFolder folder;
    CIgnoringSink sink;
    ASSERT_TRUE(WriteSampleInstallation(folder.Path() / "game", 5, sink, kPlayers));
    // Installations copied from Windows often differ in case.
    fs::rename(folder.Path() / "game" / "data", folder.Path() / "game" / "DATA");
    CGameDatabase expected;
    CSampleGenerator::BuildGame(expected, 5, kPlayers);

    CGameDatabase db;
    const auto loaded = COtherInstallation::Load((folder.Path() / "game").string(), 0, db, sink);
    ASSERT_TRUE(loaded.Ok()) << loaded.detail;
    EXPECT_EQ(db.Players().size(), expected.Players().size());
    ASSERT_EQ(db.Teams().size(), expected.Teams().size());
    const auto& [id, team] = *expected.Teams().begin();
    ASSERT_TRUE(db.FindTeam(id));
    EXPECT_FALSE(team.Name().empty());
    EXPECT_EQ(db.FindTeam(id)->Name(), team.Name());
}

// The kind of failure for the editor's and the command line's own words, the file for a patch.
TEST(COtherInstallationTest, TellsTheKindOfFailureAndTheDatabaseFile) {
    CTempFolder folder;
    CGameDatabase db;
    CSampleGenerator::BuildGame(db, 3, kPlayers);
    const size_t players = db.Players().size();
    std::vector<std::string> reports;
    struct CCollect : CMessageSink {
        std::vector<std::string>& out;
        explicit CCollect(std::vector<std::string>& o) : out(o) {}
        void Report(const std::string& key, const std::string&) override { out.push_back(key); }
    } sink(reports);

    using EError = COtherInstallation::EError;
    EXPECT_EQ(COtherInstallation::Load("", 0, db, sink).error, EError::NoFolder);
    const std::string missing = (folder.Path() / "missing").string();
    const auto noFolder = COtherInstallation::Load(missing, 0, db, sink);
    EXPECT_EQ(noFolder.error, EError::NoFolder);
    EXPECT_EQ(noFolder.detail, missing);
    const auto noDatabase = COtherInstallation::Load(folder.Path().string(), 0, db, sink);
    EXPECT_EQ(noDatabase.error, EError::NoDatabase);
    EXPECT_TRUE(noDatabase.dbPath.empty());
    EXPECT_TRUE(reports.empty());

    fs::create_directories(folder.Path() / "data" / "cmn");
    std::ofstream(folder.Path() / "data" / "cmn" / "corvid.db", std::ios::binary) << "truncated";
    const auto unreadable = COtherInstallation::Load(folder.Path().string(), 0, db, sink);
    EXPECT_EQ(unreadable.error, EError::Unreadable);
    EXPECT_FALSE(unreadable.detail.empty());
    EXPECT_TRUE(unreadable.dbPath.ends_with("corvid.db")) << unreadable.dbPath;
    // The loader's own report reaches the caller's sink; what the database held stays.
    EXPECT_FALSE(reports.empty());
    EXPECT_EQ(db.Players().size(), players);

    CIgnoringSink quiet;
    ASSERT_TRUE(WriteSampleInstallation(folder.Path() / "game", 5, quiet, kPlayers));
    const auto loaded = COtherInstallation::Load((folder.Path() / "game").string(), 0, db, quiet);
    ASSERT_TRUE(loaded.Ok()) << loaded.detail;
    EXPECT_TRUE(fs::equivalent(loaded.dbPath, folder.Path() / "game" / "data" / "cmn" / "corvid.db"));
}
