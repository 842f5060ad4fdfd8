#pragma once

#include <QDialog>
#include <QString>

class CBaseChoice;
class CFrameHost;
class QLineEdit;
class QPushButton;

// File › Export Changes As Patch: what the patch starts from (the original database, by
// default, or another installation's) and the description kept in the patch.
class CExportPatchDialog : public QDialog {
    Q_OBJECT
public:
    CExportPatchDialog(CFrameHost& host, QWidget* parent);

    // Empty for the original database.
    QString BaseFolder() const;
    QString Description() const;

    CBaseChoice* BaseChoice() const { return m_base; }
    QLineEdit* DescriptionEdit() const { return m_description; }
    QPushButton* OkButton() const { return m_ok; }

private:
    CBaseChoice* m_base = nullptr;
    QLineEdit* m_description = nullptr;
    QPushButton* m_ok = nullptr;
};
