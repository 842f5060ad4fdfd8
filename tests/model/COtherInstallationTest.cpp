#include "editor/model/COtherInstallation.h"

#include "editor/database/CMessageSink.h"
#include "editor/model/CGameDatabase.h"
#include "tests/support/CTempFolder.h"
#include "tools/CSampleGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    std::string error;
    ASSERT_TRUE(COtherInstallation::Load((folder.Path() / "game").string(), 0, db, error)) << error;
    EXPECT_EQ(db.Players().size(), expected.Players().size());
    ASSERT_EQ(db.Teams().size(), expected.Teams().size());
    const auto& [id, team] = *expected.Teams().begin();
    ASSERT_TRUE(db.FindTeam(id));
    EXPECT_FALSE(team.Name().empty());
    EXPECT_EQ(db.FindTeam(id)->Name(), team.Name());
}

TEST(COtherInstallationTest, RefusesWhatIsNoReadableInstallationSayingWhy) {
    CTempFolder folder;
    std::string error;
    CGameDatabase db;
    CSampleGenerator::BuildGame(db, 3, kPlayers);
    const size_t players = db.Players().size();

    EXPECT_FALSE(COtherInstallation::Load("", 0, db, error));
    EXPECT_FALSE(COtherInstallation::Load((folder.Path() / "missing").string(), 0, db, error));
    EXPECT_NE(error.find("is no folder"), std::string::npos) << error;

    EXPECT_FALSE(COtherInstallation::Load(folder.Path().string(), 0, db, error));
    EXPECT_NE(error.find("no data/cmn/corvid.db in"), std::string::npos) << error;

    fs::create_directories(folder.Path() / "data" / "cmn");
    std::ofstream(folder.Path() / "data" / "cmn" / "corvid.db", std::ios::binary) << "truncated";
    error.clear();
    EXPECT_FALSE(COtherInstallation::Load(folder.Path().string(), 0, db, error));
    EXPECT_NE(error.find("corvid.db: "), std::string::npos) << error;
    // A failed load leaves what the database held.
    EXPECT_EQ(db.Players().size(), players);
}
