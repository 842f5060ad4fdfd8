#include "SavedFiles.h"

#include "CWarningSink.h"
#include "EditorFixture.h"

#include "editor/model/CGameDatabase.h"

#include <QFile>

namespace SavedFiles {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool LoadDatabase(const EditorFixture& fixture, CGameDatabase& database) {
    CWarningSink sink;
    return database.LoadGameDatabase(fixture.DatabasePath().toStdString(),
                                     fixture.TextDbPath().toStdString(), sink);
}

std::optional<CIngameTextDb> ReadTexts(const QString& path) {
    CIngameTextDb texts(path.toStdString());
    CWarningSink sink;
    if (!texts.ReadIngameTextDb(sink))
        return std::nullopt;
    return texts;
}

} // namespace SavedFiles
