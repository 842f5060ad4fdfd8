#include "CGameLanguages.h"

#include "CGameLocator.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <array>

namespace {

// Numbers 1, 9 and 10 name no file of their own (1 shares English's, 9 and 10 have none).
struct SKnownLanguage {
    quint32 number;
    const char* name;
};
constexpr std::array<SKnownLanguage, 10> kKnown = {{{0, "English"},
                                                    {2, "Fran\u00e7ais"},
                                                    {3, "Deutsch"},
                                                    {4, "Italiano"},
                                                    {5, "Espa\u00f1ol"},
                                                    {6, "Svenska"},
                                                    {7, "Nederlands"},
                                                    {8, "Portugu\u00eas (Brasil)"},
                                                    {11, "\u65e5\u672c\u8a9e"},
                                                    {12, "\ud55c\uad6d\uc5b4"}}};

const QString kGroup = QStringLiteral("Game Languages");

// One spelling per folder, so "/games/corvid" and "/games/corvid/" are one installation.
QString FolderKey(const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return CGameLocator::WithSlash(canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                                                       : canonical);
}

} // namespace

QList<CGameLanguages::Language> CGameLanguages::Installed(const QString& folder) {
    QList<Language> found;
    for (const SKnownLanguage& known : kKnown) {
        if (QFileInfo(CGameLocator::IngameTextDbPath(folder, known.number)).isFile()) {
            found.append({known.number, QString::fromUtf8(known.name),
                          CGameLocator::IngameTextDbRelativePath(known.number)});
        }
    }
    return found;
}

QString CGameLanguages::Name(quint32 number) {
    for (const SKnownLanguage& known : kKnown) {
        if (known.number == number) {
            return QString::fromUtf8(known.name);
        }
    }
    // 1 is English too; the rest read the English file.
    return number == 1 || number > 12 ? QString::fromUtf8(kKnown[0].name) : QString::number(number);
}

std::optional<quint32> CGameLanguages::Remembered(QSettings& settings, const QString& folder) {
    const QString key = FolderKey(folder);
    std::optional<quint32> language;
    const int count = settings.beginReadArray(kGroup);
    for (int i = 0; i < count && !language; ++i) {
        settings.setArrayIndex(i);
        bool ok = false;
        const quint32 number = settings.value(QStringLiteral("Language")).toUInt(&ok);
        if (ok && settings.value(QStringLiteral("Folder")).toString() == key) {
            language = number;
        }
    }
    settings.endArray();
    return language;
}

void CGameLanguages::Remember(QSettings& settings, const QString& folder, quint32 number) {
    const QString key = FolderKey(folder);
    QList<QPair<QString, quint32>> entries;
    const int count = settings.beginReadArray(kGroup);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const QString entryFolder = settings.value(QStringLiteral("Folder")).toString();
        if (!entryFolder.isEmpty() && entryFolder != key) {
            entries.append({entryFolder, settings.value(QStringLiteral("Language")).toUInt()});
        }
    }
    settings.endArray();
    entries.append({key, number});
    settings.remove(kGroup);
    settings.beginWriteArray(kGroup, static_cast<int>(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("Folder"), entries[i].first);
        settings.setValue(QStringLiteral("Language"), entries[i].second);
    }
    settings.endArray();
}
