#include "TestArchives.h"
#include "editor/assets/CAssetLibrary.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/assets/InstallPath.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testarchives;

namespace {

struct Call {
    QString archive;
    QByteArray container;
    QByteArray shape;
};

// Records every question; answers with a 1 x 1 picture for archives whose path contains `hit`.
struct FakeLibrary {
    QString hit;
    std::vector<Call> calls;

    CPictureRequests::Fetcher Fetcher() {
        return
            [this](const QString& archive, const QByteArray& container, const QByteArray& shape) {
                calls.push_back({archive, container, shape});
                if (!hit.isEmpty() && archive.contains(hit))
                    return QImage(1, 1, QImage::Format_ARGB32);
                return QImage();
            };
    }
};

} // namespace

TEST(PictureRequests, ContainerAndShapeNamesOfEachRequest) {
    FakeLibrary fake{QStringLiteral("zdata_05"), {}};
    const CPictureRequests requests(fake.Fetcher(), QStringLiteral("/game/"));
    EXPECT_FALSE(requests.KitImage(123, 6).isNull());
    EXPECT_FALSE(requests.KitImage(123, 7).isNull());
    EXPECT_FALSE(requests.KitImage(45, 8).isNull());
    EXPECT_FALSE(requests.Logo(9).isNull());
    EXPECT_FALSE(requests.PlayerTexture(17).isNull());
    ASSERT_EQ(fake.calls.size(), 5u);
    EXPECT_EQ(fake.calls[0].container,
              "playerkittexobj.texobj463104248046875__texture23__6_0_123.fsh");
    EXPECT_EQ(fake.calls[0].shape, "tp00");
    EXPECT_EQ(fake.calls[1].container,
              "playerkittexobj.texobj463104248046875__texture462677001953125__7_0_123.fsh");
    EXPECT_EQ(fake.calls[1].shape, "crwd");
    EXPECT_EQ(fake.calls[2].container,
              "playerkittexobj.texobj463104248046875__texture462677001953125__8_0_45.fsh");
    EXPECT_EQ(fake.calls[2].shape, "crwd");
    EXPECT_EQ(fake.calls[3].container,
              "transitiontexobj.texobj85302734375__texture52777099609375__9.fsh");
    EXPECT_EQ(fake.calls[3].shape, "logo");
    EXPECT_EQ(fake.calls[4].container, "playertexobj.texobj11__texture12__17_0_0.fsh");
    EXPECT_EQ(fake.calls[4].shape, "tp01");
    for (const Call& call : fake.calls)
        EXPECT_EQ(call.archive, QStringLiteral("/game/data/zdata_05.big"));
}

TEST(PictureRequests, SecondArchiveOnlyAfterAMissAndTextureZeroAsksNothing) {
    FakeLibrary fake{QStringLiteral("zdata_04"), {}};
    const CPictureRequests requests(fake.Fetcher(), QStringLiteral("/game"));
    EXPECT_FALSE(requests.Logo(3).isNull());
    ASSERT_EQ(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0].archive, QStringLiteral("/game/data/zdata_05.big"));
    EXPECT_EQ(fake.calls[1].archive, QStringLiteral("/game/data/zdata_04.big"));
    EXPECT_EQ(fake.calls[1].container, fake.calls[0].container);

    fake.calls.clear();
    fake.hit.clear();
    EXPECT_TRUE(requests.KitImage(3, 1).isNull());
    EXPECT_EQ(fake.calls.size(), 2u) << "the second answer is final";

    fake.calls.clear();
    EXPECT_TRUE(requests.PlayerTexture(0).isNull());
    EXPECT_TRUE(fake.calls.empty());
}

TEST(InstallPaths, ComponentsMatchWithoutLetterCase) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("Data/Sub")));
    testarchives::WriteFile(folder.filePath(QStringLiteral("Data/ZData_05.BIG")).toStdString(),
                            {1});
    EXPECT_EQ(ResolveInstallPath(folder.path() + "/", QStringLiteral("data\\zdata_05.big")),
              folder.filePath(QStringLiteral("Data/ZData_05.BIG")));
    // What is not there keeps the name asked for, below the part that was found.
    EXPECT_EQ(ResolveInstallPath(folder.path(), QStringLiteral("DATA/sub/zdata_04.big")),
              folder.filePath(QStringLiteral("Data/Sub/zdata_04.big")));
    EXPECT_EQ(ResolveInstallPath(folder.path(), QStringLiteral("nothing/zdata_04.big")),
              folder.filePath(QStringLiteral("nothing/zdata_04.big")));
}

TEST(PictureRequests, ThroughTheLibraryWithFallbackToTheOlderArchive) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("DATA")));
    const wren::BgraImage logo5 = Picture(4, 4, 5);
    const wren::BgraImage logo4 = Picture(6, 2, 4);
    const wren::BgraImage kit = Picture(8, 8, 7);
    WriteFile(
        folder.filePath(QStringLiteral("DATA/zdata_05.big")).toStdString(),
        Archive({{CPictureRequests::LogoContainer(1).toStdString(), Container({{"logo", logo5}})}},
                true));
    WriteFile(
        folder.filePath(QStringLiteral("DATA/ZDATA_04.BIG")).toStdString(),
        Archive({{CPictureRequests::LogoContainer(1).toStdString(), Container({{"logo", logo4}})},
                 {CPictureRequests::LogoContainer(2).toStdString(), Container({{"logo", logo4}})},
                 {CPictureRequests::KitContainer(2, 7).toStdString(), Container({{"crwd", kit}})}},
                true));

    CAssetLibrary library;
    ASSERT_TRUE(library.Load(QStringLiteral(WREN_UTILS_PATH)));
    ASSERT_EQ(library.InitReal(), 1);
    const CPictureRequests requests(library, folder.path());
    EXPECT_EQ(requests.Logo(1).size(), QSize(4, 4)) << "the newer archive wins";
    EXPECT_EQ(requests.Logo(2).size(), QSize(6, 2));
    EXPECT_EQ(requests.KitImage(2, 7).size(), QSize(8, 8));
    EXPECT_TRUE(requests.KitImage(2, 6).isNull());
    EXPECT_TRUE(requests.Logo(3).isNull());
}
