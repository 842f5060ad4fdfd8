#pragma once

#include <cstdint>
#include <string>

class CGameDatabase;

// Another game installation read alongside the one being edited (to compare with it or copy
// from it): its game database with the in-game names of the same game language.
class COtherInstallation {
public:
    // False with the reason in error when the folder is no installation or its database cannot
    // be read; names that cannot be read leave the records without them.
    static bool Load(const std::string& folder, uint32_t gameLanguage, CGameDatabase& db,
                     std::string& error);
};
