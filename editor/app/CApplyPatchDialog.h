#pragma once

#include "editor/model/CPatchApply.h"

#include <QDialog>

#include <set>
#include <string>
#include <vector>

class CFrameHost;
class CGameDatabase;
class CPatch;
class QComboBox;
class QPushButton;
class QTableWidget;

// File › Apply Patch: what the patch will change here (kind, record, field, current and new
// value) and every conflict (base, ours, theirs), each kept as ours or taken as theirs.
class CApplyPatchDialog : public QDialog {
    Q_OBJECT
public:
    enum EChoice { Ours = 0, Theirs = 1 };

    // preview: a dry run of the patch on db, its conflicts kept as ours.
    CApplyPatchDialog(CFrameHost& host, const CPatch& patch, const CPatchApply::SResult& preview,
                      const CGameDatabase& db, QWidget* parent);

    // The conflicts that take the patch's value, by CPatchApply::SConflict::Key().
    std::set<std::string> TakenAsTheirs() const;

    QTableWidget* ChangesTable() const { return m_changes; }
    QTableWidget* ConflictsTable() const { return m_conflicts; }
    // The choice of the conflict in that row of the conflicts table.
    QComboBox* Choice(int row) const { return m_choices.at(static_cast<size_t>(row)); }
    QPushButton* AllOursButton() const { return m_allOurs; }
    QPushButton* AllTheirsButton() const { return m_allTheirs; }
    QPushButton* ApplyButton() const { return m_apply; }

private:
    QTableWidget* MakeTable(const char* name, const QStringList& headers);
    QString KindText(ERecordKind kind) const;
    QString RecordText(ERecordKind kind, int32_t id, int32_t sub) const;
    QString FieldText(ERecordKind kind, const std::string& field) const;
    void SetAll(EChoice choice);

    CFrameHost& m_host;
    const CGameDatabase& m_db;
    QTableWidget* m_changes = nullptr;
    QTableWidget* m_conflicts = nullptr;
    std::vector<QComboBox*> m_choices;
    std::vector<std::string> m_keys;
    QPushButton* m_allOurs = nullptr;
    QPushButton* m_allTheirs = nullptr;
    QPushButton* m_apply = nullptr;
};
