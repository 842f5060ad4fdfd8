#include "COtherInstallation.h"

#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"

#include <filesystem>

namespace {

// Keeps the first failure the loader reports.
class CFirstFailure : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        if (text.empty())
            text = detail.empty() ? key : detail;
    }
    std::string text;
};

} // namespace

bool COtherInstallation::Load(const std::string& folder, uint32_t gameLanguage,
                              CGameDatabase& db, std::string& error) {
    std::error_code ec;
    const std::filesystem::path path = Utf8Path(folder);
    if (folder.empty() || !std::filesystem::is_directory(path, ec)) {
        error = "'" + folder + "' is no folder";
        return false;
    }
    const CGameInstallation installation(path, gameLanguage);
    const auto dbPath = installation.DatabasePath();
    if (!dbPath) {
        error = "no " + std::string(CGameInstallation::kDatabaseRelativePath) + " in " + folder;
        return false;
    }
    const auto texts = installation.TextDatabasePath();
    CFirstFailure sink;
    if (!db.LoadGameDatabase(Utf8Text(*dbPath), texts ? Utf8Text(*texts) : std::string(), sink)) {
        error = Utf8Text(*dbPath) + ": " + (sink.text.empty() ? "cannot be read" : sink.text);
        return false;
    }
    return true;
}
