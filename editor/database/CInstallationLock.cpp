#include "CInstallationLock.h"

#include "CFileLock.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// One open lock file per folder and process: flock treats two descriptors of one process as
// two holders, so nested holders share the first one's.
struct SHeld {
    int fd = -1;
    int count = 0;
    std::thread::id owner;
};

struct SState {
    std::mutex mutex;
    std::map<std::string, SHeld> held;
    std::chrono::milliseconds defaultWait = 5s;
    std::string holderName;
};

SState& State() {
    static SState state;
    return state;
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path LockPath(const fs::path& folder) {
    const fs::path base = folder.empty() ? fs::path(".") : folder;
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(base, ec);
    if (ec || resolved.empty())
        resolved = base;
    return resolved / CInstallationLock::kFileName;
}

int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

void CloseFd(int fd) {
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
}

// The lock file, made when missing; -1 with the reason in error when it cannot be opened.
int OpenLockFile(const fs::path& path, std::string& error) {
#ifdef _WIN32
    int fd = -1;
    if (_wsopen_s(&fd, path.c_str(), _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                  _S_IREAD | _S_IWRITE) != 0) {
        error = "cannot open the lock file " + Utf8(path) + ": " + std::strerror(errno);
        return -1;
    }
    return fd;
#else
    // Never through a link, and never blocking on something that is not a file.
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    // A lock file made by another user in a folder this user may not write: flock works on a
    // descriptor open for reading as well.
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(path.c_str(), O_RDONLY | kFlags);
    if (fd < 0) {
        error = "cannot open the lock file " + Utf8(path) + ": " + std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = "the lock file " + Utf8(path) + " is not a regular file";
        return -1;
    }
    return fd;
#endif
}

// Tells writers who wait which program holds the lock.
void WriteHolder(int fd, const std::string& name) {
    const std::string text = std::to_string(ProcessId()) + " " + name + "\n";
#ifdef _WIN32
    if (_chsize(fd, 0) == 0 && _lseek(fd, 0, SEEK_SET) == 0)
        (void)_write(fd, text.data(), static_cast<unsigned>(text.size()));
#else
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, text.data(), text.size(), 0);
#endif
}

// "kestrel-cli, process 1234" from the lock file; empty when it says nothing readable.
std::string ReadHolder(const fs::path& path) {
    std::array<char, 128> buffer{};
    size_t got = 0;
#ifdef _WIN32
    int fd = -1;
    if (_wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0)
        return {};
    const int read = _read(fd, buffer.data(), static_cast<unsigned>(buffer.size() - 1));
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return {};
    const ssize_t read = ::read(fd, buffer.data(), buffer.size() - 1);
#endif
    CloseFd(fd);
    if (read > 0)
        got = static_cast<size_t>(read);
    std::string text(buffer.data(), got);
    text = text.substr(0, text.find('\n'));
    const size_t space = text.find(' ');
    const std::string pid = text.substr(0, space);
    if (pid.empty() || pid.size() > 10 ||
        !std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return {};
    std::string name = space == std::string::npos ? std::string() : text.substr(space + 1);
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
               name.end());
    return (name.empty() ? "" : name + ", ") + "process " + pid;
}

std::string Seconds(std::chrono::milliseconds wait) {
    const auto count = wait.count();
    if (count % 1000 == 0)
        return std::to_string(count / 1000) + (count == 1000 ? " second" : " seconds");
    char text[32];
    std::snprintf(text, sizeof text, "%.1f seconds", static_cast<double>(count) / 1000.0);
    return text;
}

} // namespace

CInstallationLock::~CInstallationLock() {
    Release();
}

CInstallationLock::CInstallationLock(CInstallationLock&& other) noexcept
    : m_key(std::move(other.m_key)) {
    other.m_key.clear();
}

CInstallationLock& CInstallationLock::operator=(CInstallationLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_key = std::move(other.m_key);
        other.m_key.clear();
    }
    return *this;
}

fs::path CInstallationLock::FolderOf(const fs::path& databasePath) {
    return databasePath.parent_path();
}

bool CInstallationLock::Acquire(const fs::path& folder, std::string& error) {
    return Acquire(folder, DefaultWait(), error);
}

bool CInstallationLock::Acquire(const fs::path& folder, std::chrono::milliseconds wait,
                                std::string& error) {
    Release();
    const fs::path path = LockPath(folder);
    const std::string key = Utf8(path);
    SState& state = State();
    const auto deadline = std::chrono::steady_clock::now() + std::max(wait, 0ms);
    std::chrono::milliseconds pause = 10ms;
    int fd = -1;
    bool heldHere = false;
    for (;;) {
        {
            const std::lock_guard guard(state.mutex);
            const auto found = state.held.find(key);
            if (found != state.held.end() && found->second.owner == std::this_thread::get_id()) {
                ++found->second.count;
                m_key = key;
                if (fd >= 0)
                    CloseFd(fd);
                return true;
            }
            heldHere = found != state.held.end();
            if (!heldHere) {
                if (fd < 0 && (fd = OpenLockFile(path, error)) < 0)
                    return false;
                if (CFileLock::TryLock(fd)) {
                    state.held[key] = {fd, 1, std::this_thread::get_id()};
                    WriteHolder(fd, state.holderName);
                    m_key = key;
                    return true;
                }
            }
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            break;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, 100ms);
    }
    if (fd >= 0)
        CloseFd(fd);
    const std::string holder = heldHere ? "another task of this program" : ReadHolder(path);
    error = "another program is writing this game's files" +
            (holder.empty() ? std::string() : " (" + holder + ")") + " and did not finish within " +
            Seconds(wait) + "; nothing was changed. Try again once it has finished";
    return false;
}

void CInstallationLock::Release() {
    if (m_key.empty())
        return;
    SState& state = State();
    const std::lock_guard guard(state.mutex);
    const auto found = state.held.find(m_key);
    if (found != state.held.end() && --found->second.count == 0) {
        CFileLock::Unlock(found->second.fd);
        CloseFd(found->second.fd);
        state.held.erase(found);
    }
    m_key.clear();
}

std::chrono::milliseconds CInstallationLock::DefaultWait() {
    SState& state = State();
    const std::lock_guard guard(state.mutex);
    return state.defaultWait;
}

void CInstallationLock::SetDefaultWait(std::chrono::milliseconds wait) {
    SState& state = State();
    const std::lock_guard guard(state.mutex);
    state.defaultWait = std::max(wait, 0ms);
}

void CInstallationLock::SetHolderName(const std::string& name) {
    SState& state = State();
    const std::lock_guard guard(state.mutex);
    state.holderName = name;
}
