#pragma once

#include <QDialog>
#include <QString>

class CBaseChoice;
class CFrameHost;
class QDialogButtonBox;

// Asks what the loaded database is compared with: another installation's folder, or the
// original backup (the first backup of the game database, as it was before any edit).
class CCompareSourceDialog : public QDialog {
    Q_OBJECT
public:
    CCompareSourceDialog(CFrameHost& host, const QString& folder, QWidget* parent = nullptr);

    bool Original() const;
    // The installation's folder as typed or chosen (empty for the original backup).
    QString Folder() const;

    CBaseChoice* BaseChoice() const { return m_base; }

private:
    void UpdateButtons();

    CBaseChoice* m_base = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
