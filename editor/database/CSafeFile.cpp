#include "CSafeFile.h"

#include "CFileLock.h"
#include "CSha256.h"
#include "Utf8Path.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
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

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

int OpenDescriptor(const fs::path& path, int flags, int mode) {
#ifdef _WIN32
    int fd = -1;
    return _wsopen_s(&fd, path.c_str(), flags | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, mode) == 0
               ? fd
               : -1;
#else
    return ::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
#endif
}

void CloseDescriptor(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
}

// A new file (never an existing one) with that mode, locked while its writer has it open: the
// lock tells the clean-up of a later save that this writer is still alive.
std::FILE* CreateLocked(const fs::path& path, [[maybe_unused]] std::optional<fs::perms> mode) {
#ifdef _WIN32
    const int permissions = _S_IREAD | _S_IWRITE;
#else
    const int permissions =
        mode ? static_cast<int>(*mode & fs::perms::all) : 0666;
#endif
    const int fd = OpenDescriptor(path, O_WRONLY | O_CREAT | O_EXCL, permissions);
    if (fd < 0)
        return nullptr;
    CFileLock::TryLock(fd);
#ifdef _WIN32
    std::FILE* file = _fdopen(fd, "wb");
#else
    std::FILE* file = ::fdopen(fd, "wb");
#endif
    if (!file) {
        const int saved = errno;
        CloseDescriptor(fd);
        std::error_code ignored;
        fs::remove(path, ignored);
        errno = saved;
    }
    return file;
}

// Whether nobody holds the file open for writing it: its lock is free. Never follows a link
// nor waits on something that is not a regular file.
bool IsAbandoned(const fs::path& path) {
#ifdef _WIN32
    const int fd = OpenDescriptor(path, _O_RDONLY, 0);
#else
    const int fd = OpenDescriptor(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK, 0);
#endif
    if (fd < 0)
        return false;
    struct stat info {};
    const bool abandoned =
        ::fstat(fd, &info) == 0 && (info.st_mode & S_IFMT) == S_IFREG && CFileLock::TryLock(fd);
    CloseDescriptor(fd);
    return abandoned;
}

// Puts the new file in place in one step; on Windows the move returns only once it has reached
// the disk (the folder sync's part elsewhere).
void MoveIntoPlace(const fs::path& from, const fs::path& to, std::error_code& error) {
#ifdef _WIN32
    error.clear();
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
    fs::rename(from, to, error);
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
             std::string& error, std::optional<fs::perms> newMode = std::nullopt) {
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

    CSafeFile::RemoveAbandonedTemporaries(Utf8(target));
    // The file gets the target's mode from the start (or, for a new one, the source's), so a
    // private file is never readable to others while it is written.
    const fs::file_status old = fs::status(target, ec);
    const std::optional<fs::perms> mode =
        !ec && fs::exists(old) ? std::optional(old.permissions()) : newMode;
    fs::path temp;
    std::FILE* file = nullptr;
    for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = target;
        temp += Utf8Path(TempSuffix(attempt));
        file = CreateLocked(temp, mode);
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

    // The mode as it was asked for, not as the process's umask narrowed it.
    if (mode)
        fs::permissions(temp, *mode, ec);
    MoveIntoPlace(temp, target, ec);
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

bool CSafeFile::Write(const std::string& path, std::span<const uint8_t> bytes, std::string& error,
                      std::optional<std::filesystem::perms> newMode) {
    return Replace(
        path,
        [bytes](std::FILE* file, std::string& reason) {
            if (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size())
                return true;
            reason = std::string("write failed: ") + std::strerror(errno);
            return false;
        },
        error, newMode);
}

bool CSafeFile::Copy(const std::string& from, const std::string& path, SCopied& copied,
                     std::string& error, const std::string& expectSha256) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(OpenUtf8(from, "rb"), &std::fclose);
    if (!source) {
        error = "cannot open " + from + ": " + std::strerror(errno);
        return false;
    }
    std::error_code ec;
    const fs::file_status sourceStatus = fs::status(Utf8Path(from), ec);
    const std::optional<fs::perms> sourceMode =
        ec ? std::nullopt : std::optional(sourceStatus.permissions());
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
        error, sourceMode);
}

int CSafeFile::RemoveAbandonedTemporaries(const std::string& path) {
    const fs::path target = Utf8Path(path);
    const std::string name = Utf8(target.filename());
    return RemoveAbandonedTemporaries(
        target.parent_path(), [&name](const std::string& of) { return of == name; });
}

int CSafeFile::RemoveAbandonedTemporaries(const fs::path& folder,
                                          const std::function<bool(const std::string&)>& ours) {
    constexpr std::string_view kMark = ".tmp";
    std::error_code ec;
    std::vector<fs::path> found;
    // Stepped with an error code: a folder that changes or cannot be read ends the search.
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8(it->path().filename());
        const size_t mark = name.rfind(kMark);
        if (mark == std::string::npos || mark == 0)
            continue;
        // Only the names Replace makes: digits and underscores after the mark.
        const std::string_view rest = std::string_view(name).substr(mark + kMark.size());
        if (std::all_of(rest.begin(), rest.end(),
                        [](char c) { return (c >= '0' && c <= '9') || c == '_'; }) &&
            ours(name.substr(0, mark)))
            found.push_back(it->path());
    }
    int removed = 0;
    for (const fs::path& temp : found)
        if (IsAbandoned(temp) && fs::remove(temp, ec))
            ++removed;
    return removed;
}
