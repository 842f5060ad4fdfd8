#pragma once

#include "editor/windows/CFindSettings.h"

#include <QDialog>

class CLocalisationTable;
class QCheckBox;
class QLineEdit;

// Asks for a search text and the kinds of record to look in. OK is refused with a message while
// the text is empty or no kind is ticked.
class CFindDialog : public QDialog {
    Q_OBJECT
public:
    CFindDialog(const CLocalisationTable& texts, const CFindSettings& settings,
                QWidget* parent = nullptr);

    CFindSettings Settings() const;

    void accept() override;

private:
    const CLocalisationTable& m_texts;
    QLineEdit* m_text = nullptr;
    QCheckBox* m_leagues = nullptr;
    QCheckBox* m_teams = nullptr;
    QCheckBox* m_players = nullptr;
};
