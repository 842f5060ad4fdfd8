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
        // Known from the command line or the game's registry values for this very folder.
        std::optional<quint32> language;
        // Where the folder came from: "command line", "registry", "wine", "last used".
        QString source;
    };

    struct Inputs {
        QString commandLineFolder;
        std::optional<quint32> commandLineLanguage;
        // Empty: $WINEPREFIX, else ~/.wine.
        QString winePrefix;
        QString lastUsedFolder;
        bool readSystemRegistry = true;
    };

    // The first source that names a folder; nothing when none does. A registered or last used
    // folder counts only when it holds the game database; the command line's is taken as it
    // is, for the caller to check (HoldsGame) and to say what is wrong with it.
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
