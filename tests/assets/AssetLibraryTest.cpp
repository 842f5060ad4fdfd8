#include "TestArchives.h"
#include "editor/assets/CAssetLibrary.h"
#include "wren_utils/pack/PackEncoder.h"

#include <QLibrary>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testarchives;

namespace {

// The picture as the library hands it over: QImage ARGB32 holds the same bytes, row by row.
bool SamePixels(const QImage& image, const wren::BgraImage& expected) {
    if (image.width() != static_cast<int>(expected.width) ||
        image.height() != static_cast<int>(expected.height) ||
        image.format() != QImage::Format_ARGB32)
        return false;
    for (int y = 0; y < image.height(); ++y)
        if (std::memcmp(image.constScanLine(y),
                        expected.pixels.data() + size_t{expected.width} * 4 * y,
                        size_t{expected.width} * 4) != 0)
            return false;
    return true;
}

class AssetLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(library.Load(QStringLiteral(WREN_UTILS_PATH)))
            << library.ErrorText().toStdString();
        ASSERT_EQ(library.InitReal(), 1);
        const auto home = Container({{"tp00", kit}, {"logo", crest}});
        const auto second = Container({{"tp00", away}});
        WriteFile("packed.big", Archive({{"home.fsh", home}, {"Away.fsh", second}}, true));
        WriteFile("plain.big", Archive({{"home.fsh", home}, {"Away.fsh", second}}, false));
        WriteFile("whole.big", *wren::PACK_pack(Archive({{"home.fsh", home}}, false)));
        WriteFile("broken.big", {'B', 'I', 'G', 'F', 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 16});
    }

    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void WriteFile(const char* name, const std::vector<uint8_t>& bytes) const {
        testarchives::WriteFile(Path(name).toStdString(), bytes);
    }

    QTemporaryDir folder;
    CAssetLibrary library;
    const wren::BgraImage kit = Picture(16, 8, 1);
    const wren::BgraImage crest = Picture(5, 7, 2);
    const wren::BgraImage away = Picture(3, 3, 3);
};

} // namespace

TEST_F(AssetLibraryTest, StreamedRequestsNeedExactNamesAndPackedEntries) {
    EXPECT_TRUE(SamePixels(library.GetShapeX(Path("packed.big"), "home.fsh", "tp00"), kit));
    EXPECT_TRUE(SamePixels(library.GetShapeX(Path("packed.big"), "home.fsh", "logo"), crest));
    EXPECT_TRUE(SamePixels(library.GetShapeX(Path("packed.big"), "Away.fsh", "tp00"), away));
    // Container names count letter case here, shape names always.
    EXPECT_TRUE(library.GetShapeX(Path("packed.big"), "away.fsh", "tp00").isNull());
    EXPECT_TRUE(library.GetShapeX(Path("packed.big"), "home.fsh", "TP00").isNull());
    // An unpacked entry is refused rather than searched.
    EXPECT_TRUE(library.GetShapeX(Path("plain.big"), "home.fsh", "tp00").isNull());
    EXPECT_TRUE(library.GetShapeX(Path("missing.big"), "home.fsh", "tp00").isNull());
    EXPECT_TRUE(library.GetShapeX(Path("broken.big"), "home.fsh", "tp00").isNull());
}

TEST_F(AssetLibraryTest, WholeArchiveRequestsIgnoreContainerCase) {
    EXPECT_TRUE(SamePixels(library.GetShape(Path("plain.big"), "HOME.FSH", "tp00"), kit));
    EXPECT_TRUE(SamePixels(library.GetShape(Path("plain.big"), "away.fsh", "tp00"), away));
    // A wholly packed archive is unpacked first.
    EXPECT_TRUE(SamePixels(library.GetShape(Path("whole.big"), "home.fsh", "logo"), crest));
    // Packed entries cannot be used in place.
    EXPECT_TRUE(library.GetShape(Path("packed.big"), "home.fsh", "tp00").isNull());
    EXPECT_TRUE(library.GetShape(Path("plain.big"), "third.fsh", "tp00").isNull());
    EXPECT_TRUE(library.GetShape(Path("missing.big"), "home.fsh", "tp00").isNull());
    EXPECT_TRUE(library.GetShape(Path("broken.big"), "home.fsh", "tp00").isNull());
}

TEST_F(AssetLibraryTest, BitmapExportsRefuseBadArgumentsAndStaleHandles) {
    QLibrary raw(QStringLiteral(WREN_UTILS_PATH));
    ASSERT_TRUE(raw.load());
    auto getShapeX = reinterpret_cast<CAssetLibrary::GetShapeFn>(raw.resolve("getShapeX"));
    auto readBitmap = reinterpret_cast<CAssetLibrary::ReadBitmapFn>(raw.resolve("readBitmap"));
    auto freeBitmap = reinterpret_cast<CAssetLibrary::FreeBitmapFn>(raw.resolve("freeBitmap"));
    ASSERT_TRUE(getShapeX && readBitmap && freeBitmap);

    EXPECT_EQ(getShapeX(nullptr, "home.fsh", "tp00"), nullptr);
    WrenBitmap bitmap = getShapeX(Path("packed.big").toLocal8Bit().constData(), "home.fsh", "tp00");
    ASSERT_NE(bitmap, nullptr);
    int width = 0, height = 0;
    EXPECT_EQ(readBitmap(bitmap, &width, &height, nullptr, 0), 1);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 8);
    std::vector<uint8_t> pixels(16 * 8 * 4 + 8);
    EXPECT_EQ(readBitmap(bitmap, nullptr, nullptr, pixels.data(), 16 * 4 - 1), 0);
    EXPECT_EQ(readBitmap(bitmap, nullptr, nullptr, pixels.data(), 16 * 4), 1);
    EXPECT_TRUE(std::equal(kit.pixels.begin(), kit.pixels.end(), pixels.begin()));
    freeBitmap(bitmap);
    // Freed and foreign handles are refused, not followed.
    EXPECT_EQ(readBitmap(bitmap, &width, &height, nullptr, 0), 0);
    freeBitmap(bitmap);
    int notABitmap = 0;
    EXPECT_EQ(readBitmap(&notABitmap, &width, &height, nullptr, 0), 0);
    freeBitmap(nullptr);
}

TEST(AssetLibraryBinding, MissingLibraryOrExportsMakeNoCalls) {
    CAssetLibrary library;
    EXPECT_FALSE(library.Load(QStringLiteral("/nonexistent/Wren_Utils")));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_FALSE(library.ErrorText().isEmpty());
    EXPECT_EQ(library.InitReal(), -1);
    EXPECT_EQ(library.CleanupReal(), -1);
    EXPECT_TRUE(library.GetShapeX("x.big", "c.fsh", "tp00").isNull());
#ifdef __linux__
    // A library that is there but is not Wren_Utils.
    EXPECT_FALSE(library.Load(QStringLiteral("libm.so.6")));
    EXPECT_TRUE(library.IsLoaded());
    EXPECT_FALSE(library.IsBound());
    EXPECT_TRUE(library.ErrorText().contains(QStringLiteral("getShapeX")));
    EXPECT_EQ(library.InitReal(), -1);
    EXPECT_TRUE(library.GetShape("x.big", "c.fsh", "tp00").isNull());
#endif
}

TEST(AssetLibraryBinding, RequestsWaitForInitRealAndStopAfterCleanup) {
    CAssetLibrary library;
    ASSERT_TRUE(library.Load(QStringLiteral(WREN_UTILS_PATH)));
    EXPECT_TRUE(library.IsBound());
    EXPECT_TRUE(library.CanReadBitmaps());
    EXPECT_EQ(library.CleanupReal(), -1) << "cleanupReal before initReal";
    EXPECT_EQ(library.InitReal(), 1);
    EXPECT_EQ(library.CleanupReal(), 0);
    EXPECT_EQ(library.CleanupReal(), -1) << "cleanupReal twice";
    EXPECT_TRUE(library.GetShapeX("x.big", "c.fsh", "tp00").isNull());
    // Loading again starts over: the earlier module is cleaned up and freed first.
    EXPECT_EQ(library.InitReal(), 1);
    EXPECT_TRUE(library.Load(QStringLiteral(WREN_UTILS_PATH)));
    EXPECT_EQ(library.CleanupReal(), -1);
}
