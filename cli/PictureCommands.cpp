#include "PictureCommands.h"

#include "CCliFiles.h"
#include "CCliPictures.h"
#include "ModelGame.h"

#include "editor/assets/CPictureArchive.h"
#include "editor/assets/CPictureNames.h"
#include "editor/assets/CPngCodec.h"
#include "editor/assets/CTeamPictureCopy.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CTeam.h"
#include "editor/model/CTeamKit.h"

#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>

namespace {

// The report goes to standard error when the picture itself goes to standard output.
int SavePicture(const std::optional<wren::BgraImage>& image, const std::string& out,
                const std::string& what) {
    if (!image)
        return CliFail("no picture for " + what);
    std::string error;
    const auto png = CPngCodec::Encode(*image, error);
    if (!png || !CCliFiles::Write(out, *png, error))
        return CliFail(error);
    (CCliFiles::IsStandard(out) ? std::cerr : std::cout)
        << "wrote " << (CCliFiles::IsStandard(out) ? "standard output" : out) << " ("
        << image->width << " x " << image->height << ")\n";
    return 0;
}

int RunShape(const CliContext& context) {
    const std::vector<std::string> args(context.args.begin() + 1, context.args.end());
    const bool useWhole = context.Has("--whole");
    if (args.size() != 4)
        return CliUsage("shape ARCHIVE CONTAINER SHAPE OUT.png [--whole]");
    CCliPictures pictures(context);
    std::string error;
    if (!pictures.Start(error))
        return CliFail(error);
    return SavePicture(pictures.Shape(args[0], args[1], args[2], useWhole), args[3],
                       "shape '" + args[2] + "' of '" + args[1] + "' in '" + args[0] + "'");
}

// The streamed entry, as the editor asks.
CPictureArchive::Fetcher StreamedEntries(CCliPictures& pictures) {
    return [&pictures](const std::string& archive, const std::string& container,
                       const std::string& shape) {
        return pictures.Shape(archive, container, shape, false);
    };
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
    CCliPictures pictures(context);
    if (!pictures.Start(error))
        return CliFail(error);
    const auto fetch = StreamedEntries(pictures);
    std::optional<wren::BgraImage> image;
    if (parsed->kind == "kit")
        image = CPictureArchive::Read(fetch, *context.game,
                                      CPictureNames::KitContainer(parsed->number, parsed->kit),
                                      CPictureNames::KitShape(parsed->kit));
    else if (parsed->kind == "crest")
        image = CPictureArchive::Read(fetch, *context.game,
                                      CPictureNames::LogoContainer(parsed->number),
                                      CPictureNames::LogoShape());
    else if (parsed->number != 0) // texture 0 means none
        image = CPictureArchive::Read(fetch, *context.game,
                                      CPictureNames::TextureContainer(parsed->number),
                                      CPictureNames::TextureShape());
    return SavePicture(image, parsed->file,
                       parsed->kind + " " + words[1] +
                           (parsed->kind == "kit" ? " " + words[2] : std::string()));
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

    CCliPictures pictures(context);
    const auto picture = pictures.Load(parsed->file, error);
    if (!picture)
        return CliFail("nothing imported: " + error);

    const std::string& folder = *context.game;
    const CPictureArchive::STarget target =
        parsed->kind == "kit" ? CPictureArchive::KitTarget(folder, parsed->number, parsed->kit)
                              : CPictureArchive::CrestTarget(folder, parsed->number);
    SCliGamePaths paths;
    if (!paths.Resolve(context, error))
        return CliFail(error);
    // The old archive goes into the database's backups, where restore finds it.
    const CBackupStore backups(CBackupStore::FolderFor(Utf8Path(paths.db)));
    const auto prepared = CPictureArchive::Prepare(target, *picture, request, error);
    CPictureArchive::SWritten written;
    if (!prepared || !CPictureArchive::Write(*prepared, backups, paths.keep, written, error))
        return CliFail("nothing imported: " + error);
    const wren::ShapeImportResult& shape = prepared->shape;
    std::cout << "wrote " << written.archive << ": " << target.container << " ("
              << (written.appended ? "added" : "replaced") << "), shape " << target.shape << ", "
              << CPictureArchive::FormatName(shape.type) << ", " << shape.width
              << " x " << shape.height << (shape.packed ? ", packed" : "") << "\n";
    if (shape.magentaPixels > 0)
        std::cout << shape.magentaPixels
                  << " magenta (255, 0, 255) pixels made transparent (--keep-magenta keeps them)\n";
    if (!written.backup.empty())
        std::cout << "old archive backed up as " << written.backup << "\n";
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
         std::string(CCliPictures::ShapeSummary()) + "; prints \"wrote OUT.png (W x H)\"",
         RunShape,
         {{"--whole", 0, "  load the whole archive through getShape"}}},
        {"picture",
         "picture --game DIR [export] kit TEAM KIT OUT.png | crest TEAM OUT.png | face NUMBER "
         "OUT.png | import kit TEAM KIT IN.png | import crest TEAM IN.png [--size WxH] "
         "[--bgra32] [--keep-magenta]",
         "export (the default) asks for a kit, crest or player texture as the editor does "
         "(data/zdata_05.big, then data/zdata_04.big) and writes it as PNG; prints \"wrote "
         "OUT.png (W x H)\". import converts a " + std::string(CCliPictures::FileKinds()) +
             " picture to the team's kit or crest shape (the old shape's size, DXT1 when opaque, DXT3/DXT5 with alpha; pure magenta in an opaque "
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
    CCliPictures pictures(context);
    std::string error;
    if (!pictures.Start(error)) {
        std::cerr << "kestrel-cli: pictures not copied: " << error << "\n";
        return;
    }
    std::vector<int> kits;
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot)
        if (team.FindKit(slot))
            kits.push_back(slot);
    const CBackupStore backups(CBackupStore::FolderFor(Utf8Path(dbPath)));
    const auto items =
        CTeamPictureCopy::Copy(StreamedEntries(pictures), from, there, *context.game, here, kits,
                               backups, context.keep.value_or(CBackupStore::kDefaultKeep));
    for (const CTeamPictureCopy::SItem& item : items) {
        const std::string what =
            item.kit == CTeamPictureCopy::kCrest ? "crest" : "kit " + std::to_string(item.kit);
        switch (item.outcome) {
        case CTeamPictureCopy::EOutcome::Copied:
            std::cout << "picture\t" << what << "\n";
            break;
        case CTeamPictureCopy::EOutcome::Absent:
            std::cerr << "kestrel-cli: " << what << ": no picture there, skipped\n";
            break;
        case CTeamPictureCopy::EOutcome::Failed:
            std::cerr << "kestrel-cli: " << what << ": not copied: " << item.reason << "\n";
            break;
        }
    }
}
