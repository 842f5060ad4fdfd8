#pragma once

#include "CliCommand.h"

#include "editor/database/CInstallationLock.h"
#include "editor/database/CMessageSink.h"
#include "editor/model/CGameDatabase.h"

#include <string>
#include <vector>

// Collects what the core reports; the command prints the last failure as its one error line.
class CCliSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override;
    // "cannot read: DETAIL" for the last report, or fallback when there was none.
    std::string Last(const std::string& fallback) const;
    const std::vector<std::string>& Messages() const { return m_messages; }

private:
    std::vector<std::string> m_messages;
};

// The files a command works on, named by --game or --db/--texts, and how many backups a save
// keeps (--keep).
struct SCliGamePaths {
    std::string db;
    std::string texts;
    int keep = CGameDatabase::SBackupSettings().keep;

    // Fills error and returns false when the options name no game.
    bool Resolve(const CliContext& context, std::string& error);
    // Takes the lock of the game's installation (the folder of db), waiting as --wait says;
    // false with a message that names the holder and --wait.
    bool Lock(CInstallationLock& lock, std::string& error) const;
};

// The lock of the folder holding file (see SCliGamePaths::Lock).
bool LockFolderOf(const std::string& file, CInstallationLock& lock, std::string& error);

// The game a command works on: the database file and the text database named by --game or
// --db/--texts, loaded into one CGameDatabase.
class CCliGame {
public:
    // Fills error and returns false when the options name no game or it cannot be loaded.
    bool Open(const CliContext& context, std::string& error);
    // The same for a command that saves: the installation is locked first and stays locked
    // until this object goes, so what is loaded is what the save replaces.
    bool OpenForWriting(const CliContext& context, std::string& error);
    // Saves to the files it was loaded from; false with error when that fails, or when the load
    // had to leave rows out that the save would lose (unless --force).
    bool Save(std::string& error);

    CGameDatabase& Database() { return m_database; }
    const std::string& DbPath() const { return m_dbPath; }
    // The in-game text database the names are saved to; empty when there is none or it could
    // not be read, and then NamesProblem says which.
    const std::string& TextsPath() const { return m_textsPath; }
    const std::string& NamesProblem() const { return m_namesProblem; }

private:
    CInstallationLock m_lock;
    bool m_force = false;
    CGameDatabase m_database;
    std::string m_dbPath;
    std::string m_textsPath;
    std::string m_namesProblem;
    CCliSink m_sink;
};
