#include "CSampleArchives.h"
#include "CSampleGenerator.h"
#include "CSamplePictures.h"
#include "editor/assets/CAssetLibrary.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/database/CMessageSink.h"
#include "tests/support/WholeFile.h"
#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/shapes/ShapeContainer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

class CFailingSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        ADD_FAILURE() << key << ": " << detail;
    }
};

// One sample installation for all cases: writing it takes a moment.
class SampleArchivesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new QTemporaryDir;
        CFailingSink sink;
        ASSERT_TRUE(WriteSampleInstallation(folder->path().toStdString(),
                                            CSampleGenerator::kDefaultSeed, sink));
        CSampleGenerator::BuildGame(database, CSampleGenerator::kDefaultSeed);
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(library.Load(QStringLiteral(WREN_UTILS_PATH)));
        ASSERT_EQ(library.InitReal(), 1);
    }

    static std::vector<uint8_t> ReadArchive(const char* name) {
        return ReadAll(folder->filePath(QStringLiteral("data/")).toStdString() + name);
    }

    static inline QTemporaryDir* folder = nullptr;
    static inline CGameDatabase database;
    CAssetLibrary library;
};

} // namespace

TEST_F(SampleArchivesTest, EveryTeamHasACrestAndSomeOnlyInTheOlderArchive) {
    const CPictureRequests requests(library, folder->path());
    int older = 0;
    for (const auto& [id, team] : database.Teams()) {
        EXPECT_EQ(requests.Logo(id).size(), QSize(64, 64)) << "team " << id;
        older += CSampleArchives::TeamOnlyInOlderArchive(id);
    }
    EXPECT_GT(older, 0);
    EXPECT_TRUE(requests.Logo(999999).isNull());
}

TEST_F(SampleArchivesTest, KitsOfTheTeamsAndTexturesOfUsedFaces) {
    const CPictureRequests requests(library, folder->path());
    int checked = 0;
    for (const auto& [id, team] : database.Teams()) {
        if (++checked > 40)
            break;
        for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
            const QImage kit = requests.KitImage(id, slot);
            EXPECT_EQ(kit.isNull(), team.FindKit(slot) == nullptr) << id << " kit " << slot;
        }
    }
    std::set<int32_t> faces;
    for (const auto& [id, player] : database.Players())
        if (int32_t face = player.Value(EPlayerColumn::SpecificFace); face > 0)
            faces.insert(face);
    ASSERT_FALSE(faces.empty());
    int asked = 0;
    for (int32_t face : faces) {
        if (++asked > 60)
            break;
        EXPECT_EQ(requests.PlayerTexture(face).size(), QSize(64, 64)) << "face " << face;
    }
    EXPECT_TRUE(requests.PlayerTexture(0).isNull());
}

TEST_F(SampleArchivesTest, ContainersArePackedAndMixEveryShapeKind) {
    std::set<int> types;
    bool named = false;
    for (const char* name : {"zdata_05.big", "zdata_04.big"}) {
        const auto bytes = ReadArchive(name);
        const auto view = wren::BigArchiveView::Open(bytes);
        ASSERT_TRUE(view) << name;
        const auto entries = view->Entries();
        ASSERT_FALSE(entries.empty());
        for (size_t i = 0; i < entries.size() && i < 200; ++i) {
            ASSERT_TRUE(wren::PACK_isDecodable(entries[i].data)) << entries[i].name;
            const auto container = wren::PACK_unpackToVector(entries[i].data);
            ASSERT_TRUE(container);
            const wren::ShapeContainer shapes(*container);
            ASSERT_EQ(shapes.Count(), 1);
            types.insert(shapes.Shape(0)->Type());
            named = named || shapes.Name(0) != shapes.Tag(0);
        }
    }
    EXPECT_EQ(types, (std::set<int>{0x60, 0x61, 0x62, 0x7D}));
    EXPECT_TRUE(named);
}

TEST(SamplePictures, InitialsOfTheWordsOfAName) {
    EXPECT_EQ(CSamplePictures::Initials("Kestrel Athletic"), "KA");
    EXPECT_EQ(CSamplePictures::Initials("real club de north-vale"), "RCD");
    EXPECT_EQ(CSamplePictures::Initials("  1904 United"), "U");
    EXPECT_EQ(CSamplePictures::Initials(""), "");
}

TEST(SamplePictures, KitsAreTransparentAroundTheShirt) {
    CSamplePictures::SKit kit;
    kit.jersey = 0x123456;
    const wren::BgraImage image = CSamplePictures::Kit(kit, 64);
    ASSERT_EQ(image.pixels.size(), 64u * 64 * 4);
    EXPECT_EQ(image.pixels[3], 0) << "top left corner";
    const size_t centre = 4 * (20 * 64 + 32);
    EXPECT_EQ(image.pixels[centre + 3], 255);
    EXPECT_EQ(image.pixels[centre + 2], 0x12);
    EXPECT_EQ(image.pixels[centre + 1], 0x34);
    EXPECT_EQ(image.pixels[centre], 0x56);
}

TEST_F(SampleArchivesTest, AnotherGameGetsItsOwnArchives) {
    QTemporaryDir same;
    QTemporaryDir other;
    CFailingSink sink;
    ASSERT_TRUE(
        WriteSampleInstallation(same.path().toStdString(), CSampleGenerator::kDefaultSeed, sink));
    ASSERT_TRUE(WriteSampleInstallation(other.path().toStdString(), 7, sink));
    auto read = [](const QTemporaryDir& dir) {
        return ReadAll(dir.filePath(QStringLiteral("data/zdata_05.big")).toStdString());
    };
    EXPECT_EQ(read(same), ReadArchive("zdata_05.big"));
    EXPECT_NE(read(other), ReadArchive("zdata_05.big"));
    EXPECT_FALSE(read(other).empty());
}
