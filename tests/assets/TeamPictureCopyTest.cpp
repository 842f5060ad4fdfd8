#include "TestArchives.h"
#include "editor/assets/CPictureNames.h"
#include "editor/assets/CTeamPictureCopy.h"
#include "editor/model/CBackupStore.h"
#include "tests/support/WholeFile.h"
#include "wren_utils/archive/BigArchiveUpdate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using namespace testarchives;
using EOutcome = CTeamPictureCopy::EOutcome;

namespace {

// The other installation's pictures by container, all in its older archive; every question
// is recorded.
struct FakeArchives {
    std::map<std::string, wren::BgraImage> pictures;
    std::vector<std::string> asked;

    CPictureArchive::Fetcher Fetcher() {
        return [this](const std::string& archive, const std::string& container,
                      const std::string&) -> std::optional<wren::BgraImage> {
            asked.push_back(archive);
            const auto found = pictures.find(container);
            if (archive.ends_with("data/zdata_04.big") && found != pictures.end())
                return found->second;
            return std::nullopt;
        };
    }
};

class TeamPictureCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kestrel-team-pictures-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        here = root / "here";
        fs::create_directories(here / "data" / "cmn");
        // An archive here already, with someone else's crest.
        ASSERT_TRUE(
            WriteAll(Archive(), testarchives::Archive({{CPictureNames::LogoContainer(1),
                                                        Container({{"logo", Picture(32, 32, 1)}})}},
                                                      false)));
        other.pictures[CPictureNames::LogoContainer(7)] = Picture(32, 32, 2);
        other.pictures[CPictureNames::KitContainer(7, 0)] = Picture(64, 64, 3);
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path Archive() const { return here / "data" / "zdata_05.big"; }
    CBackupStore Backups() const { return CBackupStore(here / "data" / "cmn" / "backups"); }
    std::vector<CTeamPictureCopy::SItem> CopyKits(const std::vector<int>& kits) {
        return CTeamPictureCopy::Copy(other.Fetcher(), (root / "there").string(), 7, here.string(),
                                      12, kits, Backups(), 20);
    }

    fs::path root;
    fs::path here;
    FakeArchives other;
};

} // namespace

TEST_F(TeamPictureCopyTest, PicturesGoUnderTheNewIdAndTheArchiveIsBackedUpOnce) {
    const auto before = ReadAll(Archive());
    const auto items = CopyKits({0, 2});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].kit, CTeamPictureCopy::kCrest);
    EXPECT_EQ(items[0].outcome, EOutcome::Copied) << items[0].reason;
    EXPECT_EQ(items[1].kit, 0);
    EXPECT_EQ(items[1].outcome, EOutcome::Copied) << items[1].reason;
    // The other installation has no picture of that kit: nothing is written for it.
    EXPECT_EQ(items[2].kit, 2);
    EXPECT_EQ(items[2].outcome, EOutcome::Absent);
    // Asked in the other installation, the newer archive first.
    ASSERT_GE(other.asked.size(), 2u);
    EXPECT_EQ(other.asked[0], (root / "there").string() + "/data/zdata_05.big");
    EXPECT_EQ(other.asked[1], (root / "there").string() + "/data/zdata_04.big");

    std::string error;
    const auto directory = wren::BIG_readdirectory(Archive().string(), error);
    ASSERT_TRUE(directory) << error;
    EXPECT_TRUE(directory->Find(CPictureNames::LogoContainer(12)));
    EXPECT_TRUE(directory->Find(CPictureNames::KitContainer(12, 0)));
    EXPECT_FALSE(directory->Find(CPictureNames::KitContainer(12, 2)));
    EXPECT_TRUE(directory->Find(CPictureNames::LogoContainer(1)));

    // One copy, of the archive as it was before the first picture: restoring it takes both back.
    const auto copies = Backups().List("zdata_05.big");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadAll(Backups().Folder() / copies.front().name), before);
    EXPECT_EQ(fs::path(items[0].written.backup).filename(), copies.front().name);
    EXPECT_TRUE(items[1].written.backup.empty());

    // A second copy (another action) backs the archive up again before writing.
    const auto again = CopyKits({0});
    EXPECT_EQ(again[0].outcome, EOutcome::Copied);
    EXPECT_FALSE(again[0].written.backup.empty());
    EXPECT_EQ(Backups().List("zdata_05.big").size(), 2u);
}

TEST_F(TeamPictureCopyTest, DamagedArchiveHereIsLeftAloneWithTheReason) {
    const std::vector<uint8_t> damaged = {'B', 'I', 'G', 'F', 1, 2, 3};
    ASSERT_TRUE(WriteAll(Archive(), damaged));
    const auto items = CopyKits({0});
    ASSERT_EQ(items.size(), 2u);
    for (const auto& item : items) {
        EXPECT_EQ(item.outcome, EOutcome::Failed);
        EXPECT_FALSE(item.reason.empty());
    }
    EXPECT_EQ(ReadAll(Archive()), damaged);
    EXPECT_TRUE(Backups().List().empty());
}

TEST_F(TeamPictureCopyTest, NothingInTheOtherInstallationWritesNothing) {
    other.pictures.clear();
    const auto before = ReadAll(Archive());
    const auto items = CopyKits({0, 1});
    ASSERT_EQ(items.size(), 3u);
    for (const auto& item : items)
        EXPECT_EQ(item.outcome, EOutcome::Absent);
    EXPECT_EQ(ReadAll(Archive()), before);
    EXPECT_TRUE(Backups().List().empty());
}
