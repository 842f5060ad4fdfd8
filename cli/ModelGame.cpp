#include "ModelGame.h"

#include "editor/database/Utf8Path.h"
#include "editor/model/CGameInstallation.h"

#include <iostream>

namespace {

// One line for what a save would lose of what the load left out.
std::string Describe(const SLoadAnomaly& anomaly) {
    const std::string id = std::to_string(anomaly.id);
    switch (anomaly.kind) {
    case SLoadAnomaly::EKind::DuplicateId:
        return "the second record " + id + " of table " + anomaly.table;
    case SLoadAnomaly::EKind::KitTypeOutOfRange:
        return "kit type " + std::to_string(anomaly.value) + " of team " + id;
    case SLoadAnomaly::EKind::UnknownTeam:
        return "the " + anomaly.table + " row of team " + id + ", which does not exist";
    }
    return {};
}

std::string Losses(const std::vector<SLoadAnomaly>& anomalies) {
    constexpr size_t kNamed = 3;
    std::string text;
    for (size_t i = 0; i < anomalies.size() && i < kNamed; ++i)
        text += (i == 0 ? "" : "; ") + Describe(anomalies[i]);
    if (anomalies.size() > kNamed)
        text += "; and " + std::to_string(anomalies.size() - kNamed) + " more";
    return text;
}

} // namespace

void CCliSink::Report(const std::string& key, const std::string& detail) {
    std::string text = key == "Error_OpenToRead"         ? "cannot read"
                       : key == "Error_OpenToWrite"      ? "cannot write"
                       : key == "Error_Locked"           ? "nothing was saved"
                       : key == "Error_ValueNotStorable" ? "nothing was saved, a value does not fit"
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
        CGameInstallation installation(Utf8Path(*context.game), context.gameLanguage);
        const auto found = installation.DatabasePath();
        if (!found) {
            error = "no " + std::string(CGameInstallation::kDatabaseRelativePath) + " in " +
                    *context.game;
            return false;
        }
        db = Utf8Text(*found);
        const auto textsFound = installation.TextDatabasePath();
        texts = textsFound ? Utf8Text(*textsFound) : std::string();
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

bool SCliGamePaths::Lock(CInstallationLock& lock, std::string& error) const {
    return LockFolderOf(db, lock, error);
}

bool LockFolderOf(const std::string& file, CInstallationLock& lock, std::string& error) {
    if (lock.Acquire(CInstallationLock::FolderOf(Utf8Path(file)), error))
        return true;
    if (error.starts_with("another program"))
        error += " (--wait SECONDS waits longer)";
    return false;
}

bool CCliGame::OpenForWriting(const CliContext& context, std::string& error) {
    SCliGamePaths paths;
    if (!paths.Resolve(context, error) || !paths.Lock(m_lock, error))
        return false;
    return Open(context, error);
}

bool CCliGame::Open(const CliContext& context, std::string& error) {
    SCliGamePaths paths;
    if (!paths.Resolve(context, error))
        return false;
    m_force = context.force;
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
    const std::vector<SLoadAnomaly>& lost = m_database.LoadAnomalies();
    if (!lost.empty() && !m_force) {
        error = "nothing was saved: the load had to leave out " + std::to_string(lost.size()) +
                (lost.size() == 1 ? " row" : " rows") + " of " + m_dbPath +
                " that a save would lose (" + Losses(lost) +
                "; kestrel-cli check lists them). Give --force to save without them";
        return false;
    }
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
