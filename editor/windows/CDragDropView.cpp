#include "CDragDropView.h"

#include "editor/toolkit/CRowsSizeHint.h"
#include "editor/windows/CChildFrame.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>

CDragDropView::CDragDropView(QAbstractItemModel* source, QWidget* parent) : QTreeView(parent) {
    // Drops, cuts and pastes here are steps of the document's history.
    setProperty(CChildFrame::kDocumentHistoryProperty, true);
    source->setParent(this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(source);
    m_proxy->setSortLocaleAware(true);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    setModel(m_proxy);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(true);
    header()->setStretchLastSection(false);
}

void CDragDropView::SetShownRows(int rows) {
    m_shownRows = rows;
    updateGeometry();
}

QSize CDragDropView::sizeHint() const {
    return CRowsSizeHint::Of(*this, m_shownRows);
}
