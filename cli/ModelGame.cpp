#include "ModelGame.h"

#include "editor/model/CGameInstallation.h"

#include <iostream>

void CCliSink::Report(const std::string& key, const std::string& detail) {
    std::string text = key == "Error_OpenToRead"    ? "cannot read"
                       : key == "Error_OpenToWrite" ? "cannot write"
                                                    : key;
    if (!detail.empty())
        text += ": " + detail;
    m_messages.push_back(std::move(text));
}

std::string CCliSink::Last(const std::string& fallback) const {
    return m_messages.empty() ? fallback : m_messages.back();
}

bool SCliGamePaths::Resolve(const CliContext& context, std::string& error) {
    if (context.keep)
        keep = *context.keep;
    if (context.game && context.db) {
        error = "give either --game or --db, not both";
        return false;
    }
    if (context.game) {
        CGameInstallation installation(*context.game, context.gameLanguage);
        const auto found = installation.DatabasePath();
        if (!found) {
            error = "no " + std::string(CGameInstallation::kDatabaseRelativePath) + " in " +
                    *context.game;
            return false;
        }
        db = found->string();
        const auto textsFound = installation.TextDatabasePath();
        texts = textsFound ? textsFound->string() : std::string();
        if (context.texts)
            texts = *context.texts;
    } else if (context.db) {
        db = *context.db;
        texts = context.texts.value_or("");
    } else {
        error = "no game: give --game DIR or --db FILE";
        return false;
    }
    return true;
}

bool CCliGame::Open(const CliContext& context, std::string& error) {
    SCliGamePaths paths;
    if (!paths.Resolve(context, error))
        return false;
    m_dbPath = paths.db;
    m_textsPath = paths.texts;
    m_database.SetBackupSettings({true, paths.keep});
    if (!m_database.LoadGameDatabase(m_dbPath, m_textsPath, m_sink)) {
        error = m_sink.Last("cannot read " + m_dbPath);
        return false;
    }
    // The names could not be read: say so, the records are still usable, but the names are not
    // saved (they would be written back empty) and cannot be changed.
    for (const std::string& message : m_sink.Messages())
        std::cerr << "kestrel-cli: warning: " << message << "\n";
    if (m_textsPath.empty())
        m_namesProblem = "there is none to save it in (give --texts FILE or --game DIR)";
    else if (!m_sink.Messages().empty())
        m_namesProblem = "it cannot be read (" + m_sink.Messages().back() + ")";
    if (!m_namesProblem.empty())
        m_textsPath.clear();
    return true;
}

bool CCliGame::Save(std::string& error) {
    const size_t before = m_sink.Messages().size();
    if (!m_database.SaveGameDatabase(m_dbPath, m_textsPath, m_sink)) {
        error = m_sink.Last("cannot write " + m_dbPath);
        return false;
    }
    // The game database is saved; a failure of the names comes after it.
    if (m_sink.Messages().size() > before) {
        error = "saved " + m_dbPath + ", but not the names: " + m_sink.Messages().back();
        return false;
    }
    return true;
}
