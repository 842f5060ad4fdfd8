#pragma once

#include <QDialog>
#include <QString>

class CFrameHost;
class QLineEdit;
class QPushButton;
class QRadioButton;

// File › Export Changes As Patch: what the patch starts from (the original database, by
// default, or another installation's) and the description kept in the patch.
class CExportPatchDialog : public QDialog {
    Q_OBJECT
public:
    CExportPatchDialog(CFrameHost& host, QWidget* parent);

    // Empty for the original database.
    QString BaseFolder() const;
    QString Description() const;

    QRadioButton* OriginalChoice() const { return m_original; }
    QRadioButton* FolderChoice() const { return m_other; }
    QLineEdit* FolderEdit() const { return m_folder; }
    QLineEdit* DescriptionEdit() const { return m_description; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void Browse();
    void UpdateState();

    CFrameHost& m_host;
    QRadioButton* m_original = nullptr;
    QRadioButton* m_other = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    QLineEdit* m_description = nullptr;
    QPushButton* m_ok = nullptr;
};
