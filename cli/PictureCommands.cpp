#include "PictureCommands.h"

#include "CCliFiles.h"
#include "ModelGame.h"

#include "editor/assets/CAssetLibrary.h"
#include "editor/assets/CPictureFile.h"
#include "editor/assets/CPictureImport.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/assets/CProgramFolders.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CTeam.h"
#include "editor/model/CTeamKit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <span>

namespace {

// The library named by --library, else Wren_Utils beside the tool or where it is installed.
QString LibraryPath(const CliContext& context) {
    if (context.library)
        return QString::fromLocal8Bit(*context.library);
    const QString program = QString::fromLocal8Bit(context.programPath);
    if (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\')))
        return CProgramFolders::LibraryPath(QFileInfo(program).absolutePath());
    if (QCoreApplication::instance())
        return CAssetLibrary::DefaultLibraryPath();
    int argc = 1;
    std::string name = context.programPath;
    char* argv[] = {name.data(), nullptr};
    const QCoreApplication application(argc, argv);
    return CAssetLibrary::DefaultLibraryPath();
}

// Loads and initialises the library as the editor does; false with a message in error.
bool StartLibrary(const CliContext& context, CAssetLibrary& library, std::string& error) {
    if (!library.Load(LibraryPath(context))) {
        error = library.ErrorText().toStdString();
        return false;
    }
    if (!library.CanReadBitmaps()) {
        error = "the library has no readBitmap or freeBitmap export";
        return false;
    }
    if (library.InitReal() != 1) {
        error = "the library's initReal failed";
        return false;
    }
    return true;
}

// The report goes to standard error when the picture itself goes to standard output.
int SavePicture(const QImage& image, const std::string& out, const std::string& what) {
    if (image.isNull())
        return CliFail("no picture for " + what);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return CliFail("cannot write '" + out + "'");
    std::string error;
    if (!CCliFiles::Write(out, std::span(reinterpret_cast<const uint8_t*>(png.constData()),
                                         static_cast<size_t>(png.size())),
                          error))
        return CliFail(error);
    (CCliFiles::IsStandard(out) ? std::cerr : std::cout)
        << "wrote " << (CCliFiles::IsStandard(out) ? "standard output" : out) << " ("
        << image.width() << " x " << image.height() << ")\n";
    return 0;
}

int RunShape(const CliContext& context) {
    const std::vector<std::string> args(context.args.begin() + 1, context.args.end());
    const bool useWhole = context.Has("--whole");
    if (args.size() != 4)
        return CliUsage("shape ARCHIVE CONTAINER SHAPE OUT.png [--whole]");
    CAssetLibrary library;
    std::string error;
    if (!StartLibrary(context, library, error))
        return CliFail(error);
    const QString archive = QString::fromLocal8Bit(args[0]);
    const QByteArray container = QByteArray::fromStdString(args[1]);
    const QByteArray shape = QByteArray::fromStdString(args[2]);
    const QImage image = useWhole ? library.GetShape(archive, container, shape)
                                  : library.GetShapeX(archive, container, shape);
    const int status = SavePicture(
        image, args[3], "shape '" + args[2] + "' of '" + args[1] + "' in '" + args[0] + "'");
    library.CleanupReal();
    return status;
}

std::optional<int> ParseNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

constexpr const char* kPictureUsage =
    "picture --game DIR [export] kit TEAM KIT OUT.png | crest TEAM OUT.png | "
    "face NUMBER OUT.png | import kit TEAM KIT IN.png | import crest TEAM IN.png";

// The words after "picture" (and "import" or "export"): kind, numbers, file; checked for shape.
struct SPictureArgs {
    std::string kind;
    int number = 0;
    int kit = 0;
    std::string file;
};

std::optional<SPictureArgs> ParsePictureArgs(const std::vector<std::string>& words, bool allowFace,
                                             std::string& error) {
    error.clear(); // empty: the words do not make a picture command
    if (words.empty())
        return std::nullopt;
    SPictureArgs parsed;
    parsed.kind = words[0];
    const bool isKit = parsed.kind == "kit";
    if ((isKit && words.size() != 4) || (!isKit && words.size() != 3) ||
        (!isKit && parsed.kind != "crest" && !(allowFace && parsed.kind == "face")))
        return std::nullopt;
    const auto number = ParseNumber(words[1]);
    const auto kit = isKit ? ParseNumber(words[2]) : std::optional<int>(0);
    if (!number || !kit) {
        error = "'" + (number ? words[2] : words[1]) + "' is not a number";
        return std::nullopt;
    }
    parsed.number = *number;
    parsed.kit = *kit;
    parsed.file = words.back();
    return parsed;
}

int ExportPicture(const CliContext& context, const std::vector<std::string>& words) {
    std::string error;
    const auto parsed = ParsePictureArgs(words, true, error);
    if (!parsed)
        return error.empty() ? CliUsage(kPictureUsage) : CliFail(error);
    CAssetLibrary library;
    if (!StartLibrary(context, library, error))
        return CliFail(error);
    const CPictureRequests requests(library, QString::fromLocal8Bit(*context.game));
    QImage image;
    if (parsed->kind == "kit")
        image = requests.KitImage(parsed->number, parsed->kit);
    else if (parsed->kind == "crest")
        image = requests.Logo(parsed->number);
    else
        image = requests.PlayerTexture(parsed->number);
    const int status = SavePicture(image, parsed->file,
                                   parsed->kind + " " + words[1] +
                                       (parsed->kind == "kit" ? " " + words[2] : std::string()));
    library.CleanupReal();
    return status;
}

// --size WxH: both sides 1 to the largest shape an import makes.
std::optional<std::pair<uint32_t, uint32_t>> ParseSize(const std::string& text) {
    const size_t cross = text.find('x');
    if (cross == std::string::npos)
        return std::nullopt;
    const auto width = ParseNumber(text.substr(0, cross));
    const auto height = ParseNumber(text.substr(cross + 1));
    const int most = static_cast<int>(wren::kShapeImportMaxSide);
    if (!width || !height || *width < 1 || *height < 1 || *width > most || *height > most)
        return std::nullopt;
    return std::pair{static_cast<uint32_t>(*width), static_cast<uint32_t>(*height)};
}

int ImportPicture(const CliContext& context, const std::vector<std::string>& words) {
    std::string error;
    const auto parsed = ParsePictureArgs(words, false, error);
    if (!parsed)
        return error.empty() ? CliUsage(kPictureUsage) : CliFail(error);
    wren::ShapeImportRequest request;
    if (const auto size = context.Value("--size")) {
        const auto parsedSize = ParseSize(*size);
        if (!parsedSize)
            return CliFail("--size needs WIDTHxHEIGHT, each 1 to " +
                           std::to_string(wren::kShapeImportMaxSide) + ", not '" + *size + "'");
        request.width = parsedSize->first;
        request.height = parsedSize->second;
    }
    if (context.Has("--bgra32"))
        request.format = wren::ShapeImportFormat::Bgra32;
    request.magentaTransparent = !context.Has("--keep-magenta");

    // Locked from the first read of the archive to its replacement.
    CCliGame game;
    if (!game.OpenForWriting(context, error))
        return CliFail(error);
    const CTeam* team = game.Database().FindTeam(parsed->number);
    if (!team)
        return CliFail("there is no team " + std::to_string(parsed->number));
    if (parsed->kind == "kit" && !team->FindKit(parsed->kit))
        return CliFail("team " + std::to_string(parsed->number) + " has no kit " +
                       std::to_string(parsed->kit));

    // JPEG comes through an image plugin, which needs the application object.
    std::optional<QCoreApplication> application;
    int argc = 1;
    std::string name = context.programPath;
    char* argv[] = {name.data(), nullptr};
    if (!QCoreApplication::instance())
        application.emplace(argc, argv);
    CPictureFile::SLoaded loaded;
    if (CCliFiles::IsStandard(parsed->file)) {
        const auto bytes = CCliFiles::Read(parsed->file, error, CPictureFile::kMaxFileBytes);
        if (!bytes)
            return CliFail(error);
        loaded = CPictureFile::FromData(QByteArray(reinterpret_cast<const char*>(bytes->data()),
                                                   static_cast<qsizetype>(bytes->size())));
    } else {
        loaded = CPictureFile::Load(QString::fromLocal8Bit(parsed->file));
    }
    if (loaded.problem != CPictureFile::EProblem::None)
        return CliFail("nothing imported: the picture '" + parsed->file + "' is " +
                       loaded.Reason().toStdString());
    const QImage& picture = loaded.image;

    const QString folder = QString::fromLocal8Bit(*context.game);
    const CPictureImport::STarget target =
        parsed->kind == "kit" ? CPictureImport::KitTarget(folder, parsed->number, parsed->kit)
                              : CPictureImport::CrestTarget(folder, parsed->number);
    SCliGamePaths paths;
    if (!paths.Resolve(context, error))
        return CliFail(error);
    // The old archive goes into the database's backups, where restore finds it.
    const CBackupStore backups(CBackupStore::FolderFor(Utf8Path(paths.db)));
    QString reason;
    const auto prepared = CPictureImport::Prepare(target, picture, request, reason);
    CPictureImport::SWritten written;
    if (!prepared || !CPictureImport::Write(*prepared, backups, paths.keep, written, reason))
        return CliFail("nothing imported: " + reason.toStdString());
    const wren::ShapeImportResult& shape = prepared->shape;
    std::cout << "wrote " << written.archive.toStdString() << ": " << target.container.toStdString()
              << " (" << (written.appended ? "added" : "replaced") << "), shape "
              << target.shape.toStdString() << ", "
              << CPictureImport::FormatName(shape.type).toStdString() << ", " << shape.width
              << " x " << shape.height << (shape.packed ? ", packed" : "") << "\n";
    if (shape.magentaPixels > 0)
        std::cout << shape.magentaPixels
                  << " magenta (255, 0, 255) pixels made transparent (--keep-magenta keeps them)\n";
    if (!written.backup.isEmpty())
        std::cout << "old archive backed up as " << written.backup.toStdString() << "\n";
    return 0;
}

int RunPicture(const CliContext& context) {
    if (!context.game)
        return CliFail("picture needs --game DIR");
    const std::vector<std::string> words(context.args.begin() + 1, context.args.end());
    if (!words.empty() && words[0] == "import")
        return ImportPicture(context, {words.begin() + 1, words.end()});
    if (!words.empty() && words[0] == "export")
        return ExportPicture(context, {words.begin() + 1, words.end()});
    if (context.Has("--size") || context.Has("--bgra32") || context.Has("--keep-magenta"))
        return CliFail("--size, --bgra32 and --keep-magenta go with picture import");
    return ExportPicture(context, words);
}

} // namespace

std::vector<CliCommand> PictureCommands() {
    return {
        {"shape",
         "shape ARCHIVE CONTAINER SHAPE OUT.png [--whole]",
         "loads Wren_Utils (beside the tool, or --library PATH) as the editor does and writes "
         "the shape as PNG through getShapeX, or getShape with --whole; prints "
         "\"wrote OUT.png (W x H)\"",
         RunShape,
         {{"--whole", 0, "  load the whole archive through getShape"}}},
        {"picture",
         "picture --game DIR [export] kit TEAM KIT OUT.png | crest TEAM OUT.png | face NUMBER "
         "OUT.png | import kit TEAM KIT IN.png | import crest TEAM IN.png [--size WxH] "
         "[--bgra32] [--keep-magenta]",
         "export (the default) asks for a kit, crest or player texture as the editor does "
         "(data/zdata_05.big, then data/zdata_04.big) and writes it as PNG; prints \"wrote "
         "OUT.png (W x H)\". import converts a PNG or JPEG to the team's kit or crest shape (the "
         "old shape's size, DXT1 when opaque, DXT3/DXT5 with alpha; pure magenta in an opaque "
         "picture, the game's transparent colour, becomes transparent) and writes it into the "
         "archive that holds it, else adds it to data/zdata_05.big; the old archive is first "
         "copied into the backups (see backups and restore; of an archive the original and the "
         "newest " + std::to_string(CBackupStore::kArchiveKeep) +
             " copies are kept, each as large as the archive); prints the archive, entry, "
             "shape, format, size and the backup",
         RunPicture,
         {{"--size", 1,
           "WxH  size of the imported shape, 1 to " +
               std::to_string(wren::kShapeImportMaxSide) +
               " a side (default: the old shape's)"},
          {"--bgra32", 0, "  store the imported picture as 32 bits a pixel instead of DXT"},
          {"--keep-magenta", 0,
           "  keep pure magenta pixels as a colour instead of making them transparent"}}},
    };
}


void CopyTeamPictures(const CliContext& context, const std::string& from, int32_t there,
                      int32_t here, const CTeam& team, const std::string& dbPath) {
    std::optional<QCoreApplication> application;
    int argc = 1;
    std::string name = context.programPath;
    char* argv[] = {name.data(), nullptr};
    if (!QCoreApplication::instance())
        application.emplace(argc, argv);
    CAssetLibrary library;
    std::string error;
    if (!StartLibrary(context, library, error)) {
        std::cerr << "kestrel-cli: pictures not copied: " << error << "\n";
        return;
    }
    const CPictureRequests requests(library, QString::fromLocal8Bit(from));
    const QString folder = QString::fromLocal8Bit(*context.game);
    const CBackupStore backups(CBackupStore::FolderFor(Utf8Path(dbPath)));
    const int keep = context.keep.value_or(CBackupStore::kDefaultKeep);
    const auto import = [&](const QImage& picture, const CPictureImport::STarget& target,
                            const std::string& what) {
        if (picture.isNull()) {
            std::cerr << "kestrel-cli: " << what << ": no picture there, skipped\n";
            return;
        }
        QString reason;
        const auto prepared = CPictureImport::Prepare(target, picture, {}, reason);
        CPictureImport::SWritten written;
        if (!prepared || !CPictureImport::Write(*prepared, backups, keep, written, reason))
            std::cerr << "kestrel-cli: " << what << ": not copied: " << reason.toStdString()
                      << "\n";
        else
            std::cout << "picture\t" << what << "\n";
    };
    import(requests.Logo(there), CPictureImport::CrestTarget(folder, here), "crest");
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot)
        if (team.FindKit(slot))
            import(requests.KitImage(there, slot), CPictureImport::KitTarget(folder, here, slot),
                   "kit " + std::to_string(slot));
    library.CleanupReal();
}
