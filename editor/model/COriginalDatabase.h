#pragma once

#include <string>

class CGameDatabase;
class CMessageSink;

// The installation as it was before any edit: the first backup of its game database (and of
// its in-game text database, where there is one; else the current texts give the names).
class COriginalDatabase {
public:
    // Loads the original of the database at dbPath into db; false with the reason in error
    // when there is no backup yet, it is damaged or it cannot be read. loadedPath: the copy.
    static bool Load(const std::string& dbPath, const std::string& textsPath, CGameDatabase& db,
                     std::string& loadedPath, std::string& error);
};
