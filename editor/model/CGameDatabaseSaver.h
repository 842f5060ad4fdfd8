#pragma once

#include <string>

class CGameDatabase;
class CMessageSink;

// Writes the fifteen tables of a game database in the writer's fixed order (records in
// ascending id), then the team and league names into the in-game text database.
class CGameDatabaseSaver {
public:
    CGameDatabaseSaver(CGameDatabase& database, CMessageSink& sink);

    // False (files untouched, sink told why) when the database cannot be written, or when the
    // text database (given and present) cannot be read or written. A failure while writing the text database
    // after the game database is reported but does not undo the game database save.
    // Both files are first copied into the backups folder (when the database's settings say
    // so); a failed copy stops the save before anything is written.
    bool Save(const std::string& path, const std::string& textDbPath);

private:
    bool BackUp(const std::string& path, const std::string& textDbPath);
    bool CheckNames() const;
    bool CheckValues() const;

    CGameDatabase& m_database;
    CMessageSink& m_sink;
};
