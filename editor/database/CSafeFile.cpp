#include "CSafeFile.h"

#include "Utf8Path.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

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

} // namespace

bool CSafeFile::Write(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
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

    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int savedErrno = errno;
    if (written && !FlushToDisk(file)) {
        written = false;
        savedErrno = errno;
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        savedErrno = errno;
    }
    if (!written) {
        fs::remove(temp, ec);
        error = std::string("write failed: ") + std::strerror(savedErrno);
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
