#pragma once

#include "CliCommand.h"

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
};

// The game a command works on: the database file and the text database named by --game or
// --db/--texts, loaded into one CGameDatabase.
class CCliGame {
public:
    // Fills error and returns false when the options name no game or it cannot be loaded.
    bool Open(const CliContext& context, std::string& error);
    // Saves to the files it was loaded from; false with error when that fails.
    bool Save(std::string& error);

    CGameDatabase& Database() { return m_database; }
    // The in-game text database the names are saved to; empty when there is none or it could
    // not be read, and then NamesProblem says which.
    const std::string& TextsPath() const { return m_textsPath; }
    const std::string& NamesProblem() const { return m_namesProblem; }

private:
    CGameDatabase m_database;
    std::string m_dbPath;
    std::string m_textsPath;
    std::string m_namesProblem;
    CCliSink m_sink;
};
