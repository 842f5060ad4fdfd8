#include "CBackupStore.h"

#include "editor/database/CDbFileReader.h"
#include "editor/database/CMessageSink.h"
#include "editor/database/CSafeFile.h"
#include "editor/database/CSha256.h"
#include "editor/database/Utf8Path.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <ctime>
#include <fstream>
#include <sstream>

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
        info.sequence = json.value("sequence", int64_t{0});
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
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::optional<SBackupInfo> info = FromJson(name, text.str());
        if (info && (fileName.empty() || info->file == fileName))
            backups.push_back(std::move(*info));
    }
    std::sort(backups.begin(), backups.end(), [](const SBackupInfo& a, const SBackupInfo& b) {
        return a.sequence != b.sequence ? a.sequence > b.sequence : a.name > b.name;
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
    if (!MakeCopy(file, made, error))
        return false;
    Rotate(Utf8(file.filename()), keep, {});
    return true;
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
    info.sequence = sequence + 1;
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
    std::string reason;
    if (CSafeFile::Write(Utf8(side), std::span(reinterpret_cast<const uint8_t*>(text.data()),
                                                text.size()),
                         reason))
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
                           std::string& madeBefore, std::string& error) const {
    if (Utf8(target.filename()) != backup.file) {
        error = "backup " + backup.name + " is a copy of " + backup.file + ", not of " +
                Utf8(target.filename());
        return false;
    }
    if (!Verify(backup, error))
        return false;
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
