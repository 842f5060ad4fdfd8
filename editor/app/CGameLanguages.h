#pragma once

#include <QList>
#include <QString>

#include <optional>

class QSettings;

// The game's languages as the editor offers them: which in-game text databases an
// installation holds, and the language the user chose for each installation folder, kept in
// the editor's settings so that names go to the same texts at every start.
class CGameLanguages {
public:
    struct Language {
        quint32 number = 0;
        // The language's own name for itself, e.g. "Français".
        QString name;
        // The in-game text database under the installation folder, e.g. "data/cmn/fe/fre.db".
        QString relativePath;
    };

    // The languages whose in-game text database is a file under `folder`, one per file, in
    // the order of their numbers.
    static QList<Language> Installed(const QString& folder);
    // The name of language `number`, or its number as text for a number without a language.
    static QString Name(quint32 number);

    static std::optional<quint32> Remembered(QSettings& settings, const QString& folder);
    static void Remember(QSettings& settings, const QString& folder, quint32 number);
};
