#pragma once

#include <QString>

// The path of `relative` (components separated by '/' or '\') under `folder`, each component
// matched without regard to letter case as the game's Windows installation expects. Components
// not found are kept as written, so a missing file keeps a readable name.
QString ResolveInstallPath(const QString& folder, const QString& relative);
