#include "wren_utils/archive/BigStreamReader.h"

#include "wren_utils/engine/DebugPrint.h"
#include "wren_utils/engine/FileSystem.h"

#include <algorithm>
#include <new>

namespace wren {
namespace {

// Reads the directory byte by byte through a block buffer, never past the file's end.
class DirectoryCursor {
public:
    DirectoryCursor(FileHandle file, std::int64_t fileSize, std::int64_t position, int priority)
        : file_(file), fileSize_(fileSize), position_(position), priority_(priority) {}

    bool Next(std::uint8_t& byte) {
        if (position_ >= blockStart_ + static_cast<std::int64_t>(block_.size())) {
            if (position_ >= fileSize_)
                return false;
            const std::int64_t length = std::min<std::int64_t>(kBlock, fileSize_ - position_);
            block_.resize(static_cast<std::size_t>(length));
            blockStart_ = position_;
            if (FILESYS_read(file_, position_, block_.data(), length, priority_) != length) {
                block_.clear();
                return false;
            }
        }
        byte = block_[static_cast<std::size_t>(position_ - blockStart_)];
        ++position_;
        return true;
    }

    bool NextWord(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t byte = 0;
            if (!Next(byte))
                return false;
            value = (value << 8) | byte;
        }
        return true;
    }

private:
    static constexpr std::int64_t kBlock = 65536;
    FileHandle file_;
    std::int64_t fileSize_;
    std::int64_t position_;
    int priority_;
    std::int64_t blockStart_ = 0;
    std::vector<std::uint8_t> block_;
};

constexpr std::size_t kLongestName = 255;

std::optional<std::vector<std::uint8_t>> ReadOpened(FileHandle file, const std::string& path,
                                                    std::string_view name, int priority) {
    const std::int64_t fileSize = FILESYS_size(file, priority);
    DirectoryCursor cursor(file, fileSize, 0, priority);
    std::uint32_t header[4] = {};
    for (std::uint32_t& word : header)
        if (!cursor.NextWord(word)) {
            PRINT_channel(kPrintChannelDebug, "BIGFileOpen :- File %s is too short.\n",
                          path.c_str());
            return std::nullopt;
        }
    const std::uint32_t count = header[2];
    std::string entryName;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
        bool complete = cursor.NextWord(offset) && cursor.NextWord(size);
        entryName.clear();
        std::uint8_t byte = 1;
        while (complete && (complete = cursor.Next(byte)) && byte != 0) {
            entryName.push_back(static_cast<char>(byte));
            if (entryName.size() > kLongestName) {
                PRINT_channel(kPrintChannelDebug, "BIGFileOpen :- File name to long.\n");
                return std::nullopt;
            }
        }
        if (!complete) {
            PRINT_channel(kPrintChannelDebug,
                          "BIGFileOpen :- Directory of %s runs past the end of the file.\n",
                          path.c_str());
            return std::nullopt;
        }
        if (entryName != name)
            continue;
        if (std::int64_t{offset} + std::int64_t{size} > fileSize) {
            PRINT_channel(kPrintChannelDebug, "BIGFileOpen :- Entry %s lies outside the file %s.\n",
                          entryName.c_str(), path.c_str());
            return std::nullopt;
        }
        std::vector<std::uint8_t> data;
        try {
            data.resize(size);
        } catch (const std::bad_alloc&) {
            PRINT_channel(kPrintChannelDebug, "BIGFileOpen :- No memory for entry %s of %s.\n",
                          entryName.c_str(), path.c_str());
            return std::nullopt;
        }
        if (FILESYS_readchunked(file, offset, data.data(), size, priority) != size) {
            PRINT_channel(kPrintChannelDebug, "BIGFileOpen :- Cant read entry %s of %s.\n",
                          entryName.c_str(), path.c_str());
            return std::nullopt;
        }
        return data;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::uint8_t>> BIG_readentry(const std::string& path,
                                                       std::string_view name) {
    std::optional<std::vector<std::uint8_t>> result;
    const bool ran = FILESYS_atomic(
        [&](int priority) {
            if (!FILESYS_exists(path, priority)) {
                PRINT_channel(kPrintChannelDebug, "BIGFile %s does not exist.\n", path.c_str());
                return;
            }
            const FileHandle file = FILESYS_open(path, kFileReadOnly, priority);
            if (file == 0) {
                PRINT_channel(kPrintChannelDebug, "BIGFileOpen :- Cant open file %s.\n",
                              path.c_str());
                return;
            }
            result = ReadOpened(file, path, name, priority - 1);
            FILESYS_close(file, priority - 1);
        },
        FILE_device(path));
    return ran ? std::move(result) : std::nullopt;
}

} // namespace wren
