#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// What a file was when it was read: size, modification time and SHA-256. A file that no longer
// matches was written by someone else since.
class CFileIdentity {
public:
    // Nothing when the file cannot be read.
    static std::optional<CFileIdentity> Read(const std::filesystem::path& path);

    // Size and time only: cheap enough for every change notice.
    bool SameStamp(const std::filesystem::path& path) const;
    // Stamp first; when the stamp differs, the content decides (a copy of the same bytes is
    // not a change).
    bool SameAs(const std::filesystem::path& path) const;

    uint64_t Size() const { return m_size; }
    const std::string& Sha256() const { return m_sha256; }

private:
    uint64_t m_size = 0;
    std::filesystem::file_time_type m_time{};
    std::string m_sha256;
};
