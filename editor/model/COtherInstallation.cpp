#include "COtherInstallation.h"

#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"

#include <filesystem>

namespace {

// Passes the loader's reports on, keeping the last one for the result.
class CLastReport : public CMessageSink {
public:
    explicit CLastReport(CMessageSink& next) : m_next(next) {}
    void Report(const std::string& key, const std::string& detail) override {
        text = detail.empty() ? key : detail;
        m_next.Report(key, detail);
    }
    std::string text;

private:
    CMessageSink& m_next;
};

} // namespace

COtherInstallation::SResult COtherInstallation::Load(const std::string& folder,
                                                     uint32_t gameLanguage, CGameDatabase& db,
                                                     CMessageSink& sink) {
    std::error_code ec;
    const std::filesystem::path path = Utf8Path(folder);
    if (folder.empty() || !std::filesystem::is_directory(path, ec))
        return {EError::NoFolder, folder, {}};
    const CGameInstallation installation(path, gameLanguage);
    const auto dbPath = installation.DatabasePath();
    if (!dbPath)
        return {EError::NoDatabase, folder, {}};
    SResult result{EError::None, {}, Utf8Text(*dbPath)};
    const auto texts = installation.TextDatabasePath();
    CLastReport reports(sink);
    if (!db.LoadGameDatabase(result.dbPath, texts ? Utf8Text(*texts) : std::string(), reports)) {
        result.error = EError::Unreadable;
        result.detail = reports.text;
    }
    return result;
}
