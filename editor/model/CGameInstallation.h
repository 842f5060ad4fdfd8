#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// A game installation folder: finds the game database and the in-game text database of a
// language, matching folder and file names without regard to letter case (installations
// copied from Windows often differ in case).
class CGameInstallation {
public:
    CGameInstallation(std::filesystem::path folder, uint32_t gameLanguage);

    const std::filesystem::path& Folder() const { return m_folder; }
    uint32_t GameLanguage() const { return m_gameLanguage; }

    // data/cmn/corvid.db, or nothing when the installation has none.
    std::optional<std::filesystem::path> DatabasePath() const;
    // The text database of the game language, or nothing when it is missing.
    std::optional<std::filesystem::path> TextDatabasePath() const;

    // Resolves a relative path ('/'-separated) component by component, each matched exactly
    // first and otherwise without regard to ASCII letter case.
    static std::optional<std::filesystem::path> FindPath(const std::filesystem::path& folder,
                                                         const std::string& relative);
    // The entry of folder named name, matched exactly first and otherwise without regard to
    // ASCII letter case; nothing when there is none.
    static std::optional<std::filesystem::path> FindEntry(const std::filesystem::path& folder,
                                                          const std::string& name);

    static constexpr const char* kDatabaseRelativePath = "data/cmn/corvid.db";

private:
    std::filesystem::path m_folder;
    uint32_t m_gameLanguage;
};
