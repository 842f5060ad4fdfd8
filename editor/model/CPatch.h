#pragma once

#include "editor/model/SRecordChange.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class CGameDatabase;

// A patch: the changes that turn one game database (its base) into another, with the base's
// old values so a database that differs from the base can tell a clean change from a conflict.
// Stored as JSON text, one record a line (docs/patch-format.md).
class CPatch {
public:
    static constexpr int kFormatVersion = 1;
    static constexpr const char* kFormatName = "kestrel-patch";
    // Larger files are refused unread.
    static constexpr size_t kMaxFileSize = 256u << 20;

    struct SHeader {
        int version = kFormatVersion;
        std::string tool;
        std::string message;
        std::string baseSha256;
        std::map<std::string, int64_t> baseCounts;
    };

    // The patch that turns base into changed.
    static CPatch Make(const CGameDatabase& base, const CGameDatabase& changed,
                       std::string baseSha256, std::string message);
    // The same, the base's digest taken from the file it was loaded from (baseDbPath); false with
    // error when that file cannot be read.
    static bool Make(const CGameDatabase& base, const std::string& baseDbPath,
                     const CGameDatabase& changed, std::string message, CPatch& patch,
                     std::string& error);
    // Record counts of a database as a patch's header keeps them.
    static std::map<std::string, int64_t> Counts(const CGameDatabase& db);

    std::string ToText() const;
    // False with "line N: reason" in error for anything but a well-formed patch of this format
    // version whose kinds, keys, fields and value types are known.
    static bool Read(std::string_view text, CPatch& patch, std::string& error);
    // Reads a patch file: anything but a regular file of at most kMaxFileSize holding a patch
    // Read accepts is refused, error naming the file (and the line and reason).
    static bool ReadFile(const std::string& path, CPatch& patch, std::string& error);
    // Writes ToText() to path, never leaving a half-written file.
    bool WriteFile(const std::string& path, std::string& error) const;

    SHeader header;
    std::vector<SRecordChange> changes;
};
