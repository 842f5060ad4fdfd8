#include "CBackupStore.h"

#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CInstallationLock.h"
#include "editor/database/CMessageSink.h"
#include "editor/database/DbTableNames.h"
#include "editor/database/CSafeFile.h"
#include "editor/database/CSha256.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CGameDatabase.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <ctime>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

#ifndef KESTREL_VERSION
#define KESTREL_VERSION "unknown"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kSideSuffix = ".json";

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Keeps the last report of the reader as the reason of a failure.
class CLastReport : public CMessageSink {
public:
    void Report(const std::string&, const std::string& detail) override { last = detail; }
    std::string last;
};

// The record counts of a database file; empty when it does not read as one.
std::map<std::string, int64_t> RecordCounts(const fs::path& path) {
    std::map<std::string, int64_t> counts;
    CLastReport sink;
    CDbFileReader reader;
    CDbCatalogue catalogue;
    if (!reader.Open(Utf8(path), sink) || !reader.ReadCatalogue(catalogue, sink))
        return counts;
    static constexpr std::array<std::pair<const char*, const char*>, 4> kCounted = {
        {{"players", "players"}, {"teams", "teams"}, {"leagues", "leagues"}, {"language", "texts"}}};
    for (const auto& [table, key] : kCounted)
        if (const CDbTable* found = catalogue.FindTable(table))
            counts[key] = found->RecordCount();
    return counts;
}

std::string LocalTime(std::time_t now, const char* format) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    std::array<char, 32> text{};
    return std::string(text.data(), std::strftime(text.data(), text.size(), format, &local));
}

// "2026-12-07 14:03:22": the form the copies' times have, which sorts as text.
bool WellFormedTime(const std::string& time) {
    static constexpr std::string_view kPattern = "0000-00-00 00:00:00";
    if (time.size() != kPattern.size())
        return false;
    for (size_t i = 0; i < time.size(); ++i)
        if (kPattern[i] == '0' ? time[i] < '0' || time[i] > '9' : time[i] != kPattern[i])
            return false;
    return true;
}

// The time part of a copy's name ("2026-12-07T14-03-22" or "…-2") as a side file writes it;
// empty when the name is not one of a copy of fileName.
std::string TimeOfCopyName(const std::string& name, const std::string& fileName) {
    static constexpr std::string_view kStamp = "0000-00-00T00-00-00";
    if (name.size() < kStamp.size() + 1 + fileName.size() || !name.ends_with("_" + fileName))
        return {};
    for (size_t i = 0; i < kStamp.size(); ++i)
        if (kStamp[i] == '0' ? name[i] < '0' || name[i] > '9' : name[i] != kStamp[i])
            return {};
    const std::string_view rest(name.data() + kStamp.size(),
                                name.size() - kStamp.size() - 1 - fileName.size());
    if (!rest.empty() && (rest.size() < 2 || rest[0] != '-' ||
                          !std::all_of(rest.begin() + 1, rest.end(),
                                       [](char c) { return c >= '0' && c <= '9'; })))
        return {};
    std::string time(name.substr(0, kStamp.size()));
    time[10] = ' ';
    time[13] = time[16] = ':';
    return time;
}

// The n of a copy named "STAMP-n_FILE" (1 for "STAMP_FILE"): later copies within one second
// have larger numbers.
int64_t CopyNumber(const std::string& name) {
    constexpr size_t kStamp = std::string_view("0000-00-00T00-00-00").size();
    if (name.size() <= kStamp + 1 || name[kStamp] != '-')
        return 1;
    int64_t number = 0;
    for (size_t i = kStamp + 1; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
        number = number < (int64_t{1} << 40) ? number * 10 + (name[i] - '0') : number;
    return number;
}

std::mutex g_warningMutex;
CBackupStore::WarningHandler g_warningHandler;

void Warn(const std::string& text) {
    const std::lock_guard guard(g_warningMutex);
    if (g_warningHandler)
        g_warningHandler(text);
}

// The text of a side file, read only when it is a regular file of at most kMaxSideFileBytes:
// a FIFO or a device (or a link to one) would block or never end, a huge file is not ours.
// Opened without blocking and checked on the open descriptor, so nothing can be swapped in
// between the check and the read.
std::optional<std::string> ReadSideFile(const fs::path& path) {
#ifdef _WIN32
    int fd = -1;
    if (_wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0) != 0)
        fd = -1;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
#endif
    if (fd < 0) {
        Warn("skipped the backup side file " + Utf8(path) + ": it cannot be opened");
        return std::nullopt;
    }
    std::optional<std::string> text;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || (info.st_mode & S_IFMT) != S_IFREG) {
        Warn("skipped the backup side file " + Utf8(path) + ": it is not a regular file");
    } else if (static_cast<uint64_t>(info.st_size) > CBackupStore::kMaxSideFileBytes) {
        Warn("skipped the backup side file " + Utf8(path) + ": it is larger than " +
             std::to_string(CBackupStore::kMaxSideFileBytes) + " bytes");
    } else {
        std::string bytes(static_cast<size_t>(info.st_size), '\0');
        size_t got = 0;
        for (;;) {
#ifdef _WIN32
            const int n = _read(fd, bytes.data() + got, static_cast<unsigned>(bytes.size() - got));
#else
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
#endif
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
            if (got == bytes.size())
                break;
        }
        bytes.resize(got);
        text = std::move(bytes);
    }
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
    return text;
}

nlohmann::json ToJson(const SBackupInfo& info) {
    return {{"file", info.file},         {"time", info.time},         {"version", info.version},
            {"size", info.size},         {"sha256", info.sha256},     {"original", info.original},
            {"sequence", info.sequence}, {"counts", info.counts}};
}

// Nothing for a side file that is not ours or is damaged: such a backup is not offered.
std::optional<SBackupInfo> FromJson(const std::string& name, const std::string& text) {
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (!json.is_object())
        return std::nullopt;
    try {
        SBackupInfo info;
        info.name = name;
        info.file = json.at("file").get<std::string>();
        info.time = json.at("time").get<std::string>();
        info.version = json.value("version", std::string());
        info.size = json.at("size").get<uint64_t>();
        info.sha256 = json.at("sha256").get<std::string>();
        info.original = json.value("original", false);
        if (!WellFormedTime(info.time))
            return std::nullopt;
        // No store makes a sequence beyond the bound: one there (or below 0) was written by
        // hand and counts as unknown (0), so the next sequence never overflows and the
        // copies made after it still sort as the newest.
        if (const auto found = json.find("sequence"); found != json.end()) {
            if (!found->is_number_integer())
                return std::nullopt;
            const bool inRange =
                found->is_number_unsigned()
                    ? found->get<uint64_t>() <= uint64_t{CBackupStore::kMaxSequence}
                    : found->get<int64_t>() >= 0;
            info.sequence = inRange ? found->get<int64_t>() : 0;
        }
        if (json.contains("counts"))
            info.counts = json.at("counts").get<std::map<std::string, int64_t>>();
        if (info.file.empty() || info.file.find_first_of("/\\") != std::string::npos)
            return std::nullopt;
        return info;
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

} // namespace

CBackupStore::CBackupStore(fs::path folder) : m_folder(std::move(folder)) {}

fs::path CBackupStore::FolderFor(const fs::path& databasePath) {
    return databasePath.parent_path() / "backups";
}

std::vector<SBackupInfo> CBackupStore::List(const std::string& fileName) const {
    std::vector<SBackupInfo> backups;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder, ec)) {
        const std::string side = Utf8(entry.path().filename());
        if (side.size() <= 5 || !side.ends_with(kSideSuffix))
            continue;
        const std::string name = side.substr(0, side.size() - 5);
        if (!fs::is_regular_file(m_folder / Utf8Path(name), ec))
            continue;
        const std::optional<std::string> text = ReadSideFile(entry.path());
        std::optional<SBackupInfo> info = text ? FromJson(name, *text) : std::nullopt;
        if (info && (fileName.empty() || info->file == fileName))
            backups.push_back(std::move(*info));
    }
    // Newest first by time, then by the order of making within a second.
    std::sort(backups.begin(), backups.end(), [](const SBackupInfo& a, const SBackupInfo& b) {
        if (a.time != b.time)
            return a.time > b.time;
        if (a.sequence != b.sequence)
            return a.sequence > b.sequence;
        const int64_t numberA = CopyNumber(a.name), numberB = CopyNumber(b.name);
        return numberA != numberB ? numberA > numberB : a.name > b.name;
    });
    return backups;
}

std::optional<SBackupInfo> CBackupStore::Find(const std::string& name) const {
    for (SBackupInfo& info : List())
        if (info.name == name)
            return std::move(info);
    return std::nullopt;
}

std::optional<SBackupInfo> CBackupStore::Original(const std::string& fileName) const {
    for (SBackupInfo& info : List(fileName))
        if (info.original)
            return std::move(info);
    return std::nullopt;
}

bool CBackupStore::Backup(const fs::path& file, int keep, std::string& made,
                          std::string& error) const {
    CInstallationLock lock;
    if (!lock.Acquire(m_folder.parent_path(), error))
        return false;
    Tidy(Utf8(file.filename()));
    if (!MakeCopy(file, made, error))
        return false;
    Rotate(Utf8(file.filename()), keep, {});
    return true;
}

void CBackupStore::SetWarningHandler(WarningHandler handler) {
    const std::lock_guard guard(g_warningMutex);
    g_warningHandler = std::move(handler);
}

// What copies of fileName that were killed half way left: their temporary files, and copies
// whose side file was never written. Such a copy is complete (it was renamed into place only
// once written and flushed), so its side file is made from its content; one that cannot be
// read is removed. Runs under the installation's lock, so no writer is between the two steps.
void CBackupStore::Tidy(const std::string& fileName) const {
    CSafeFile::RemoveAbandonedTemporaries(m_folder, [&fileName](const std::string& target) {
        return target.ends_with("_" + fileName) || target.ends_with("_" + fileName + kSideSuffix);
    });
    std::error_code ec;
    std::vector<std::pair<std::string, std::string>> orphans; // name, time
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8(it->path().filename());
        std::string time = TimeOfCopyName(name, fileName);
        std::error_code status;
        if (!time.empty() && it->is_regular_file(status) &&
            !fs::exists(fs::symlink_status(m_folder / Utf8Path(name + kSideSuffix), status)))
            orphans.emplace_back(name, std::move(time));
    }
    if (orphans.empty())
        return;
    std::sort(orphans.begin(), orphans.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second < b.second : a.first < b.first;
    });
    for (const auto& [name, time] : orphans) {
        const fs::path copy = m_folder / Utf8Path(name);
        std::string reason;
        const auto digest = CSha256::OfFile(copy, reason);
        SBackupInfo info;
        info.name = name;
        info.file = fileName;
        info.time = time;
        info.version = KESTREL_VERSION;
        if (digest) {
            info.size = digest->size;
            info.sha256 = digest->sha256;
            if (!IsArchive(fileName))
                info.counts = RecordCounts(copy);
            int64_t sequence = 0;
            bool hasOriginal = false;
            for (const SBackupInfo& other : List()) {
                sequence = std::max(sequence, other.sequence);
                hasOriginal = hasOriginal || (other.file == fileName && other.original);
            }
            info.sequence = NextSequence(sequence);
            info.original = !hasOriginal;
            Warn("completed the backup " + name + ", whose side file was never written");
        }
        if (!digest || !WriteSideFile(info, reason)) {
            fs::remove(copy, ec);
            Warn("removed the backup " + name + ", which had no side file and cannot be read: " +
                 reason);
        }
    }
}

bool CBackupStore::IsArchive(const std::string& fileName) {
    if (fileName.size() < 4)
        return false;
    std::string extension = fileName.substr(fileName.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".big";
}

// The file is streamed into the folder while it is hashed, so an archive of hundreds of
// megabytes is never held in memory; a copy identical to the newest backup is dropped again.
bool CBackupStore::MakeCopy(const fs::path& file, std::string& made, std::string& error) const {
    made.clear();
    std::error_code ec;
    if (!fs::exists(file, ec))
        return true;
    SBackupInfo info;
    info.file = Utf8(file.filename());
    info.version = KESTREL_VERSION;

    const std::vector<SBackupInfo> existing = List();
    int64_t sequence = 0;
    bool hasOriginal = false;
    const SBackupInfo* newest = nullptr;
    for (const SBackupInfo& other : existing) {
        sequence = std::max(sequence, other.sequence);
        if (other.file != info.file)
            continue;
        hasOriginal = hasOriginal || other.original;
        if (!newest)
            newest = &other;
    }
    info.sequence = NextSequence(sequence);
    info.original = !hasOriginal;

    const std::time_t now = std::time(nullptr);
    info.time = LocalTime(now, "%Y-%m-%d %H:%M:%S");
    const std::string stamp = LocalTime(now, "%Y-%m-%dT%H-%M-%S");
    fs::create_directories(m_folder, ec);
    if (!fs::is_directory(m_folder, ec)) {
        error = "cannot create the backups folder " + Utf8(m_folder);
        return false;
    }
    info.name = stamp + "_" + info.file;
    for (int n = 2; fs::exists(m_folder / Utf8Path(info.name), ec) ||
                    fs::exists(m_folder / Utf8Path(info.name + kSideSuffix), ec);
         ++n)
        info.name = stamp + "-" + std::to_string(n) + "_" + info.file;

    const fs::path target = m_folder / Utf8Path(info.name);
    CSafeFile::SCopied copied;
    std::string reason;
    if (!CSafeFile::Copy(Utf8(file), Utf8(target), copied, reason)) {
        error = "cannot write the backup " + Utf8(target) + ": " + reason;
        return false;
    }
    if (newest && newest->sha256 == copied.sha256 && newest->size == copied.size) {
        fs::remove(target, ec);
        return true;
    }
    info.size = copied.size;
    info.sha256 = copied.sha256;
    if (!IsArchive(info.file))
        info.counts = RecordCounts(target);
    if (!WriteSideFile(info, error)) {
        fs::remove(target, ec);
        return false;
    }
    made = info.name;
    return true;
}

bool CBackupStore::WriteSideFile(const SBackupInfo& info, std::string& error) const {
    const std::string text = ToJson(info).dump(2) + "\n";
    const fs::path side = m_folder / Utf8Path(info.name + kSideSuffix);
    // As private as the copy it describes.
    std::error_code ec;
    const fs::file_status copy = fs::status(m_folder / Utf8Path(info.name), ec);
    const std::optional<fs::perms> mode =
        ec ? std::nullopt : std::optional(copy.permissions());
    std::string reason;
    if (CSafeFile::Write(Utf8(side),
                         std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                         reason, mode))
        return true;
    error = "cannot write " + Utf8(side) + ": " + reason;
    return false;
}

void CBackupStore::Rotate(const std::string& fileName, int keep, const std::string& spare) const {
    if (IsArchive(fileName))
        keep = std::min(keep, kArchiveKeep);
    int kept = 0;
    std::error_code ec;
    for (const SBackupInfo& info : List(fileName)) {
        if (info.original || info.name == spare || kept++ < keep)
            continue;
        fs::remove(m_folder / Utf8Path(info.name + kSideSuffix), ec);
        fs::remove(m_folder / Utf8Path(info.name), ec);
    }
}

bool CBackupStore::Verify(const SBackupInfo& backup, std::string& error) const {
    const auto digest = CSha256::OfFile(m_folder / Utf8Path(backup.name), error);
    if (!digest)
        return false;
    if (digest->size != backup.size || digest->sha256 != backup.sha256) {
        error = "backup " + backup.name +
                " is damaged: its size or SHA-256 differs from the one recorded when it was made";
        return false;
    }
    return true;
}

bool CBackupStore::ReadVerified(const SBackupInfo& backup, std::vector<uint8_t>& bytes,
                                std::string& error) const {
    CLastReport sink;
    CDbFileReader reader;
    if (!reader.Open(Utf8(m_folder / Utf8Path(backup.name)), sink)) {
        error = sink.last;
        return false;
    }
    if (reader.Bytes().size() != backup.size || CSha256::Hex(reader.Bytes()) != backup.sha256) {
        error = "backup " + backup.name +
                " is damaged: its size or SHA-256 differs from the one recorded when it was made";
        return false;
    }
    bytes.assign(reader.Bytes().begin(), reader.Bytes().end());
    return true;
}

bool CBackupStore::Restore(const SBackupInfo& backup, const fs::path& target, int keep,
                           std::string& madeBefore, std::string& error,
                           const KindCheck& readsAsTarget) const {
    if (Utf8(target.filename()) != backup.file) {
        error = "backup " + backup.name + " is a copy of " + backup.file + ", not of " +
                Utf8(target.filename());
        return false;
    }
    CInstallationLock lock;
    if (!lock.Acquire(m_folder.parent_path(), error))
        return false;
    if (!Verify(backup, error))
        return false;
    std::string wrongKind;
    if (readsAsTarget && !readsAsTarget(m_folder / Utf8Path(backup.name), wrongKind)) {
        error = "backup " + backup.name + " does not read as the kind of file " +
                Utf8(target.filename()) + " is, so it was not restored: " + wrongKind;
        return false;
    }
    if (!MakeCopy(target, madeBefore, error)) {
        error = "the current file could not be backed up first: " + error;
        return false;
    }
    // The backup being restored stays even when it is the oldest of those kept.
    Rotate(Utf8(target.filename()), keep, backup.name);
    // Streamed and checked on the way: a copy that changed since it was verified is not put in.
    CSafeFile::SCopied copied;
    std::string reason;
    if (!CSafeFile::Copy(Utf8(m_folder / Utf8Path(backup.name)), Utf8(target), copied, reason,
                         backup.sha256)) {
        error = "cannot replace " + Utf8(target) + ": " + reason;
        return false;
    }
    const auto written = CSha256::OfFile(target, error);
    if (!written)
        return false;
    if (written->sha256 != backup.sha256) {
        error = "after restoring, " + Utf8(target) + " does not match the SHA-256 of backup " +
                backup.name;
        return false;
    }
    return true;
}

int64_t CBackupStore::NextSequence(int64_t newest) {
    return newest < kMaxSequence ? newest + 1 : kMaxSequence;
}

bool CBackupStore::ReadsAsGameDatabase(const fs::path& path, std::string& error) {
    CLastReport sink;
    CDbFileReader reader;
    CDbCatalogue catalogue;
    if (!reader.Open(Utf8(path), sink) || !reader.ReadCatalogue(catalogue, sink)) {
        error = sink.last;
        return false;
    }
    std::string missing;
    for (const std::string_view table : kGameDatabaseTables)
        if (!catalogue.FindTable(std::string(table)))
            missing += (missing.empty() ? "" : ", ") + std::string(table);
    if (!missing.empty()) {
        error = "it has no table " + missing;
        return false;
    }
    // Every record as the editor loads it.
    CGameDatabase database;
    if (!database.LoadGameDatabase(Utf8(path), "", sink)) {
        error = sink.last;
        return false;
    }
    return true;
}

bool CBackupStore::ReadsAsTextDatabase(const fs::path& path, std::string& error) {
    CLastReport sink;
    CIngameTextDb texts(Utf8(path));
    if (!texts.ReadIngameTextDb(sink)) {
        error = sink.last;
        return false;
    }
    if (!texts.Catalogue().FindTable(CIngameTextDb::kTableName)) {
        error = std::string("it has no table ") + CIngameTextDb::kTableName +
                ", so it is not a text database";
        return false;
    }
    return true;
}
