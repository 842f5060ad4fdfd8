#include "InstallPath.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString ResolveInstallPath(const QString& folder, const QString& relative) {
    static const QRegularExpression separators(QStringLiteral("[/\\\\]+"));
    QString current = QDir::fromNativeSeparators(folder);
    if (current.isEmpty())
        current = QStringLiteral(".");
    bool exists = QFileInfo(current).isDir();
    for (const QString& part : relative.split(separators, Qt::SkipEmptyParts)) {
        QString name = part;
        const QDir dir(current);
        if (exists && !dir.exists(part)) {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries)
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    name = entry;
                    break;
                }
        }
        current = dir.filePath(name);
        exists = exists && QFileInfo::exists(current);
    }
    return current;
}
