#pragma once

#include "editor/windows/CChildFrame.h"
#include "editor/windows/CCompareModel.h"

#include <QString>

#include <memory>
#include <set>

class CGameDatabase;
class QLabel;
class QLineEdit;
class QModelIndex;
class QSortFilterProxyModel;
class QTreeView;

// Child window listing how the loaded database (as edited so far) differs from another one:
// kind › record › field with the value there (Old) and here (New), filtered by any text shown.
// A double click on a record or field opens that record's window; team rows of another
// installation can be dragged onto this database's leagues to copy the team.
class CCompareFrame : public CChildFrame {
    Q_OBJECT
public:
    // folder: the other installation (teams can be dragged from it); empty for the original
    // backup. source: how the window names the other side.
    CCompareFrame(std::shared_ptr<const CGameDatabase> other, const QString& folder,
                  const QString& source, CFrameHost& host, QWidget* parent = nullptr);
    ~CCompareFrame() override;

    const QString& Folder() const { return m_folder; }
    std::shared_ptr<const CGameDatabase> Other() const { return m_other; }
    QTreeView* Tree() const { return m_tree; }
    QLineEdit* Filter() const { return m_filter; }
    CCompareModel* Model() const { return m_model; }
    QSortFilterProxyModel* Proxy() const { return m_proxy; }

    // Compares again, every record.
    void Fill() override;
    // Changes of the loaded database: once a burst of them is over, the records they name are
    // compared again and only their rows change (everything again after a reload).
    bool TakesNewPlayers() const override { return false; }
    void DocumentChanged(const SChange& change) override;
    bool FindInWindow() override;

private:
    void Open(const QModelIndex& index);
    QString RecordLabel(int kind, int32_t id, int32_t sub) const;
    CCompareModel::SLabels Labels() const;
    // Compares the records the changes since the last comparison named.
    void UpdateNamed();
    void ShowSummary();
    // Rows that come in are expanded as Fill expands them.
    void ExpandNewRows(const QModelIndex& parent, int first, int last);

    std::shared_ptr<const CGameDatabase> m_other;
    QString m_folder;
    QString m_source;
    CCompareModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QTreeView* m_tree = nullptr;
    QLineEdit* m_filter = nullptr;
    QLabel* m_summary = nullptr;
    bool m_refreshQueued = false;
    // While UpdateNamed runs; records that come in then show their fields when m_expandRecords.
    bool m_updating = false;
    bool m_expandRecords = false;
    // What the queued refresh compares: everything, or the records named since the last one.
    bool m_compareAll = false;
    std::set<int32_t> m_players;
    std::set<int32_t> m_teams;
    std::set<int32_t> m_leagues;
    std::set<int32_t> m_renamedPlayers;
};
