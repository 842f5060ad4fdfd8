#include "wren_utils/archive/BigArchiveUpdate.h"

#include "wren_utils/engine/FilePaths.h"
#include "wren_utils/pack/PackDecoder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace wren {
namespace {

constexpr std::size_t kChunk = std::size_t{4} << 20;
constexpr std::uint64_t kLargestHeader = std::uint64_t{64} << 20;

fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wide(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wide.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool ReadAt(std::FILE* file, std::uint64_t offset, std::uint8_t* out, std::size_t size) {
    return SeekTo(file, offset) && std::fread(out, 1, size, file) == size;
}

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file)
            std::fclose(file);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::uint64_t ReadBigEndian(const std::uint8_t* at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = (value << 8) | at[i];
    return value;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = width; i-- > 0;)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool LooksLikeMarker(const std::uint8_t* at) {
    const auto letter = [](std::uint8_t c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    const auto digit = [](std::uint8_t c) { return c >= '0' && c <= '9'; };
    return letter(at[0]) && digit(at[1]) && digit(at[2]) && digit(at[3]);
}

std::optional<BigFileDirectory> ReadDirectory(std::FILE* file, const std::string& path,
                                              std::string& error) {
    BigFileDirectory directory;
    if (!SeekTo(file, 0) || std::fseek(file, 0, SEEK_END) != 0) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
#ifdef _WIN32
    const __int64 end = _ftelli64(file);
#else
    const off_t end = ftello(file);
#endif
    if (end < 0) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
    directory.fileSize = static_cast<std::uint64_t>(end);
    std::uint8_t head[16] = {};
    const std::size_t headSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(16, directory.fileSize));
    if (!ReadAt(file, 0, head, headSize)) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
    // A whole archive stored as one packed stream is read only by the whole-archive load;
    // entries are read one by one (getShapeX, the editor's requests) from the file's own
    // directory, which such a file does not have. An update there would never be seen by them.
    if (PACK_unpackedSize(std::span(head, headSize)) != 0) {
        error = "'" + path +
                "' is a whole archive stored as one packed stream: the picture requests read "
                "entries straight from an archive's directory and never see inside it, so "
                "nothing is written to it (kestrel-cli unpack makes a plain archive of it)";
        return std::nullopt;
    }
    std::uint64_t headerLength = 0;
    if (headSize >= 6 && head[0] == 0xC0 && head[1] == 0xFB)
        headerLength = ReadBigEndian(head + 2, 2) + 4;
    else if (headSize == 16 && std::memcmp(head, "BIG", 3) == 0)
        headerLength = ReadBigEndian(head + 12, 4);
    if (headerLength == 0 || headerLength > directory.fileSize || headerLength > kLargestHeader) {
        error =
            "'" + path + "' is not an archive (unknown kind, or its directory runs past the end)";
        return std::nullopt;
    }
    std::vector<std::uint8_t> header;
    try {
        header.resize(static_cast<std::size_t>(headerLength));
    } catch (const std::bad_alloc&) {
        error = "no memory for the directory of '" + path + "'";
        return std::nullopt;
    }
    if (!ReadAt(file, 0, header.data(), header.size())) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
    const auto view = BigArchiveView::Open(header);
    if (!view) {
        error =
            "'" + path + "' is not an archive (unknown kind, or its directory runs past the end)";
        return std::nullopt;
    }
    directory.kind = view->Kind();
    directory.headerLength = headerLength;
    std::memcpy(directory.magic, head, 4);
    if (directory.kind == BigKind::Short) {
        directory.offsetWidth = directory.sizeWidth = 3;
    } else if (directory.kind == BigKind::Numbered) {
        directory.offsetWidth = static_cast<std::size_t>(head[3] - '0');
        directory.sizeWidth = head[3] < '5' ? directory.offsetWidth : 4;
    }
    if (view->Version())
        directory.marker.emplace(header.end() - 8, header.end());
    // The count bounds the walk as the streamed reader's does; bytes after it are padding.
    const std::uint64_t count =
        directory.kind == BigKind::Short ? ReadBigEndian(head + 4, 2) : ReadBigEndian(head + 8, 4);
    for (const BigEntry& entry : view->Entries()) {
        if (directory.entries.size() >= count)
            break;
        if (entry.offset > directory.fileSize || entry.size > directory.fileSize - entry.offset) {
            error = "'" + path + "' is damaged: entry '" + std::string(entry.name) +
                    "' lies outside the file";
            return std::nullopt;
        }
        directory.entries.push_back({std::string(entry.name), entry.offset, entry.size});
    }
    return directory;
}

// Writes into a file through stdio, then fsync.
class FileOutput : public BigOutput {
public:
    explicit FileOutput(std::FILE* file) : file_(file) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        return size == 0 || std::fwrite(data, 1, size, file_) == size;
    }
    bool Sync() override {
        if (std::fflush(file_) != 0)
            return false;
#ifdef _WIN32
        return _commit(_fileno(file_)) == 0;
#else
        return ::fsync(fileno(file_)) == 0;
#endif
    }

private:
    std::FILE* file_;
};

int ThisProcess() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

// Whether a process of that id runs (as far as this user can tell: one it may not signal
// still counts as running).
bool ProcessIsRunning(int pid) {
    if (pid <= 0)
        return false;
#ifdef _WIN32
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

// An advisory lock an update holds on its temporary file while it writes it; false when
// another holder has it.
bool LockFile(std::FILE* file) {
#ifdef _WIN32
    OVERLAPPED whole{};
    return ::LockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))),
                        LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                        MAXDWORD, &whole) != 0;
#else
    return ::flock(fileno(file), LOCK_EX | LOCK_NB) == 0;
#endif
}

// The process id in "NAME.import-PID-N.tmp" when name is a temporary file of an update of the
// archive called archiveName.
std::optional<int> TemporaryOwner(const std::string& name, const std::string& archiveName) {
    const std::string prefix = archiveName + ".import-";
    constexpr std::string_view suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        !std::string_view(name).ends_with(suffix))
        return std::nullopt;
    const std::string_view middle(name.data() + prefix.size(),
                                  name.size() - prefix.size() - suffix.size());
    const std::size_t dash = middle.find('-');
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.size() <= 9 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string_view::npos || !digits(middle.substr(0, dash)) ||
        !digits(middle.substr(dash + 1)))
        return std::nullopt;
    return std::stoi(std::string(middle.substr(0, dash)));
}

// Removes what updates of the archive killed before their rename left behind: temporary files
// whose process is gone and whose lock nobody holds. Those of running updates stay.
int RemoveStaleTemporaries(const fs::path& target) {
    const std::string archiveName = Utf8(target.filename());
    std::error_code ec;
    std::vector<fs::path> stale;
    // Stepped with an error code: a folder that changes or cannot be read ends the search
    // instead of throwing out of the update.
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto owner = TemporaryOwner(Utf8(it->path().filename()), archiveName);
        if (owner && *owner != ThisProcess() && !ProcessIsRunning(*owner))
            stale.push_back(it->path());
    }
    int removed = 0;
    for (const fs::path& path : stale) {
        FilePtr file(OpenFile(path, "r+b"));
        if (!file || !LockFile(file.get()))
            continue;
        file.reset();
        if (fs::remove(path, ec))
            ++removed;
    }
    return removed;
}

// A new file (never an existing one) for writing, made with mode where the system has modes.
std::FILE* CreateNewFile(const fs::path& path, [[maybe_unused]] std::optional<fs::perms> mode) {
#ifdef _WIN32
    return OpenFile(path, "wbx");
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          mode ? static_cast<mode_t>(*mode & fs::perms::all) : 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int saved = errno;
        ::close(fd);
        std::error_code ignored;
        fs::remove(path, ignored);
        errno = saved;
    }
    return file;
#endif
}

// The temporary file of one update, removed unless it was renamed into place.
class TemporaryFile {
public:
    ~TemporaryFile() {
        file_.reset();
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    // The file has the archive's mode from the start, so a private archive is never readable
    // to others through its temporary file.
    bool Create(const fs::path& target, std::optional<fs::perms> mode, std::string& error) {
        static std::atomic<unsigned> counter{0};
        const int process = ThisProcess();
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::path candidate = target;
            candidate +=
                ".import-" + std::to_string(process) + "-" + std::to_string(counter++) + ".tmp";
            file_.reset(CreateNewFile(candidate, mode));
            if (file_) {
                path_ = candidate;
                // Held until the file is closed: the sign to other updates that it is in use.
                LockFile(file_.get());
                return true;
            }
            if (errno != EEXIST)
                break;
        }
        error = "cannot create a file beside '" + Utf8(target) + "': " + std::strerror(errno);
        return false;
    }
    std::FILE* File() const {
        return file_.get();
    }
    const fs::path& Path() const {
        return path_;
    }
    // Closes the file; false when the last bytes could not be written.
    bool Close() {
        return std::fclose(file_.release()) == 0;
    }
    // The file is in place: nothing to remove any more.
    void Keep() {
        path_.clear();
    }

private:
    FilePtr file_;
    fs::path path_;
};

// The rename would replace a file nobody may write: such an archive is refused.
bool CheckWritable(const fs::path& target, const std::string& path, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (!fs::is_regular_file(status)) {
        error = "'" + path + "' is not a regular file";
        return false;
    }
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none) {
        error = "'" + path + "' is read-only";
        return false;
    }
    FilePtr probe(OpenFile(target, "r+b"));
    if (!probe) {
        error = "'" + path + "' cannot be opened for writing: " + std::strerror(errno);
        return false;
    }
    return true;
}

// Largest power of two up to 2048 that every entry's data offset is a multiple of, so entries
// stay aligned as the game's tools laid them out.
std::uint64_t AlignmentOf(const BigFileDirectory& directory) {
    std::uint64_t alignment = 2048;
    for (const BigFileEntry& entry : directory.entries)
        while (alignment > 1 && entry.size != 0 && entry.offset % alignment != 0)
            alignment /= 2;
    return directory.entries.empty() ? 1 : alignment;
}

struct Layout {
    std::vector<std::uint8_t> header;
    std::vector<std::uint64_t> offsets; // of each entry of the new directory
    std::vector<std::uint64_t> sizes;
    std::uint64_t total = 0;
};

bool PlanLayout(const BigFileDirectory& old, std::span<const BigFileEntry> entries, Layout& layout,
                std::string& error) {
    const bool isShort = old.kind == BigKind::Short;
    const std::uint64_t start = isShort ? 6 : 16;
    std::uint64_t directoryEnd = start;
    for (const BigFileEntry& entry : entries)
        directoryEnd += old.offsetWidth + old.sizeWidth + entry.name.size() + 1;
    std::vector<std::uint8_t> directory;
    for (const BigFileEntry& entry : entries) {
        PutBigEndian(directory, 0, old.offsetWidth);
        PutBigEndian(directory, entry.size, old.sizeWidth);
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
        directory.push_back(0);
    }
    std::vector<std::uint8_t> marker;
    if (old.marker)
        marker = *old.marker;
    else if (directory.size() >= 8 && LooksLikeMarker(directory.data() + directory.size() - 8))
        marker = {'L', '0', '0', '0', 0, 0, 0, 0}; // else readers take the last name for one
    const std::uint64_t headerLength = directoryEnd + marker.size();
    const std::uint64_t alignment = AlignmentOf(old);
    std::uint64_t at = headerLength;
    for (const BigFileEntry& entry : entries) {
        at = (at + alignment - 1) / alignment * alignment;
        layout.offsets.push_back(at);
        layout.sizes.push_back(entry.size);
        at += entry.size;
    }
    layout.total = at;
    const std::uint64_t offsetLimit =
        old.offsetWidth >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * old.offsetWidth)) - 1;
    const std::uint64_t sizeLimit =
        (std::uint64_t{1} << (8 * std::min<std::size_t>(old.sizeWidth, 4))) - 1;
    const bool tooLarge = (isShort && (headerLength - 4 > 0xFFFF || entries.size() > 0xFFFF)) ||
                          layout.total > offsetLimit || layout.total > 0xFFFFFFFFu ||
                          std::any_of(entries.begin(), entries.end(),
                                      [&](const BigFileEntry& e) { return e.size > sizeLimit; });
    if (tooLarge) {
        error = "the archive would grow past what its kind can address";
        return false;
    }
    std::vector<std::uint8_t>& out = layout.header;
    if (isShort) {
        out = {0xC0, 0xFB};
        PutBigEndian(out, headerLength - 4, 2);
        PutBigEndian(out, entries.size(), 2);
    } else {
        out.assign(old.magic, old.magic + 4);
        PutBigEndian(out, layout.total, 4);
        PutBigEndian(out, entries.size(), 4);
        PutBigEndian(out, headerLength, 4);
    }
    std::size_t position = out.size();
    out.insert(out.end(), directory.begin(), directory.end());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (std::size_t b = 0; b < old.offsetWidth; ++b)
            out[position + b] =
                static_cast<std::uint8_t>(layout.offsets[i] >> (8 * (old.offsetWidth - 1 - b)));
        position += old.offsetWidth + old.sizeWidth + entries[i].name.size() + 1;
    }
    out.insert(out.end(), marker.begin(), marker.end());
    return true;
}

bool WritePadding(BigOutput& output, std::uint64_t count) {
    static const std::uint8_t zeros[2048] = {};
    while (count > 0) {
        const std::size_t step =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof zeros));
        if (!output.Write(zeros, step))
            return false;
        count -= step;
    }
    return true;
}

// The old entries' bytes, chunk by chunk, and the new entry's, each at its planned offset.
bool WriteArchive(std::FILE* old, const BigFileDirectory& directory,
                  std::span<const BigFileEntry> entries, std::size_t replaced,
                  std::span<const std::uint8_t> data, const Layout& layout, BigOutput& output,
                  std::string& error) {
    if (!output.Write(layout.header.data(), layout.header.size())) {
        error = "write failed";
        return false;
    }
    std::uint64_t position = layout.header.size();
    std::vector<std::uint8_t> chunk;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!WritePadding(output, layout.offsets[i] - position)) {
            error = "write failed";
            return false;
        }
        position = layout.offsets[i] + layout.sizes[i];
        if (i == replaced) {
            if (!output.Write(data.data(), data.size())) {
                error = "write failed";
                return false;
            }
            continue;
        }
        std::uint64_t from = directory.entries[i].offset;
        std::uint64_t left = directory.entries[i].size;
        while (left > 0) {
            const std::size_t step =
                static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunk));
            chunk.resize(step);
            if (!ReadAt(old, from, chunk.data(), step)) {
                error = "cannot read entry '" + entries[i].name + "' of the old archive";
                return false;
            }
            if (!output.Write(chunk.data(), step)) {
                error = "write failed";
                return false;
            }
            from += step;
            left -= step;
        }
    }
    return true;
}

// Keeps the old archive as PATH.bak: a second name for its bytes where the file system allows
// it, else a copy; the earlier .bak is replaced only once the new one is complete.
bool KeepBackup(const fs::path& target, fs::path& backup, std::string& error) {
    backup = target;
    backup += ".bak";
    fs::path staging = backup;
    staging += ".tmp";
    std::error_code ec;
    fs::remove(staging, ec);
    // Already a second name of the archive (an update killed before its swap made it): a
    // rename between two names of one file would do nothing and leave the staging name.
    if (fs::equivalent(target, backup, ec))
        return true;
    ec.clear();
    fs::create_hard_link(target, staging, ec);
    if (ec) {
        ec.clear();
        fs::copy_file(target, staging, fs::copy_options::overwrite_existing, ec);
    }
    if (!ec)
        FILE_replace(staging, backup, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(staging, ignored);
        error = "cannot keep the old archive as '" + Utf8(backup) + "': " + ec.message();
        return false;
    }
    return true;
}

void SyncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

} // namespace

const BigFileEntry* BigFileDirectory::Find(std::string_view name) const {
    for (const BigFileEntry& entry : entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

std::optional<BigFileDirectory> BIG_readdirectory(const std::string& path, std::string& error) {
    FilePtr file(OpenFile(PathOf(path), "rb"));
    if (!file) {
        error = "cannot open '" + path + "' for reading: " + std::strerror(errno);
        return std::nullopt;
    }
    return ReadDirectory(file.get(), path, error);
}

std::optional<std::vector<std::uint8_t>>
BIG_readfileentry(const std::string& path, std::string_view name, std::string& error) {
    FilePtr file(OpenFile(PathOf(path), "rb"));
    if (!file) {
        error = "cannot open '" + path + "' for reading: " + std::strerror(errno);
        return std::nullopt;
    }
    const auto directory = ReadDirectory(file.get(), path, error);
    const BigFileEntry* entry = directory ? directory->Find(name) : nullptr;
    if (!entry) {
        if (directory)
            error = "'" + path + "' has no entry '" + std::string(name) + "'";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(entry->size));
    } catch (const std::bad_alloc&) {
        error = "no memory for entry '" + entry->name + "' of '" + path + "'";
        return std::nullopt;
    }
    if (!bytes.empty() && !ReadAt(file.get(), entry->offset, bytes.data(), bytes.size())) {
        error = "cannot read entry '" + entry->name + "' of '" + path + "'";
        return std::nullopt;
    }
    return bytes;
}

bool BIG_putentry(const std::string& path, std::string_view name,
                  std::span<const std::uint8_t> data, BigPutResult& result, std::string& error,
                  const BigPutOptions& options) {
    result = {};
    if (name.empty() || name.size() > 255 || name.find('\0') != std::string_view::npos) {
        error = "entry name '" + std::string(name.substr(0, 40)) +
                "' must be 1 to 255 bytes without a zero byte";
        return false;
    }
    fs::path target = PathOf(path);
    std::error_code ec;
    // A link stays a link: the file it names is the one replaced.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    result.removedTemporaries = RemoveStaleTemporaries(target);
    const bool exists = fs::exists(target, ec);
    FilePtr old;
    BigFileDirectory directory;
    if (exists) {
        if (!CheckWritable(target, path, error))
            return false;
        old.reset(OpenFile(target, "rb"));
        if (!old) {
            error = "cannot open '" + path + "' for reading: " + std::strerror(errno);
            return false;
        }
        auto read = ReadDirectory(old.get(), path, error);
        if (!read)
            return false;
        directory = std::move(*read);
    } else {
        std::memcpy(directory.magic, "BIGF", 4);
    }

    std::vector<BigFileEntry> entries = directory.entries;
    std::size_t replaced = entries.size();
    for (std::size_t i = 0; i < entries.size() && replaced == entries.size(); ++i)
        if (entries[i].name == name)
            replaced = i;
    if (replaced == entries.size())
        entries.push_back({std::string(name), 0, 0});
    entries[replaced].size = data.size();
    Layout layout;
    if (!PlanLayout(directory, entries, layout, error))
        return false;

    std::optional<fs::perms> mode;
    if (exists) {
        const fs::file_status status = fs::status(target, ec);
        if (!ec)
            mode = status.permissions();
    }
    TemporaryFile temporary;
    if (!temporary.Create(target, mode, error))
        return false;
    std::unique_ptr<BigOutput> output = std::make_unique<FileOutput>(temporary.File());
    if (options.wrapOutput)
        output = options.wrapOutput(std::move(output));
    if (!WriteArchive(old.get(), directory, entries, replaced, data, layout, *output, error))
        return false;
    if (!output->Sync()) {
        error = std::string("write failed: ") + std::strerror(errno);
        return false;
    }
    output.reset();
    old.reset();
    if (!temporary.Close()) {
        error = std::string("write failed: ") + std::strerror(errno);
        return false;
    }
    // The mode as it was, not as the process's umask narrowed it.
    if (mode)
        fs::permissions(temporary.Path(), *mode, ec);
    std::string backupPath;
    if (exists && options.backup) {
        std::string reason;
        if (!options.backup(path, backupPath, reason)) {
            error = "cannot back the old archive up, so nothing was changed: " + reason;
            return false;
        }
    } else if (exists && options.keepBackup) {
        fs::path backup;
        if (!KeepBackup(target, backup, error))
            return false;
        backupPath = Utf8(backup);
    }
    if (options.beforeSwap)
        options.beforeSwap();
    FILE_replace(temporary.Path(), target, ec);
    if (ec) {
        error = "cannot replace '" + path + "': " + ec.message();
        return false;
    }
    temporary.Keep();
    SyncFolder(target.parent_path());
    result.appended = exists && replaced == directory.entries.size();
    result.created = !exists;
    result.backupPath = backupPath;
    result.archiveSize = layout.total;
    return true;
}

} // namespace wren
