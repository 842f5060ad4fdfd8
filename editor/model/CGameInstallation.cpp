#include "CGameInstallation.h"

#include "editor/database/CIngameTextDb.h"
#include "editor/database/Utf8Path.h"

#include <system_error>

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

CGameInstallation::CGameInstallation(std::filesystem::path folder, uint32_t gameLanguage)
    : m_folder(std::move(folder)), m_gameLanguage(gameLanguage) {}

std::optional<std::filesystem::path> CGameInstallation::DatabasePath() const {
    return FindPath(m_folder, kDatabaseRelativePath);
}

std::optional<std::filesystem::path> CGameInstallation::TextDatabasePath() const {
    return FindPath(m_folder, std::string(CIngameTextDb::RelativePathForLanguage(m_gameLanguage)));
}

std::optional<std::filesystem::path>
CGameInstallation::FindPath(const std::filesystem::path& folder, const std::string& relative) {
    std::filesystem::path current = folder;
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t end = std::min(relative.find('/', start), relative.size());
        const std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        const std::optional<std::filesystem::path> match = FindEntry(current, part);
        if (!match)
            return std::nullopt;
        current = *match;
    }
    return current;
}

std::optional<std::filesystem::path> CGameInstallation::FindEntry(
    const std::filesystem::path& folder, const std::string& name) {
    std::error_code ec;
    const std::filesystem::path exact = folder / Utf8Path(name);
    if (std::filesystem::exists(exact, ec))
        return exact;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (EqualNoCase(Utf8Text(it->path().filename()), name))
            return it->path();
    }
    return std::nullopt;
}
