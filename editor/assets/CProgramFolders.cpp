#include "CProgramFolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The library's file name as the platform's loader builds it from "Wren_Utils".
#if defined(Q_OS_WIN)
const QString kLibraryFile = QStringLiteral("Wren_Utils.dll");
#elif defined(Q_OS_MACOS)
const QString kLibraryFile = QStringLiteral("libWren_Utils.dylib");
#else
const QString kLibraryFile = QStringLiteral("libWren_Utils.so");
#endif

// Relative to the installed programs' folder; set by the build from the install layout.
const QString kInstalledLibraryFolder = QStringLiteral(KESTREL_LIBRARY_FROM_PROGRAM);
const QString kInstalledDataFolder = QStringLiteral(KESTREL_DATA_FROM_PROGRAM);

QString WithSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

QString CProgramFolders::LibraryFolder(const QString& programFolder) {
    const QDir program(programFolder);
    if (QFileInfo(program.filePath(kLibraryFile)).isFile()) {
        return program.path();
    }
    return QDir::cleanPath(program.filePath(kInstalledLibraryFolder));
}

QString CProgramFolders::LibraryPath(const QString& programFolder) {
    return QDir(LibraryFolder(programFolder)).filePath(QStringLiteral("Wren_Utils"));
}

QString CProgramFolders::DataFolder(const QString& programFolder) {
    const QDir program(programFolder);
    if (QFileInfo(program.filePath(QStringLiteral("English_UK.qtx"))).isFile()) {
        return WithSlash(program.path());
    }
    return WithSlash(QDir::cleanPath(program.filePath(kInstalledDataFolder)));
}
