#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// The advisory lock every writer of a game installation holds for its whole read-modify-write
// (load, change, back up and save; an archive update; a restore), so that two writers never
// interleave and nothing one of them read before the other's save is written back. It locks
// the file ".kestrel.lock" in the folder of the game database (data/cmn/.kestrel.lock) with
// flock (LockFileEx on Windows); the system releases it when the holder exits or dies, and the
// file itself stays. Within one process the lock is re-entrant for the thread holding it: a
// save that takes it inside a command's load-change-save span does not wait for itself.
class CInstallationLock {
public:
    static constexpr const char* kFileName = ".kestrel.lock";

    CInstallationLock() = default;
    ~CInstallationLock();
    CInstallationLock(const CInstallationLock&) = delete;
    CInstallationLock& operator=(const CInstallationLock&) = delete;
    CInstallationLock(CInstallationLock&& other) noexcept;
    CInstallationLock& operator=(CInstallationLock&& other) noexcept;

    // The folder whose lock guards a file: the folder holding the game database, for the
    // database itself and for its backups folder's contents alike.
    static std::filesystem::path FolderOf(const std::filesystem::path& databasePath);

    // Takes the lock of folder (the game database's), waiting up to `wait` while another
    // process or thread holds it. False, with error naming the holder and the time waited,
    // when it stays held or the lock file cannot be opened; nothing is held then.
    bool Acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait,
                 std::string& error);
    // The same with DefaultWait().
    bool Acquire(const std::filesystem::path& folder, std::string& error);
    void Release();
    bool IsHeld() const { return !m_key.empty(); }

    // How long an acquisition without its own wait waits: the command line's --wait, the
    // editor's short wait. A few seconds unless set.
    static std::chrono::milliseconds DefaultWait();
    static void SetDefaultWait(std::chrono::milliseconds wait);
    // The name written into the lock file for other writers' messages ("kestrel-cli").
    static void SetHolderName(const std::string& name);

private:
    std::string m_key;
};
