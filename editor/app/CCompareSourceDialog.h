#pragma once

#include <QDialog>
#include <QString>

class CFrameHost;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Asks what the loaded database is compared with: another installation's folder, or the
// original backup (the first backup of the game database, as it was before any edit).
class CCompareSourceDialog : public QDialog {
    Q_OBJECT
public:
    CCompareSourceDialog(CFrameHost& host, const QString& folder, QWidget* parent = nullptr);

    bool Original() const;
    // The installation's folder as typed or chosen (empty for the original backup).
    QString Folder() const;

    QRadioButton* InstallationChoice() const { return m_installation; }
    QRadioButton* OriginalChoice() const { return m_original; }
    QLineEdit* FolderBox() const { return m_folder; }

private:
    void Browse();
    void UpdateButtons();

    CFrameHost& m_host;
    QRadioButton* m_installation = nullptr;
    QRadioButton* m_original = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
