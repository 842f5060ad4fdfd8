#include "CGameLocator.h"

#include "CWineRegistry.h"
#include "editor/assets/InstallPath.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <array>

namespace {

const QString kGameKey = QStringLiteral("Software\\Brackwater\\Corvid 2004");
// Where a 32-bit installer's values land on a 64-bit system.
const QString kGameKey32 = QStringLiteral("Software\\Wow6432Node\\Brackwater\\Corvid 2004");

} // namespace

QString CGameLocator::WithSlash(const QString& folder) {
    QString out = QDir::fromNativeSeparators(folder);
    if (!out.isEmpty() && !out.endsWith(u'/')) {
        out += u'/';
    }
    return out;
}

QString CGameLocator::DefaultWinePrefix() {
    const QString env = qEnvironmentVariable("WINEPREFIX");
    return env.isEmpty() ? QDir::home().filePath(QStringLiteral(".wine")) : env;
}

bool CGameLocator::HoldsGame(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(DatabasePath(folder)).isFile();
}

QString CGameLocator::DatabasePath(const QString& folder) {
    return ResolveInstallPath(folder, QStringLiteral("data/cmn/corvid.db"));
}

QString CGameLocator::IngameTextDbRelativePath(quint32 language) {
    static const std::array<const char*, 13> kFiles = {
        "eng", "eng", "fre", "ger", "ita", "spa", "swe", "dut", "brp", "", "", "jpn", "kor"};
    const char* name = language < kFiles.size() ? kFiles[language] : "eng";
    return QStringLiteral("data/cmn/fe/%1.db").arg(QLatin1String(name));
}

QString CGameLocator::IngameTextDbPath(const QString& folder, quint32 language) {
    return ResolveInstallPath(folder, IngameTextDbRelativePath(language));
}

std::optional<CGameLocator::Location> CGameLocator::FromWine(const QString& prefix) {
    CWineRegistry registry;
    if (!registry.LoadFile(QDir(prefix).filePath(QStringLiteral("system.reg")))) {
        return std::nullopt;
    }
    for (const QString& key : {kGameKey, kGameKey32}) {
        const auto dir = registry.StringValue(key, QStringLiteral("Install Dir"));
        if (!dir || dir->isEmpty()) {
            continue;
        }
        const QString folder = CWineRegistry::MapWindowsPath(prefix, *dir);
        if (!HoldsGame(folder)) {
            continue;
        }
        return Location{folder, registry.DwordValue(key, QStringLiteral("Language")).value_or(0),
                        QStringLiteral("wine")};
    }
    return std::nullopt;
}

std::optional<CGameLocator::Location> CGameLocator::FromWindowsRegistry() {
#ifdef Q_OS_WIN
    for (const QString& key : {kGameKey, kGameKey32}) {
        const QSettings game(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
        const QString dir = game.value(QStringLiteral("Install Dir")).toString();
        if (dir.isEmpty() || !HoldsGame(WithSlash(dir))) {
            continue;
        }
        return Location{WithSlash(dir), game.value(QStringLiteral("Language"), 0).toUInt(),
                        QStringLiteral("registry")};
    }
#endif
    return std::nullopt;
}

std::optional<CGameLocator::Location> CGameLocator::Locate(const Inputs& inputs) {
    std::optional<Location> found;
    // The game's own language value is wanted even when the folder comes from elsewhere.
    std::optional<Location> registered;
    if (inputs.readSystemRegistry) {
        registered = FromWindowsRegistry();
        if (!registered) {
            registered =
                FromWine(inputs.winePrefix.isEmpty() ? DefaultWinePrefix() : inputs.winePrefix);
        }
    }
    if (!inputs.commandLineFolder.isEmpty()) {
        const QString folder = WithSlash(QFileInfo(inputs.commandLineFolder).absoluteFilePath());
        const bool sameFolder = registered && QFileInfo(registered->folder).canonicalFilePath() ==
                                                  QFileInfo(folder).canonicalFilePath();
        found = Location{folder, sameFolder ? registered->language : std::nullopt,
                         QStringLiteral("command line")};
    } else if (registered) {
        found = registered;
    } else if (HoldsGame(inputs.lastUsedFolder)) {
        found =
            Location{WithSlash(inputs.lastUsedFolder), std::nullopt, QStringLiteral("last used")};
    }
    if (found && inputs.commandLineLanguage) {
        found->language = *inputs.commandLineLanguage;
    }
    return found;
}
