#include "CFileIdentity.h"

#include "editor/database/CSha256.h"

#include <system_error>

std::optional<CFileIdentity> CFileIdentity::Read(const std::filesystem::path& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    std::string reason;
    const auto digest = CSha256::OfFile(path, reason);
    if (!digest)
        return std::nullopt;
    CFileIdentity identity;
    identity.m_size = digest->size;
    identity.m_time = time;
    identity.m_sha256 = digest->sha256;
    return identity;
}

bool CFileIdentity::SameStamp(const std::filesystem::path& path) const {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size != m_size)
        return false;
    const auto time = std::filesystem::last_write_time(path, error);
    return !error && time == m_time;
}

bool CFileIdentity::SameAs(const std::filesystem::path& path) const {
    if (SameStamp(path))
        return true;
    const auto now = Read(path);
    return now && now->m_size == m_size && now->m_sha256 == m_sha256;
}
