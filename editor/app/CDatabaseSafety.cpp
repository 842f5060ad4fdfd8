#include "CDatabaseSafety.h"

#include "CFindingsWindow.h"
#include "CKestrelApp.h"
#include "CMainFrame.h"
#include "CRestoreBackupDialog.h"
#include "editor/dialogs/CUserPrompts.h"

#include "editor/assets/CPictureRequests.h"
#include "editor/assets/InstallPath.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "editor/dialogs/CWaitCursor.h"
#include "editor/document/CBackupWarnings.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"
#include "editor/toolkit/CCountText.h"
#include "wren_utils/archive/BigArchiveUpdate.h"

#include <QInputDialog>

#include <algorithm>
#include <QSettings>

namespace {

std::string FileName(const QString& path) {
    const std::u8string name = Utf8Path(path.toStdString()).filename().u8string();
    return std::string(name.begin(), name.end());
}

} // namespace

CDatabaseSafety::CDatabaseSafety(CMainFrame& frame) : QObject(&frame), m_frame(frame) {}

bool CDatabaseSafety::CheckBeforeSave() {
    const CGameDatabase* db = m_frame.Database();
    if (!db)
        return true;
    std::vector<SCheckFinding> findings = CDatabaseCheck::Run(*db, nullptr);
    const auto errors = std::count_if(findings.begin(), findings.end(), [](const auto& f) {
        return f.severity == SCheckFinding::ESeverity::Error;
    });
    if (errors == 0)
        return true;
    switch (CUserPrompts::AskSaveAnyway(
        &m_frame, CCountText::Of(m_frame.Lookup(), "Message_SaveWithErrors", errors),
        m_frame.Text("Caption_SaveAnyway"), m_frame.Text("Caption_ShowProblems"),
        m_frame.Text("Caption_Cancel"))) {
    case CUserPrompts::Answer::Save:
        return true;
    case CUserPrompts::Answer::ShowProblems:
        ShowFindings(std::move(findings));
        return false;
    default:
        return false;
    }
}

void CDatabaseSafety::CheckDatabase() {
    const CGameDatabase* db = m_frame.Database();
    if (!db) {
        CUserPrompts::Warn(&m_frame, m_frame.Text("Message_NoDatabase"));
        return;
    }
    // The names are checked against the texts they were loaded from.
    const QString textsPath = m_frame.Document().TextDbPath();
    CIngameTextDb texts(textsPath.toStdString());
    CIgnoringSink sink;
    const bool haveTexts = !textsPath.isEmpty() && texts.ReadIngameTextDb(sink);
    ShowFindings(CDatabaseCheck::Run(*db, haveTexts ? &texts : nullptr));
}

CFindingsWindow* CDatabaseSafety::FindingsWindow() const {
    return m_findings.data();
}

void CDatabaseSafety::ShowFindings(std::vector<SCheckFinding> findings) {
    if (!m_findings)
        m_findings = new CFindingsWindow(m_frame, &m_frame);
    m_findings->SetFindings(std::move(findings));
    m_findings->show();
    m_findings->raise();
    m_findings->activateWindow();
}

std::filesystem::path CDatabaseSafety::BackupFolder() const {
    return CBackupStore::FolderFor(
        Utf8Path(m_frame.Document().FilePath().toStdString()));
}

void CDatabaseSafety::RestoreBackup() {
    CGameDatabase* db = m_frame.Database();
    if (!db) {
        CUserPrompts::Warn(&m_frame, m_frame.Text("Message_NoDatabase"));
        return;
    }
    const QString dbPath = m_frame.Document().FilePath();
    const QString textsPath = m_frame.Document().TextDbPath();
    // From the listing of the backups to the restore's own copies.
    const CBackupWarnings warnings;
    CRestoreBackupDialog dialog(m_frame, BackupFolder(), textsPath.toStdString(), &m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<SBackupInfo> chosen = dialog.Chosen();
    if (!chosen)
        return;
    // An archive holds pictures only: the database and its unsaved changes stay as they are.
    if (CBackupStore::IsArchive(chosen->file)) {
        RestoreArchive(*chosen, warnings);
        return;
    }
    if (m_frame.Document().IsModified()) {
        switch (CUserPrompts::AskSaveDiscardCancel(&m_frame, m_frame.Text("Message_SaveChanges"))) {
        case CUserPrompts::Answer::Save:
            if (!m_frame.SaveDatabase())
                return;
            break;
        case CUserPrompts::Answer::Discard:
            break;
        default:
            return;
        }
    }
    const bool texts = chosen->file == FileName(textsPath) && !textsPath.isEmpty();
    const QString target = texts ? textsPath : dbPath;
    std::string before;
    // The copy must read as the kind of file it replaces.
    if (!RestoreFile(*chosen, Utf8Path(target.toStdString()),
                     texts ? &CBackupStore::ReadsAsTextDatabase
                           : &CBackupStore::ReadsAsGameDatabase,
                     warnings, before))
        return;
    m_frame.ReloadDatabase();
    CUserPrompts::Inform(
        &m_frame,
        warnings.AppendTo(m_frame.Text("Message_Restored").arg(QString::fromStdString(before)),
                          m_frame.Text("Message_BackupWarnings")));
}

void CDatabaseSafety::RestoreArchive(const SBackupInfo& backup, const CBackupWarnings& warnings) {
    // Where picture imports write: data/FILE of the installation the pictures come from.
    const CPictureRequests* pictures = m_frame.Pictures();
    const std::filesystem::path dbPath =
        Utf8Path(m_frame.Document().FilePath().toStdString());
    const std::filesystem::path target =
        pictures ? std::filesystem::path(Utf8Path(
                       ResolveInstallPath(pictures->InstallFolder(),
                                          QStringLiteral("data/") + QString::fromStdString(backup.file))
                           .toStdString()))
                 : CGameInstallation::FindPath(dbPath.parent_path().parent_path(), backup.file)
                       .value_or(dbPath.parent_path().parent_path() / Utf8Path(backup.file));
    std::string before;
    const auto readsAsArchive = [](const std::filesystem::path& copy, std::string& reason) {
        const std::u8string path = copy.u8string();
        return wren::BIG_readdirectory(std::string(path.begin(), path.end()), reason).has_value();
    };
    if (!RestoreFile(backup, target, readsAsArchive, warnings, before))
        return;
    m_frame.Document().NotifyChanged(SChange::AllPictures());
    CUserPrompts::Inform(&m_frame, warnings.AppendTo(m_frame.Text("Message_ArchiveRestored")
                                                         .arg(QString::fromStdString(backup.file),
                                                              QString::fromStdString(before)),
                                                     m_frame.Text("Message_BackupWarnings")));
}

bool CDatabaseSafety::RestoreFile(const SBackupInfo& backup, const std::filesystem::path& target,
                                  const CBackupStore::KindCheck& check,
                                  const CBackupWarnings& warnings, std::string& before) {
    const CBackupStore store(BackupFolder());
    std::string error;
    bool restored = false;
    {
        CWaitCursor wait;
        restored = store.Restore(backup, target, BackupCount(), before, error, check);
    }
    if (!restored) {
        CUserPrompts::Warn(&m_frame, warnings.AppendTo(m_frame.Text("Error_Restore") +
                                                           QStringLiteral("\n\n") +
                                                           QString::fromStdString(error),
                                                       m_frame.Text("Message_BackupWarnings")));
        return false;
    }
    if (before.empty()) {
        // The file as it was already had an identical newest backup.
        for (const SBackupInfo& info : store.List(backup.file))
            if (info.name != backup.name) {
                before = info.name;
                break;
            }
    }
    return true;
}

int CDatabaseSafety::BackupCount() const {
    const auto settings = CKestrelApp::EditorSettings();
    const int count =
        settings->value(kBackupCountSetting, CGameDatabase::SBackupSettings().keep).toInt();
    return std::clamp(count, 0, CBackupStore::kMaxKeep);
}

void CDatabaseSafety::ApplyBackupSetting() {
    if (CGameDatabase* db = m_frame.Database())
        db->SetBackupSettings({true, BackupCount()});
}

bool CDatabaseSafety::BackUpTextFile(const QString& path, QWidget* parent) {
    // The game language's texts are backed up with the database, where Restore Backup puts them
    // back; any other text file beside itself, so no restore mistakes it for either of those.
    const bool withDatabase = m_frame.Database() && m_frame.IsGameTextDb(path);
    const std::filesystem::path file = Utf8Path(path.toStdString());
    const CBackupStore store(withDatabase ? BackupFolder() : CBackupStore::FolderFor(file));
    std::string made, error;
    const CBackupWarnings warnings;
    if (store.Backup(file, BackupCount(), made, error)) {
        // The copy was made; what the store skipped or mended is still the user's to know.
        if (!warnings.Texts().isEmpty())
            CUserPrompts::Warn(parent, m_frame.Text("Message_BackupWarnings") + u'\n' +
                                           warnings.Texts().join(u'\n'));
        return true;
    }
    CUserPrompts::Warn(parent,
                       warnings.AppendTo(m_frame.Text("Error_Backup") + QStringLiteral("\n\n") +
                                             QString::fromStdString(error),
                                         m_frame.Text("Message_BackupWarnings")));
    return false;
}

void CDatabaseSafety::ChooseBackupCount() {
    bool ok = false;
    const int count = QInputDialog::getInt(
        &m_frame, m_frame.Text("Caption_BackupCount"), m_frame.Text("Caption_BackupCount"),
        BackupCount(), 0, CBackupStore::kMaxKeep, 1, &ok);
    if (!ok)
        return;
    CKestrelApp::EditorSettings()->setValue(kBackupCountSetting, count);
    ApplyBackupSetting();
}
