#pragma once

#include "editor/model/SBackupInfo.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The backups folder of a game installation: a copy of a database file is made before each
// save replaces it, and of an archive before an import replaces it, each copy with a JSON side
// file (SBackupInfo). The first copy of a file is its original and stays; of the others the
// newest `keep` stay, and of an archive's at most kArchiveKeep. Files are copied and hashed in
// chunks, never held whole. Backup and Restore hold the installation's lock (CInstallationLock
// of the folder above the backups folder) while they work.
class CBackupStore {
public:
    static constexpr int kDefaultKeep = 20;
    static constexpr int kMaxKeep = 1000;
    // Each copy of an archive is as large as the archive (hundreds of megabytes).
    static constexpr int kArchiveKeep = 2;
    // Side files larger than this are not ours and are not read.
    static constexpr uint64_t kMaxSideFileBytes = uint64_t{1} << 20;
    // Sequences read are bounded to this (exact in any JSON reader), so the next never overflows.
    static constexpr int64_t kMaxSequence = (int64_t{1} << 53) - 1;

    // Told what the store skipped or mended (a side file that is no regular file, a copy
    // whose side file was missing); the command-line tool prints it. Nothing is told unless set.
    using WarningHandler = std::function<void(const std::string&)>;
    static void SetWarningHandler(WarningHandler handler);

    // Whether a copy reads as the kind of file it would replace; false with the reason.
    using KindCheck = std::function<bool(const std::filesystem::path& copy, std::string& error)>;
    // A game database with every table the editor needs and records it can load.
    static bool ReadsAsGameDatabase(const std::filesystem::path& path, std::string& error);
    // An in-game text database ("language" table).
    static bool ReadsAsTextDatabase(const std::filesystem::path& path, std::string& error);

    // An archive of the game's pictures ("zdata_05.big"): no record counts, fewer copies kept.
    static bool IsArchive(const std::string& fileName);

    explicit CBackupStore(std::filesystem::path folder);
    // The backups folder beside a game database (data/cmn/backups for data/cmn/corvid.db).
    static std::filesystem::path FolderFor(const std::filesystem::path& databasePath);

    const std::filesystem::path& Folder() const { return m_folder; }

    // Copies file into the folder, unless it does not exist or the newest backup of it is
    // identical (made stays empty then). False with error when the copy could not be made.
    // What killed copies of the file left is tidied first (see Tidy).
    bool Backup(const std::filesystem::path& file, int keep, std::string& made,
                std::string& error) const;

    // Every readable backup, newest first; only those of fileName when it is not empty.
    std::vector<SBackupInfo> List(const std::string& fileName = {}) const;
    std::optional<SBackupInfo> Find(const std::string& name) const;
    std::optional<SBackupInfo> Original(const std::string& fileName) const;

    // Whether the copy still has its recorded size and SHA-256 (read in chunks); error says why
    // not.
    bool Verify(const SBackupInfo& backup, std::string& error) const;
    // The copy's bytes, refused with error when they do not match its recorded size and SHA-256.
    bool ReadVerified(const SBackupInfo& backup, std::vector<uint8_t>& bytes,
                      std::string& error) const;
    // Puts the backup in place of target: checks the copy (and that it reads as target's kind
    // of file, when readsAsTarget is given), backs target up first (its name in madeBefore,
    // empty when an identical backup was the newest), replaces target atomically by a streamed
    // copy and checks the result. False with error when any step fails; target is unchanged
    // unless the failure is the final check.
    bool Restore(const SBackupInfo& backup, const std::filesystem::path& target, int keep,
                 std::string& madeBefore, std::string& error,
                 const KindCheck& readsAsTarget = {}) const;

private:
    bool MakeCopy(const std::filesystem::path& file, std::string& made, std::string& error) const;
    void Rotate(const std::string& fileName, int keep, const std::string& spare) const;
    void Tidy(const std::string& fileName) const;
    static int64_t NextSequence(int64_t newest);
    bool WriteSideFile(const SBackupInfo& info, std::string& error) const;

    std::filesystem::path m_folder;
};
