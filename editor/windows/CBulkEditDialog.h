#pragma once

#include "editor/model/CBulkChange.h"

#include <QDialog>

#include <vector>

class CFrameHost;
class CGameDatabase;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// Edit Selected: sets, adds to, subtracts from or multiplies one or more fields of the chosen
// players, with a preview of how many values change and how many are clamped to their range.
class CBulkEditDialog : public QDialog {
    Q_OBJECT
public:
    CBulkEditDialog(CFrameHost& host, std::vector<int32_t> playerIds, QWidget* parent = nullptr);

    // What OK applies (empty until the changes are valid).
    const SBulkPlan& Plan() const { return m_plan; }
    // The change texts as the language writes them ("pace+=5").
    QStringList ChangeTexts() const;
    // The same as users read them ("Pace += 5"), for the history.
    QStringList ShownChangeTexts() const;

    // One row of the form, for tests and the accessibility tree.
    struct SRow {
        QComboBox* field;
        QComboBox* operation;
        QLineEdit* value;
        QPushButton* remove;
    };
    const std::vector<SRow>& Rows() const { return m_rows; }
    QPushButton* AddButton() const { return m_add; }
    QLabel* Preview() const { return m_preview; }
    void AddRow();

private:
    void RemoveRow(QPushButton* button);
    void UpdatePreview();
    // What is wrong with a row's value, in words.
    QString ProblemText(const SQueryError& error, int operation) const;

    CFrameHost& m_host;
    CGameDatabase& m_database;
    std::vector<int32_t> m_ids;
    std::vector<SRow> m_rows;
    QGridLayout* m_grid = nullptr;
    QPushButton* m_add = nullptr;
    QLabel* m_preview = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    SBulkPlan m_plan;
};
