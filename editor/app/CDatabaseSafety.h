#pragma once

#include "editor/model/CBackupStore.h"
#include "editor/model/SBackupInfo.h"
#include "editor/model/SCheckFinding.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <vector>

class CBackupWarnings;
class CFindingsWindow;
class CMainFrame;
class QString;
class QWidget;

// The main window's safety net: the check before a save, the findings window, restoring a
// backup and the number of backups kept.
class CDatabaseSafety : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kBackupCountSetting = "BackupCount";

    explicit CDatabaseSafety(CMainFrame& frame);

    // True when the save may go ahead: no error found, or the user chose to save anyway.
    bool CheckBeforeSave();
    // View > Check Database: every finding, names included, in the findings window.
    void CheckDatabase();
    // File > Restore Backup: chooses a backup, settles unsaved changes, restores and reloads.
    void RestoreBackup();
    // File > Backups to Keep.
    void ChooseBackupCount();
    // Gives the loaded database the stored number of backups to keep.
    void ApplyBackupSetting();
    // Copies an in-game text file into the backups before a text window writes it; false, after
    // saying why, when the copy could not be made.
    bool BackUpTextFile(const QString& path, QWidget* parent);

    // The backups folder of the loaded database and the number of copies kept.
    std::filesystem::path BackupFolder() const;
    int BackupCount() const;

    // Null until the first check shows it.
    CFindingsWindow* FindingsWindow() const;

private:
    // `warnings`: what the backup store said since the restore began, shown with its outcome.
    void RestoreArchive(const SBackupInfo& backup, const CBackupWarnings& warnings);
    // Puts the backup in target's place after `check` accepts it; false, after saying why, when
    // it could not. `before`: the backup that holds the file as it was.
    bool RestoreFile(const SBackupInfo& backup, const std::filesystem::path& target,
                     const CBackupStore::KindCheck& check, const CBackupWarnings& warnings,
                     std::string& before);
    void ShowFindings(std::vector<SCheckFinding> findings);

    CMainFrame& m_frame;
    QPointer<CFindingsWindow> m_findings;
};
