#pragma once

#include <QString>

#include <optional>

// Finds the game's installation folder and language: the folder given on the command line,
// the game's own registry values (Windows, or a Wine prefix elsewhere), or the folder the
// editor used last.
class CGameLocator {
public:
    struct Location {
        // Ends in '/'.
        QString folder;
        quint32 language = 0;
        // Where the folder came from: "command line", "registry", "wine", "last used".
        QString source;
    };

    struct Inputs {
        QString commandLineFolder;
        std::optional<quint32> commandLineLanguage;
        // Empty: $WINEPREFIX, else ~/.wine.
        QString winePrefix;
        QString lastUsedFolder;
        quint32 lastUsedLanguage = 0;
        bool readSystemRegistry = true;
    };

    // The first source that names a folder holding the game database; nothing when none does.
    // A folder given on the command line is taken as it is.
    static std::optional<Location> Locate(const Inputs& inputs);

    // True when data/cmn/corvid.db (any letter case) is a file under `folder`.
    static bool HoldsGame(const QString& folder);
    static QString DatabasePath(const QString& folder);
    // The in-game text database of `language`; languages past 12 use the English file.
    static QString IngameTextDbPath(const QString& folder, quint32 language);
    static QString IngameTextDbRelativePath(quint32 language);

    static QString WithSlash(const QString& folder);
    static QString DefaultWinePrefix();

private:
    static std::optional<Location> FromWine(const QString& prefix);
    static std::optional<Location> FromWindowsRegistry();
};
