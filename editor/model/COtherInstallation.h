#pragma once

#include <cstdint>
#include <string>

class CGameDatabase;
class CMessageSink;

// Another game installation read alongside the one being edited (to compare with it, copy from
// it or make a patch against it): its game database with the in-game names of the same game
// language.
class COtherInstallation {
public:
    enum class EError {
        None,
        NoFolder,   // detail: the folder as given
        NoDatabase, // detail: the folder; no kDatabaseRelativePath in it
        Unreadable, // detail: what the loader reported last; dbPath says which file
    };
    struct SResult {
        EError error = EError::None;
        std::string detail;
        // The game database file found in the folder (for a patch's header, or a message).
        std::string dbPath;

        bool Ok() const { return error == EError::None; }
    };

    // The loader's reports go to sink: names that cannot be read leave the records without
    // them (a report, and still a success); a database that cannot be read leaves db as it was.
    static SResult Load(const std::string& folder, uint32_t gameLanguage, CGameDatabase& db,
                        CMessageSink& sink);
};
