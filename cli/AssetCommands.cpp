#include "AssetCommands.h"

#include "CCliFiles.h"
#include "PictureCommands.h"

#include "editor/database/Utf8Path.h"

#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/pack/PackEncoder.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<Bytes> ReadWholeFile(const std::string& path, std::string& error) {
    return CCliFiles::Read(path, error);
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes, std::string& error) {
    return CCliFiles::Write(path, bytes, error);
}

// ---- Archives and packed streams ----

int RunArchive(const CliContext& context) {
    if (context.args.size() != 3 || context.args[1] != "list")
        return CliUsage("archive list FILE");
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
        return CliUsage("pack IN OUT");
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
        return CliUsage("unpack IN OUT");
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
        {"pack", "pack IN OUT",
         "packs the file IN into the packed stream OUT (- : standard input or output; an OUT "
         "that is a device or a FIFO is written into, a link's file is replaced)",
         RunPack},
        {"unpack", "unpack IN OUT",
         "unpacks the packed stream IN into the file OUT (- : standard input or output; an OUT "
         "that is a device or a FIFO is written into, a link's file is replaced)",
         RunUnpack},
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
