#include "CCliFiles.h"

#include "editor/database/CSafeFile.h"
#include "editor/database/Utf8Path.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr size_t kChunk = 1 << 16;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool ReadAll(std::FILE* file, std::vector<uint8_t>& bytes, uint64_t limit, const std::string& name,
             std::string& error) {
    for (;;) {
        const size_t old = bytes.size();
        bytes.resize(old + kChunk);
        const size_t got = std::fread(bytes.data() + old, 1, kChunk, file);
        bytes.resize(old + got);
        if (bytes.size() > limit) {
            error = name + " is larger than the " + std::to_string(limit) + " bytes read here";
            return false;
        }
        if (got < kChunk)
            break;
    }
    if (std::ferror(file)) {
        error = "cannot read " + name + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool WriteAll(std::FILE* file, std::span<const uint8_t> bytes, const std::string& name,
              std::string& error) {
    if ((bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()) &&
        std::fflush(file) == 0)
        return true;
    error = "cannot write " + name + ": " + std::strerror(errno);
    return false;
}

} // namespace

std::optional<std::vector<uint8_t>> CCliFiles::Read(const std::string& path, std::string& error,
                                                    uint64_t limit) {
    std::vector<uint8_t> bytes;
    if (IsStandard(path)) {
        if (!ReadAll(stdin, bytes, limit, "standard input", error))
            return std::nullopt;
        return bytes;
    }
    std::error_code statusError;
    const auto status = fs::status(Utf8Path(path), statusError);
    if (fs::is_directory(status)) {
        error = "'" + path + "' is a folder, not a file";
        return std::nullopt;
    }
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        error = "'" + path + "' is not a regular file";
        return std::nullopt;
    }
    File file(OpenUtf8(path, "rb"), &std::fclose);
    if (!file) {
        error = "cannot open '" + path + "' for reading: " + std::strerror(errno);
        return std::nullopt;
    }
    if (!ReadAll(file.get(), bytes, limit, "'" + path + "'", error))
        return std::nullopt;
    return bytes;
}

bool CCliFiles::Write(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
    if (IsStandard(path))
        return WriteAll(stdout, bytes, "standard output", error);
    std::error_code statusError;
    const auto status = fs::status(Utf8Path(path), statusError);
    if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) {
        // A device or a FIFO cannot be replaced by a file: what is written goes into it.
        File file(OpenUtf8(path, "wb"), &std::fclose);
        if (!file) {
            error = "cannot open '" + path + "' for writing: " + std::strerror(errno);
            return false;
        }
        if (!WriteAll(file.get(), bytes, "'" + path + "'", error))
            return false;
        if (std::fclose(file.release()) != 0) {
            error = "cannot write '" + path + "': " + std::strerror(errno);
            return false;
        }
        return true;
    }
    if (!CSafeFile::Write(path, bytes, error)) {
        error = "cannot write '" + path + "': " + error;
        return false;
    }
    return true;
}

bool CCliFiles::Write(const std::string& path, const std::string& text, std::string& error) {
    return Write(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                 error);
}
