#include "CPlayersTableView.h"

#include "editor/toolkit/CRowsSizeHint.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CPlayerDrag.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>

#include <algorithm>

CPlayersTableView::CPlayersTableView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    // Rows of one height are laid out without asking every row for its size.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setStretchLastSection(true);
}

std::vector<int> CPlayersTableView::SelectedRows() const {
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CPlayersTableView::copy() {
    auto* players = qobject_cast<CAllPlayersModel*>(model());
    const std::vector<int> rows = SelectedRows();
    if (!players || rows.empty())
        return;
    QApplication::clipboard()->setText(players->TabSeparated(rows));
}

void CPlayersTableView::startDrag(Qt::DropActions) {
    auto* players = qobject_cast<CAllPlayersModel*>(model());
    const std::vector<int> rows = SelectedRows();
    if (!players || rows.empty())
        return;
    QModelIndexList indexes;
    QList<int32_t> ids;
    for (int row : rows) {
        indexes.append(players->index(row, 0));
        ids.append(players->PlayerAt(row));
    }
    CPlayerDrag::Exec(this, players->mimeData(indexes), players->Database(), ids, Qt::CopyAction,
                      Qt::CopyAction);
}

QSize CPlayersTableView::sizeHint() const {
    return CRowsSizeHint::Of(*this, 20);
}
