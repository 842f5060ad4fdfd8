#pragma once

#include "editor/model/SBackupInfo.h"

#include <QDialog>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CFrameHost;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The backups of the loaded game, newest first, with what each holds and, for a copy of the
// game database, how it differs from the loaded one. Accepting chooses the selected backup.
class CRestoreBackupDialog : public QDialog {
    Q_OBJECT
public:
    // textsPath: the loaded names' text database, so a copy compares with the same names.
    CRestoreBackupDialog(CFrameHost& host, std::filesystem::path folder, std::string textsPath,
                         QWidget* parent = nullptr);

    std::optional<SBackupInfo> Chosen() const;
    QTableView* View() { return m_view; }
    QLabel* Differences() { return m_differences; }

private:
    void ShowDifferences();

    CFrameHost& m_host;
    std::filesystem::path m_folder;
    std::string m_textsPath;
    std::vector<SBackupInfo> m_backups;
    QStandardItemModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_differences = nullptr;
    QPushButton* m_restore = nullptr;
};
