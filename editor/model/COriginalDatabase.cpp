#include "COriginalDatabase.h"

#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameDatabase.h"

namespace {

class CLastSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        last = detail.empty() ? key : detail;
    }
    std::string last;
};

} // namespace

bool COriginalDatabase::Load(const std::string& dbPath, const std::string& textsPath,
                             CGameDatabase& db, std::string& loadedPath, std::string& error) {
    const std::filesystem::path path = Utf8Path(dbPath);
    const CBackupStore backups(CBackupStore::FolderFor(path));
    const auto original = backups.Original(Utf8Text(path.filename()));
    if (!original) {
        error = "there is no backup of " + dbPath +
                " yet (the first save makes one): nothing to compare with";
        return false;
    }
    if (!backups.Verify(*original, error)) {
        error = "the first backup " + original->name + " is damaged: " + error;
        return false;
    }
    std::string texts = textsPath;
    std::string textsError;
    if (!texts.empty())
        if (const auto textsOriginal = backups.Original(Utf8Text(Utf8Path(texts).filename()));
            textsOriginal && backups.Verify(*textsOriginal, textsError))
            texts = Utf8Text(backups.Folder() / Utf8Path(textsOriginal->name));
    loadedPath = Utf8Text(backups.Folder() / Utf8Path(original->name));
    CLastSink sink;
    if (!db.LoadGameDatabase(loadedPath, texts, sink)) {
        error = "cannot read " + loadedPath + (sink.last.empty() ? "" : ": " + sink.last);
        return false;
    }
    return true;
}
