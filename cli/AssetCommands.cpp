#include "AssetCommands.h"

#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/pack/PackEncoder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<Bytes> ReadWholeFile(const std::string& path, std::string& error) {
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
    for (const wren::BigEntry& entry : view->Entries())
        std::cout << entry.name << '\t' << entry.offset << '\t' << entry.size << '\n';
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
         "(decimal bytes); a packed archive file is unpacked first",
         RunArchive},
        {"pack", "pack IN OUT", "packs the file IN into the packed stream OUT", RunPack},
        {"unpack", "unpack IN OUT", "unpacks the packed stream IN into the file OUT", RunUnpack},
    };
}

} // namespace

const std::vector<CliCommand>& AssetCommands() {
    static const std::vector<CliCommand> commands = [] {
        std::vector<CliCommand> all = ArchiveCommands();
        return all;
    }();
    return commands;
}
