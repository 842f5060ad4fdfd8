#pragma once

#include "editor/windows/CChildFrame.h"

#include <QString>

#include <memory>

class CCompareModel;
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

    // Compares again (after every change of the loaded database).
    void Fill() override;
    bool TakesNewPlayers() const override { return false; }
    void DocumentChanged(const SChange& change) override;
    bool FindInWindow() override;

private:
    void Open(const QModelIndex& index);
    QString RecordLabel(int kind, int32_t id, int32_t sub) const;

    std::shared_ptr<const CGameDatabase> m_other;
    QString m_folder;
    QString m_source;
    CCompareModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QTreeView* m_tree = nullptr;
    QLineEdit* m_filter = nullptr;
    QLabel* m_summary = nullptr;
    bool m_refreshQueued = false;
};
