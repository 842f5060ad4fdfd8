#include "wren_utils/engine/DebugPrint.h"
#include "wren_utils/engine/FilePaths.h"
#include "wren_utils/engine/FileSystem.h"
#include "wren_utils/pack/PackDecoder.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace wren {
namespace {

// The whole file, read inside an atomic section already entered at priority.
std::optional<std::vector<std::uint8_t>> LoadInSection(const std::string& name, unsigned flags,
                                                       int priority) {
    const FileHandle file =
        FILESYS_open(name, kFileReadOnly | ((flags & kLoadRaw) != 0 ? kFileRaw : 0), priority);
    if (file == 0) {
        PRINT_error("FILE_load - unable to open file %s\n", name.c_str());
        return std::nullopt;
    }
    const std::int64_t size = FILESYS_size(file, priority - 1);
    std::vector<std::uint8_t> data;
    try {
        data.resize(static_cast<std::size_t>(size));
    } catch (const std::exception&) {
        FILESYS_close(file, priority - 1);
        PRINT_error("FILE_load - unable to reserve memory for file %s\n", name.c_str());
        return std::nullopt;
    }
    const std::int64_t read = FILESYS_readchunked(file, 0, data.data(), size, priority - 1);
    FILESYS_close(file, priority - 1);
    if (read != size) {
        PRINT_error("FILE_load - unable to read file %s\n", name.c_str());
        return std::nullopt;
    }
    return data;
}

int SectionPriority() {
    return kFileDefaultPriority;
}

} // namespace

std::optional<std::vector<std::uint8_t>> FILE_load(const std::string& name,
                                                   unsigned allocationFlags) {
    std::optional<std::vector<std::uint8_t>> result;
    FILESYS_atomic([&](int priority) { result = LoadInSection(name, allocationFlags, priority); },
                   FILE_device(name), SectionPriority());
    return result;
}

std::int64_t FILE_size(const std::string& name) {
    std::int64_t size = 0;
    FILESYS_atomic(
        [&](int priority) {
            const FileHandle file = FILESYS_open(name, kFileReadOnly, priority);
            if (file == 0) {
                PRINT_error("FILE_size - unable to open file %s\n", name.c_str());
                return;
            }
            size = FILESYS_size(file, priority - 1);
            FILESYS_close(file, priority - 1);
        },
        FILE_device(name), SectionPriority());
    return size;
}

std::int64_t FILE_read(const std::string& name, std::span<std::uint8_t> buffer, std::int64_t n) {
    std::int64_t read = 0;
    FILESYS_atomic(
        [&](int priority) {
            const FileHandle file = FILESYS_open(name, kFileReadOnly, priority);
            if (file == 0) {
                PRINT_error("FILE_load - unable to open file %s\n", name.c_str());
                return;
            }
            std::int64_t wanted = FILESYS_size(file, priority - 1);
            if (n > 0)
                wanted = std::min(wanted, n);
            wanted = std::min(wanted, static_cast<std::int64_t>(buffer.size()));
            read = FILESYS_readchunked(file, 0, buffer.data(), wanted, priority - 1);
            FILESYS_close(file, priority - 1);
        },
        FILE_device(name), SectionPriority());
    return read;
}

std::optional<std::vector<std::uint8_t>> FILE_loadpack(const std::string& name,
                                                       unsigned allocationFlags) {
    auto data = FILE_load(name, allocationFlags);
    if (!data || PACK_unpackedSize(*data) == 0)
        return data;
    auto unpacked = PACK_unpackToVector(*data);
    if (!unpacked)
        PRINT_error("FILE_loadpack - unable to unpack file %s\n", name.c_str());
    return unpacked;
}

std::int64_t FILE_loadpackat(const std::string& name, std::span<std::uint8_t> buffer,
                             std::int64_t n) {
    const auto data = FILE_load(name);
    if (!data)
        return 0;
    std::size_t room = buffer.size();
    if (n > 0)
        room = std::min(room, static_cast<std::size_t>(n));
    if (PACK_unpackedSize(*data) == 0) {
        const std::size_t count = std::min(room, data->size());
        if (count != 0)
            std::memcpy(buffer.data(), data->data(), count);
        return static_cast<std::int64_t>(count);
    }
    const auto unpacked = PACK_unpack(*data, buffer.first(room));
    if (!unpacked) {
        PRINT_error("FILE_loadpackat - unable to unpack file %s\n", name.c_str());
        return 0;
    }
    return static_cast<std::int64_t>(*unpacked);
}

bool FILE_save(const std::string& name, std::span<const std::uint8_t> data) {
    const std::string temporary = name + ".kestrel-tmp";
    bool written = false;
    FILESYS_atomic(
        [&](int priority) {
            const FileHandle file = FILESYS_open(temporary, kFileCreateAlways, priority);
            if (file == 0)
                return;
            const auto length = static_cast<std::int64_t>(data.size());
            written = FILESYS_writechunked(file, 0, data.data(), length, priority - 1) == length;
            written = FILESYS_close(file, priority - 1) && written;
        },
        FILE_device(name), SectionPriority());
    std::error_code error;
    if (written)
        FILE_replace(FILE_pathof(temporary), FILE_pathof(name), error);
    if (!written || error) {
        std::filesystem::remove(FILE_pathof(temporary), error);
        PRINT_error("FILE_save - unable to write file %s\n", name.c_str());
        return false;
    }
    return true;
}

} // namespace wren
