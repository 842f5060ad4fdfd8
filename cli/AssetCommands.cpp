#include "AssetCommands.h"

#include "editor/assets/CAssetLibrary.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/assets/CProgramFolders.h"

#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/pack/PackEncoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<Bytes> ReadWholeFile(const std::string& path, std::string& error) {
    // Only regular files: a folder cannot be read as one, and a FIFO would block forever.
    std::error_code statusError;
    const auto status = std::filesystem::status(path, statusError);
    if (std::filesystem::is_directory(status)) {
        error = "'" + path + "' is a folder, not a file";
        return std::nullopt;
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = "'" + path + "' is not a regular file";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open '" + path + "' for reading";
        return std::nullopt;
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
    return bytes;
}

// Writes beside the target and renames over it, so a failed write leaves the target alone.
bool WriteWholeFile(const std::string& path, const Bytes& bytes, std::string& error) {
    const std::string temporary = path + ".kestrel-tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            error = "cannot write '" + path + "'";
            return false;
        }
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, renameError);
        error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}

// ---- Archives and packed streams ----

int RunArchive(const CliContext& context) {
    if (context.args.size() != 3 || context.args[1] != "list")
        return CliFail("usage: archive list FILE");
    const std::string& path = context.args[2];
    std::string error;
    auto bytes = ReadWholeFile(path, error);
    if (!bytes)
        return CliFail(error);
    // A packed archive file is listed as the archive it unpacks to.
    if (wren::PACK_unpackedSize(*bytes) != 0) {
        auto unpacked = wren::PACK_unpackToVector(*bytes);
        if (!unpacked)
            return CliFail("'" + path + "' is a damaged packed stream");
        bytes = std::move(unpacked);
    }
    const auto view = wren::BigArchiveView::Open(*bytes);
    if (!view)
        return CliFail("'" + path +
                       "' is not an archive (unknown kind, or its directory runs past the end)");
    size_t outside = 0;
    const wren::BigEntry* firstOutside = nullptr;
    const std::vector<wren::BigEntry> entries = view->Entries();
    for (const wren::BigEntry& entry : entries) {
        std::cout << entry.name << '\t' << entry.offset << '\t' << entry.size << '\n';
        if (!entry.inBounds && outside++ == 0)
            firstOutside = &entry;
    }
    if (firstOutside)
        return CliFail("'" + path + "' is cut short or damaged: " + std::to_string(outside) +
                       " of " + std::to_string(entries.size()) + " entries lie outside its " +
                       std::to_string(bytes->size()) + " bytes, the first '" +
                       std::string(firstOutside->name) + "' (offset " +
                       std::to_string(firstOutside->offset) + ", size " +
                       std::to_string(firstOutside->size) + ")");
    return 0;
}

int RunPack(const CliContext& context) {
    if (context.args.size() != 3)
        return CliFail("usage: pack IN OUT");
    std::string error;
    const auto input = ReadWholeFile(context.args[1], error);
    if (!input)
        return CliFail(error);
    const auto packed = wren::PACK_pack(*input);
    if (!packed)
        return CliFail("'" + context.args[1] + "' is too large to pack (4 GiB or more)");
    if (!WriteWholeFile(context.args[2], *packed, error))
        return CliFail(error);
    return 0;
}

int RunUnpack(const CliContext& context) {
    if (context.args.size() != 3)
        return CliFail("usage: unpack IN OUT");
    std::string error;
    const auto input = ReadWholeFile(context.args[1], error);
    if (!input)
        return CliFail(error);
    if (!wren::PACK_isDecodable(*input))
        return CliFail("'" + context.args[1] + "' is not a packed stream of a decodable kind");
    const auto output = wren::PACK_unpackToVector(*input);
    if (!output)
        return CliFail("'" + context.args[1] +
                       "' is a damaged packed stream (truncated, or it does not produce its "
                       "declared size)");
    if (!WriteWholeFile(context.args[2], *output, error))
        return CliFail(error);
    return 0;
}

std::vector<CliCommand> ArchiveCommands() {
    return {
        {"archive", "archive list FILE",
         "lists the entries of an archive (.big), one per line: NAME<TAB>OFFSET<TAB>SIZE "
         "(decimal bytes); a packed archive file is unpacked first; exits 1 when entries lie "
         "outside the file",
         RunArchive},
        {"pack", "pack IN OUT", "packs the file IN into the packed stream OUT", RunPack},
        {"unpack", "unpack IN OUT", "unpacks the packed stream IN into the file OUT", RunUnpack},
    };
}

// ---- Pictures through the Wren_Utils library ----

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

int SavePicture(const QImage& image, const std::string& out, const std::string& what) {
    if (image.isNull())
        return CliFail("no picture for " + what);
    if (!image.save(QString::fromLocal8Bit(out), "PNG"))
        return CliFail("cannot write '" + out + "'");
    std::cout << "wrote " << out << " (" << image.width() << " x " << image.height() << ")\n";
    return 0;
}

int RunShape(const CliContext& context) {
    const std::vector<std::string> args(context.args.begin() + 1, context.args.end());
    const bool useWhole = context.Has("--whole");
    if (args.size() != 4)
        return CliFail("usage: shape ARCHIVE CONTAINER SHAPE OUT.png [--whole]");
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

int RunPicture(const CliContext& context) {
    const auto& args = context.args;
    const char* usage = "usage: picture --game DIR kit TEAM KIT OUT.png | crest TEAM OUT.png | "
                        "face NUMBER OUT.png";
    if (!context.game)
        return CliFail("picture needs --game DIR");
    if (args.size() < 4)
        return CliFail(usage);
    const std::string& kind = args[1];
    const bool isKit = kind == "kit";
    if ((isKit && args.size() != 5) || (!isKit && args.size() != 4) ||
        (!isKit && kind != "crest" && kind != "face"))
        return CliFail(usage);
    const auto number = ParseNumber(args[2]);
    const auto kit = isKit ? ParseNumber(args[3]) : std::optional<int>(0);
    if (!number || !kit)
        return CliFail("'" + (number ? args[3] : args[2]) + "' is not a number");
    CAssetLibrary library;
    std::string error;
    if (!StartLibrary(context, library, error))
        return CliFail(error);
    const CPictureRequests requests(library, QString::fromLocal8Bit(*context.game));
    QImage image;
    if (isKit)
        image = requests.KitImage(*number, *kit);
    else if (kind == "crest")
        image = requests.Logo(*number);
    else
        image = requests.PlayerTexture(*number);
    const int status = SavePicture(image, args.back(),
                                   kind + " " + args[2] + (isKit ? " " + args[3] : std::string()));
    library.CleanupReal();
    return status;
}

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
         "picture --game DIR kit TEAM KIT OUT.png | crest TEAM OUT.png | face NUMBER OUT.png",
         "asks for a kit, crest or player texture as the editor does (data/zdata_05.big, then "
         "data/zdata_04.big) and writes it as PNG; prints \"wrote OUT.png (W x H)\"",
         RunPicture},
    };
}

} // namespace

const std::vector<CliCommand>& AssetCommands() {
    static const std::vector<CliCommand> commands = [] {
        std::vector<CliCommand> all = ArchiveCommands();
        for (CliCommand& command : PictureCommands())
            all.push_back(std::move(command));
        return all;
    }();
    return commands;
}
