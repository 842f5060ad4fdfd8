#include "editor/assets/CPictureImport.h"
#include "editor/model/CBackupStore.h"
#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"
#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/shapes/ShapeImporter.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::string kKit10 = "playerkittexobj.texobj463104248046875__texture23__0_0_1.fsh";
const std::string kCrest6 = "transitiontexobj.texobj85302734375__texture52777099609375__6.fsh";

// picture import as a user runs it, each test on its own copy of one sample installation.
class PictureImportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new CTempFolder();
        sampleStatus =
            RunProcess(KESTREL_CLI, {"make-sample", (scratch->Path() / "sample").string()},
                       scratch->Path())
                .status;
    }
    static void TearDownTestSuite() { delete scratch; }

    void SetUp() override {
        ASSERT_EQ(sampleStatus, 0);
        fs::copy(scratch->Path() / "sample", Game(), fs::copy_options::recursive);
    }

    SProcessResult Run(const std::vector<std::string>& args) const {
        return RunProcess(KESTREL_CLI, args, folder.Path());
    }
    std::string Game() const { return folder.File("game"); }
    fs::path Archive(const char* name) const { return fs::path(Game()) / "data" / name; }
    CBackupStore Backups() const { return CBackupStore(fs::path(Game()) / "data" / "cmn" / "backups"); }

    // A picture with colour ramps and a disc, alpha optional; saved as PNG.
    std::string Picture(const char* name, int w, int h, bool alpha) const {
        QImage image(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixelColor(
                    x, y, QColor(255 * x / w, 255 * y / h, 90, alpha && x > w / 2 ? 80 : 255));
        QPainter painter(&image);
        painter.setBrush(Qt::yellow);
        painter.drawEllipse(w / 4, h / 4, w / 2, h / 2);
        painter.end();
        const std::string path = folder.File(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
        return path;
    }

    std::vector<std::string> DataFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::path(Game()) / "data"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    CTempFolder folder;
    static inline CTempFolder* scratch = nullptr;
    static inline int sampleStatus = -1;
};

Bytes Entry(const Bytes& archive, const std::string& name) {
    const auto view = wren::BigArchiveView::Open(archive);
    const auto entry = view ? view->Find(name) : std::nullopt;
    return entry ? Bytes(entry->data.begin(), entry->data.end()) : Bytes{};
}

// Every entry but `except` has the same bytes in both archives, in the same order.
void ExpectOthersUnchanged(const Bytes& before, const Bytes& after, const std::string& except) {
    const auto old = wren::BigArchiveView::Open(before)->Entries();
    const auto now = wren::BigArchiveView::Open(after)->Entries();
    ASSERT_GE(now.size(), old.size());
    for (size_t i = 0; i < old.size(); ++i) {
        EXPECT_EQ(now[i].name, old[i].name);
        if (old[i].name == except)
            continue;
        EXPECT_TRUE(std::equal(old[i].data.begin(), old[i].data.end(), now[i].data.begin(),
                               now[i].data.end()))
            << old[i].name;
    }
}

} // namespace

TEST_F(PictureImportTest, KitImportReadsBackAsTheConvertedPicture) {
    const Bytes before = ReadAll(Archive("zdata_05.big"));
    const std::string png = Picture("kit.png", 300, 200, false);
    SProcessResult result = Run({"picture", "import", "--game", Game(), "kit", "1", "0", png});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("zdata_05.big: " + kKit10 + " (replaced), shape tp00, DXT1, 64 x 64"),
              std::string::npos)
        << result.out;
    // The old archive went into the database's backups before the swap; no .bak beside it.
    const auto copies = Backups().List("zdata_05.big");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NE(result.out.find("old archive backed up as "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(copies[0].name), std::string::npos) << result.out;
    EXPECT_EQ(ReadAll(Backups().Folder() / copies[0].name), before);
    EXPECT_TRUE(copies[0].original);
    EXPECT_FALSE(fs::exists(Archive("zdata_05.big.bak")));
    const Bytes after = ReadAll(Archive("zdata_05.big"));
    ExpectOthersUnchanged(before, after, kKit10);

    // What the game's streamed request (getShapeX) now decodes is the conversion's result.
    wren::ShapeImportRequest request;
    request.shape = "tp00";
    std::string error;
    const auto expected = wren::ShapeImporter::Import(
        Entry(before, kKit10), CPictureImport::ToBgra(QImage(QString::fromStdString(png))), request,
        error);
    ASSERT_TRUE(expected) << error;
    EXPECT_EQ(Entry(after, kKit10), expected->entry);
    const std::string out = folder.File("out.png");
    result = Run({"picture", "export", "--game", Game(), "kit", "1", "0", out});
    ASSERT_EQ(result.status, 0) << result.err;
    const QImage read = QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(CPictureImport::ToBgra(read).pixels, expected->decoded.pixels);
}

TEST_F(PictureImportTest, CrestGoesWhereTheTeamsEntryIsOrIsAdded) {
    // Team 6's pictures live only in the older archive.
    const Bytes newer = ReadAll(Archive("zdata_05.big"));
    const Bytes older = ReadAll(Archive("zdata_04.big"));
    const std::string png = Picture("crest.png", 64, 64, true);
    SProcessResult result = Run({"picture", "import", "--game", Game(), "crest", "6", png});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("zdata_04.big: " + kCrest6 + " (replaced), shape logo, DXT"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(ReadAll(Archive("zdata_05.big")), newer);
    ExpectOthersUnchanged(older, ReadAll(Archive("zdata_04.big")), kCrest6);

    // Without the entry anywhere, it is added to the newer archive, in the size asked for.
    wren::BigArchiveWriter writer;
    for (const wren::BigEntry& entry : wren::BigArchiveView::Open(older)->Entries())
        if (entry.name != kCrest6)
            writer.Add(std::string(entry.name), entry.data);
    std::string error;
    ASSERT_TRUE(WriteAll(Archive("zdata_04.big"), *writer.Build(error)));
    result = Run(
        {"picture", "import", "--game", Game(), "crest", "6", png, "--size", "32x48", "--bgra32"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("zdata_05.big: " + kCrest6 + " (added), shape logo, 32-bit, 32 x 48"),
              std::string::npos)
        << result.out;
    ExpectOthersUnchanged(newer, ReadAll(Archive("zdata_05.big")), kCrest6);
    result = Run({"picture", "--game", Game(), "crest", "6", folder.File("crest6.png")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("(32 x 48)"), std::string::npos) << result.out;
}

TEST_F(PictureImportTest, MagentaBackgroundsBecomeTransparentUnlessKept) {
    // The game's own style: a badge on pure magenta, no alpha.
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.fillRect(16, 16, 32, 32, QColor(20, 120, 200));
    painter.end();
    const std::string png = folder.File("badge.png");
    ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));
    const std::string out = folder.File("out.png");
    for (const bool keep : {false, true}) {
        std::vector<std::string> args = {"picture", "import", "--game", Game(), "kit", "1", "0",
                                         png};
        if (keep)
            args.push_back("--keep-magenta");
        SProcessResult result = Run(args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out.find("3072 magenta (255, 0, 255) pixels made transparent") !=
                      std::string::npos,
                  !keep)
            << result.out;
        result = Run({"picture", "export", "--game", Game(), "kit", "1", "0", out});
        ASSERT_EQ(result.status, 0) << result.err;
        const QImage read = QImage(QString::fromStdString(out));
        ASSERT_EQ(read.size(), QSize(64, 64));
        for (const QPoint corner : {QPoint(0, 0), QPoint(63, 0), QPoint(0, 63), QPoint(63, 63)})
            EXPECT_EQ(read.pixelColor(corner).alpha(), keep ? 255 : 0) << keep;
        const QColor badge = read.pixelColor(32, 32);
        EXPECT_EQ(badge.alpha(), 255);
        EXPECT_NEAR(badge.blue(), 200, 8);
        EXPECT_NEAR(badge.red(), 20, 8);
    }
}

TEST_F(PictureImportTest, JpegPicturesImportToo) {
    const QString png = QString::fromStdString(Picture("kit.png", 90, 90, false));
    const std::string jpeg = folder.File("kit.jpg");
    ASSERT_TRUE(QImage(png).save(QString::fromStdString(jpeg), "JPEG", 90));
    const SProcessResult result =
        Run({"picture", "import", "--game", Game(), "kit", "1", "1", jpeg});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("DXT1, 64 x 64"), std::string::npos) << result.out;
}

// A PNG that declares its size and holds no pixels: readers know the size from its header.
Bytes PngHeaderOnly(uint32_t width, uint32_t height) {
    Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes chunk = {'I', 'H', 'D', 'R'};
    for (uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk.push_back(static_cast<uint8_t>(value >> shift));
    chunk.insert(chunk.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t byte : chunk) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc ^= 0xFFFFFFFFu;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>((chunk.size() - 4) >> shift));
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(crc >> shift));
    // Empty pixel data and the end, so that the header reads as a whole.
    const Bytes tail = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E,
                        0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

// A picture is imported whole or not at all: a cut-short JPEG (which decodes as a mostly grey
// picture with only a warning) and a picture beyond what may be allocated are refused with
// what is wrong, and --size keeps to what its help says.
TEST_F(PictureImportTest, DamagedAndHugePicturesAreRefused) {
    const Bytes newer = ReadAll(Archive("zdata_05.big"));
    const QString png = QString::fromStdString(Picture("crest.png", 120, 120, false));
    const std::string jpeg = folder.File("crest.jpg");
    ASSERT_TRUE(QImage(png).save(QString::fromStdString(jpeg), "JPEG", 90));
    Bytes cut = ReadAll(jpeg);
    cut.resize(cut.size() / 2);
    ASSERT_TRUE(WriteAll(folder.File("cut.jpg"), cut));
    ASSERT_TRUE(WriteAll(folder.File("huge.png"), PngHeaderOnly(30000, 20000)));
    Bytes cutPng = ReadAll(png.toStdString());
    cutPng.resize(cutPng.size() * 2 / 3);
    ASSERT_TRUE(WriteAll(folder.File("cut.png"), cutPng));
    const struct {
        std::string file;
        const char* message;
    } refusals[] = {
        {folder.File("cut.jpg"), "' is damaged or incomplete ("},
        {folder.File("cut.png"), "' is damaged or incomplete ("},
        {folder.File("huge.png"), "' is too large: 30000 × 20000 pixels"},
    };
    for (const auto& refusal : refusals) {
        const SProcessResult result =
            Run({"picture", "import", "--game", Game(), "crest", "6", refusal.file});
        EXPECT_EQ(result.status, 1) << refusal.file;
        EXPECT_NE(result.err.find("nothing imported: the picture '" + refusal.file +
                                  refusal.message),
                  std::string::npos)
            << result.err;
        // The decoder's warning is in the message, not printed beside it. libpng's own error
        // handler writes its line to standard error before Qt hears of it, so only ours counts.
        const std::string ours = "kestrel-cli: ";
        size_t lines = 0;
        for (size_t at = result.err.find(ours); at != std::string::npos;
             at = result.err.find(ours, at + 1))
            ++lines;
        EXPECT_EQ(lines, 1u) << result.err;
        if (refusal.file.ends_with(".jpg")) {
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        }
    }
    EXPECT_EQ(ReadAll(Archive("zdata_05.big")), newer);

    const SProcessResult large = Run({"picture", "import", "--game", Game(), "crest", "6",
                                      png.toStdString(), "--size", "4097x64"});
    EXPECT_EQ(large.status, 1);
    EXPECT_NE(large.err.find("--size needs WIDTHxHEIGHT, each 1 to 4096"), std::string::npos)
        << large.err;
    EXPECT_NE(Run({"picture", "--help"}).out.find("1 to 4096 a side"), std::string::npos);
    const SProcessResult largest = Run({"picture", "import", "--game", Game(), "crest", "6",
                                        png.toStdString(), "--size", "4096x8"});
    EXPECT_EQ(largest.status, 0) << largest.err;
    EXPECT_NE(largest.out.find("4096 x 8"), std::string::npos) << largest.out;
}

TEST_F(PictureImportTest, RefusalsChangeNothing) {
    const Bytes newer = ReadAll(Archive("zdata_05.big"));
    const std::vector<std::string> files = DataFiles();
    const std::string png = Picture("kit.png", 64, 64, false);
    ASSERT_TRUE(WriteText(folder.File("broken.png"), "\x89PNG but not really"));
    const struct {
        std::vector<std::string> args;
        const char* message;
    } refusals[] = {
        {{"import", "kit", "1", "0", folder.File("broken.png")}, "missing, or not a PNG or JPEG"},
        {{"import", "kit", "1", "0", folder.File("missing.png")}, "missing, or not a PNG or JPEG"},
        {{"import", "kit", "99999", "0", png}, "there is no team 99999"},
        {{"import", "crest", "99999", png}, "there is no team 99999"},
        {{"import", "kit", "1", "x", png}, "'x' is not a number"},
        {{"import", "face", "1", png}, "usage"},
        {{"import", "kit", "1", "0", png, "--size", "0x5"}, "--size needs"},
        {{"kit", "1", "0", png, "--bgra32"}, "go with picture import"},
        {{"crest", "1", png, "--keep-magenta"}, "go with picture import"},
    };
    for (const auto& refusal : refusals) {
        std::vector<std::string> args = {"picture", "--game", Game()};
        args.insert(args.end(), refusal.args.begin(), refusal.args.end());
        const SProcessResult result = Run(args);
        EXPECT_EQ(result.status, std::string(refusal.message) == "usage" ? 2 : 1) << refusal.message;
        EXPECT_NE(result.err.find(refusal.message), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    // An archive nobody may write is left as it is, with no backup and no temporary file.
    fs::permissions(Archive("zdata_05.big"), fs::perms::owner_read | fs::perms::group_read);
    const SProcessResult result =
        Run({"picture", "import", "--game", Game(), "kit", "1", "0", png});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("nothing imported: "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("read-only"), std::string::npos) << result.err;
    fs::permissions(Archive("zdata_05.big"), fs::perms::owner_all);
    EXPECT_EQ(ReadAll(Archive("zdata_05.big")), newer);
    EXPECT_EQ(DataFiles(), files);
}

// A backup that cannot be made stops the import before anything is swapped.
TEST_F(PictureImportTest, AFailedBackupImportsNothing) {
    const Bytes newer = ReadAll(Archive("zdata_05.big"));
    const std::string png = Picture("kit.png", 64, 64, false);
    // A file where the backups folder should be: no folder can be made there, even by root.
    const fs::path folder = Backups().Folder();
    fs::remove_all(folder);
    ASSERT_TRUE(WriteText(folder, "in the way"));
    const std::vector<std::string> files = DataFiles();
    const SProcessResult result =
        Run({"picture", "import", "--game", Game(), "kit", "1", "0", png});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("nothing imported: cannot back the old archive up"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(ReadAll(Archive("zdata_05.big")), newer);
    EXPECT_EQ(DataFiles(), files);
}

// Archive copies are listed and restored like the database's, by name or the original, and
// only the original and the newest few of them stay.
TEST_F(PictureImportTest, ArchiveBackupsAreListedRotatedAndRestored) {
    const Bytes original = ReadAll(Archive("zdata_05.big"));
    std::vector<Bytes> states = {original};
    for (int i = 0; i < 4; ++i) {
        const std::string png = Picture(("kit" + std::to_string(i) + ".png").c_str(), 40 + i * 7,
                                        50, false);
        const SProcessResult result =
            Run({"picture", "import", "--game", Game(), "kit", "1", "0", png});
        ASSERT_EQ(result.status, 0) << result.err;
        states.push_back(ReadAll(Archive("zdata_05.big")));
    }
    const auto copies = Backups().List("zdata_05.big");
    ASSERT_EQ(copies.size(), 1u + CBackupStore::kArchiveKeep);
    EXPECT_EQ(ReadAll(Backups().Folder() / copies[0].name), states[3]);
    EXPECT_TRUE(copies.back().original);

    SProcessResult result = Run({"--game", Game(), "backups"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(copies[0].name + "\tzdata_05.big\t"), std::string::npos)
        << result.out;

    result = Run({"--game", Game(), "restore", copies[0].name});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadAll(Archive("zdata_05.big")), states[3]);
    EXPECT_NE(result.out.find("the file as it was is backup "), std::string::npos) << result.out;

    result = Run({"--game", Game(), "restore", "--original", "--archive", "zdata_05.big"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadAll(Archive("zdata_05.big")), original);
    EXPECT_EQ(Backups().List("zdata_05.big").size(), 1u + CBackupStore::kArchiveKeep);
    // The database was not touched by any of it.
    EXPECT_TRUE(Backups().List("corvid.db").empty());

    result = Run({"--game", Game(), "restore", "--original", "--archive", "../corvid.db"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("--archive takes an archive's file name"), std::string::npos)
        << result.err;
    result = Run({"--db", (fs::path(Game()) / "data" / "cmn" / "corvid.db").string(), "restore",
                  Backups().List("zdata_05.big").front().name});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("needs --game DIR"), std::string::npos) << result.err;
}

// A newer archive stored whole as one packed stream: the requests fall back to the older one,
// so a picture found there goes there; one that would go into the packed archive is refused.
TEST_F(PictureImportTest, AWholePackedArchiveIsRefusedAndTheOlderOneServes) {
    const std::string packed = folder.File("packed.big");
    SProcessResult result =
        Run({"pack", Archive("zdata_05.big").string(), packed});
    ASSERT_EQ(result.status, 0) << result.err;
    fs::copy_file(packed, Archive("zdata_05.big"), fs::copy_options::overwrite_existing);
    const Bytes newer = ReadAll(Archive("zdata_05.big"));
    const Bytes older = ReadAll(Archive("zdata_04.big"));
    const std::string png = Picture("crest.png", 64, 64, true);

    result = Run({"picture", "import", "--game", Game(), "crest", "6", png});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("zdata_04.big: " + kCrest6 + " (replaced)"), std::string::npos)
        << result.out;
    ExpectOthersUnchanged(older, ReadAll(Archive("zdata_04.big")), kCrest6);

    const std::vector<std::string> files = DataFiles();
    result = Run({"picture", "import", "--game", Game(), "kit", "1", "0", png});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("stored as one packed stream"), std::string::npos) << result.err;
    EXPECT_EQ(ReadAll(Archive("zdata_05.big")), newer);
    EXPECT_EQ(DataFiles(), files);
    EXPECT_TRUE(Backups().List("zdata_05.big").empty());
}

#ifndef _WIN32
// Two imports into one archive at the same time, three times over: each rewrites the archive
// under the installation's lock from what the other left, so both new pictures are in it.
TEST_F(PictureImportTest, TwoImportsAtOnceKeepBothPictures) {
    const QString game = QString::fromStdString(Game());
    const CPictureImport::STarget first = CPictureImport::KitTarget(game, 1, 0);
    const CPictureImport::STarget second = CPictureImport::KitTarget(game, 2, 0);
    ASSERT_EQ(first.archive, second.archive);
    const fs::path archive = first.archive.toStdString();
    for (int round = 0; round < 3; ++round) {
        const Bytes before = ReadAll(archive);
        const std::string one = Picture("one.png", 40 + round, 64, round == 1);
        const std::string two = Picture("two.png", 64, 50 + round, round == 2);
        const SProcessResult result = RunProcess(
            "sh",
            {"-c",
             "\"$1\" picture import --game \"$2\" --wait 60 kit 1 0 \"$3\" >/dev/null & a=$!; "
             "\"$1\" picture import --game \"$2\" --wait 60 kit 2 0 \"$4\" >/dev/null & b=$!; "
             "wait $a && wait $b",
             "sh", KESTREL_CLI, Game(), one, two},
            folder.Path());
        ASSERT_EQ(result.status, 0) << result.err;
        const Bytes after = ReadAll(archive);
        EXPECT_NE(Entry(after, first.container.toStdString()),
                  Entry(before, first.container.toStdString()))
            << "round " << round;
        EXPECT_NE(Entry(after, second.container.toStdString()),
                  Entry(before, second.container.toStdString()))
            << "round " << round;
    }
}
#endif
