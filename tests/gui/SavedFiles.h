#pragma once

#include "editor/database/CIngameTextDb.h"

#include <QByteArray>
#include <QString>

#include <optional>

class CGameDatabase;
class EditorFixture;

// What the editor left on disk, read back the way the tests check it.
namespace SavedFiles {

// The whole file; empty when it cannot be read.
QByteArray Bytes(const QString& path);
// The fixture's game database with its in-game texts, loaded by the model into `database`.
bool LoadDatabase(const EditorFixture& fixture, CGameDatabase& database);
// The in-game text database at `path`; nothing when it cannot be read.
std::optional<CIngameTextDb> ReadTexts(const QString& path);

} // namespace SavedFiles
