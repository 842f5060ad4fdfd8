#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

// Replaces a file's contents without ever leaving it half written: the bytes go to a new file in
// the same folder, are flushed to the disk, and that file is renamed over the target. The new
// file has the target's mode from the moment it is made (a new target: newMode, for a copy the
// source's), and is locked (CFileLock) while it is written, so that a later save can tell the
// temporary files of writers that were killed from those of writers still at work.
class CSafeFile {
public:
    // On failure error holds the reason, the target is unchanged and no temporary file remains.
    static bool Write(const std::string& path, std::span<const uint8_t> bytes, std::string& error,
                      std::optional<std::filesystem::perms> newMode = std::nullopt);

    struct SCopied {
        uint64_t size = 0;
        std::string sha256; // of the bytes copied
    };
    // Replaces the file at path the same way with a copy of the file from, read and written in
    // chunks so that a file of any size is never held whole. When expectSha256 is given and the
    // bytes read do not match it, the target stays unchanged and the copy fails.
    static bool Copy(const std::string& from, const std::string& path, SCopied& copied,
                     std::string& error, const std::string& expectSha256 = {});
    // Whether Write may replace the file: a missing file may be made; an existing one must be a
    // regular file, not read-only, that this user can open for writing. False with the reason.
    static bool CanReplace(const std::string& path, std::string& error);

    // Removes the temporary files that writes of path left when they were killed ("PATH.tmp…"
    // whose lock nobody holds); each write does so first. Returns how many were removed.
    static int RemoveAbandonedTemporaries(const std::string& path);
    // The same in folder, for the targets whose file name ours accepts.
    static int RemoveAbandonedTemporaries(const std::filesystem::path& folder,
                                          const std::function<bool(const std::string&)>& ours);
};
