#include "CSafeFile.h"

#include "CSha256.h"
#include "Utf8Path.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr size_t kCopyChunk = size_t{4} << 20;

bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

// Makes the rename itself survive a crash of the machine.
void SyncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

std::string TempSuffix(unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return ".tmp" + std::to_string(static_cast<unsigned long long>(ticks) % 1000000007ULL) + "_" +
           std::to_string(counter++) + "_" + std::to_string(attempt);
}

// The rename would replace even a file nobody may write, so the target itself is checked: a
// file made read-only, or one this user cannot open for writing, stays as it is.
bool CheckTargetWritable(const fs::path& target, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (!fs::exists(status))
        return true;
    if (!fs::is_regular_file(status)) {
        error = "it is not a regular file";
        return false;
    }
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none) {
        error = "it is read-only";
        return false;
    }
    const std::u8string name = target.u8string();
    std::FILE* probe = OpenUtf8(std::string(name.begin(), name.end()), "r+b");
    if (!probe) {
        error = std::string("it cannot be opened for writing: ") + std::strerror(errno);
        return false;
    }
    std::fclose(probe);
    return true;
}

// The new file takes the old one's owner and group where the system allows it.
void KeepOwner([[maybe_unused]] std::FILE* file, [[maybe_unused]] const fs::path& target) {
#ifndef _WIN32
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return;
    const int fd = fileno(file);
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        return; // the system allows neither: the file stays this user's
#endif
}

} // namespace

bool CSafeFile::CanReplace(const std::string& path, std::string& error) {
    std::error_code ec;
    const fs::path target = fs::canonical(Utf8Path(path), ec);
    if (ec)
        return true; // nothing there yet (a missing folder fails when the file is made)
    if (fs::is_directory(target, ec)) {
        error = "it is a folder";
        return false;
    }
    return CheckTargetWritable(target, error);
}

namespace {

// Makes a new file beside target, lets fill write it, flushes it and renames it over target.
// Whatever fails leaves target unchanged and no temporary file behind.
bool Replace(const std::string& path, const std::function<bool(std::FILE*, std::string&)>& fill,
             std::string& error) {
    std::error_code ec;
    fs::path target = Utf8Path(path);
    // A link stays a link: the file it names is the one replaced.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    if (fs::is_directory(target, ec)) {
        error = "it is a folder";
        return false;
    }
    if (!CheckTargetWritable(target, error))
        return false;

    fs::path temp;
    std::FILE* file = nullptr;
    for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = target;
        temp += Utf8Path(TempSuffix(attempt));
        const std::u8string name = temp.u8string();
        file = OpenUtf8(std::string(name.begin(), name.end()), "wbx");
        if (!file && errno != EEXIST) {
            error = std::string("cannot create a file in its folder: ") + std::strerror(errno);
            return false;
        }
    }
    if (!file) {
        error = "cannot find a free temporary file name in its folder";
        return false;
    }

    KeepOwner(file, target);
    bool written = fill(file, error);
    int savedErrno = errno;
    if (written && !FlushToDisk(file)) {
        written = false;
        savedErrno = errno;
        error = std::string("write failed: ") + std::strerror(savedErrno);
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        savedErrno = errno;
        error = std::string("write failed: ") + std::strerror(savedErrno);
    }
    if (!written) {
        fs::remove(temp, ec);
        return false;
    }

    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old))
        fs::permissions(temp, old.permissions(), ec);
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        error = "cannot replace the file: " + ec.message();
        return false;
    }
    SyncFolder(target.parent_path());
    return true;
}

} // namespace

bool CSafeFile::Write(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
    return Replace(
        path,
        [bytes](std::FILE* file, std::string& reason) {
            if (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size())
                return true;
            reason = std::string("write failed: ") + std::strerror(errno);
            return false;
        },
        error);
}

bool CSafeFile::Copy(const std::string& from, const std::string& path, SCopied& copied,
                     std::string& error, const std::string& expectSha256) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(OpenUtf8(from, "rb"), &std::fclose);
    if (!source) {
        error = "cannot open " + from + ": " + std::strerror(errno);
        return false;
    }
    return Replace(
        path,
        [&](std::FILE* file, std::string& reason) {
            CSha256 hash;
            copied = {};
            std::vector<uint8_t> chunk(kCopyChunk);
            for (;;) {
                const size_t got = std::fread(chunk.data(), 1, chunk.size(), source.get());
                if (got > 0 && std::fwrite(chunk.data(), 1, got, file) != got) {
                    reason = std::string("write failed: ") + std::strerror(errno);
                    return false;
                }
                hash.Add(std::span(chunk.data(), got));
                copied.size += got;
                if (got < chunk.size())
                    break;
            }
            if (std::ferror(source.get())) {
                reason = "cannot read " + from + ": " + std::strerror(errno);
                return false;
            }
            copied.sha256 = hash.HexDigest();
            if (!expectSha256.empty() && copied.sha256 != expectSha256) {
                reason = from + " changed or is damaged: its SHA-256 is not the one expected";
                return false;
            }
            return true;
        },
        error);
}
