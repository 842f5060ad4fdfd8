#pragma once

#include <cstdint>
#include <span>
#include <string>

// Replaces a file's contents without ever leaving it half written: the bytes go to a new file in
// the same folder, are flushed to the disk, and that file is renamed over the target.
class CSafeFile {
public:
    // On failure error holds the reason, the target is unchanged and no temporary file remains.
    static bool Write(const std::string& path, std::span<const uint8_t> bytes, std::string& error);
    // Whether Write may replace the file: a missing file may be made; an existing one must be a
    // regular file, not read-only, that this user can open for writing. False with the reason.
    static bool CanReplace(const std::string& path, std::string& error);
};
