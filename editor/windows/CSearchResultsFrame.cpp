#include "CSearchResultsFrame.h"

#include "editor/document/SChange.h"

#include "editor/toolkit/CRowsSizeHint.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CSearchResultsModel.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>

CSearchResultsFrame::CSearchResultsFrame(const CFindSettings& settings, CFrameHost& host,
                                         QWidget* parent)
    : CChildFrame(Kind::SearchResults, host, parent), m_settings(settings) {
    m_model = new CSearchResultsModel(host, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("SearchResults"));
    m_list->setAccessibleName(host.Text("Caption_Find"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetContent(m_list);
    connect(m_list, &QAbstractItemView::activated, this, &CSearchResultsFrame::Open);
}

void CSearchResultsFrame::Fill() {
    m_model->Search(m_settings);
    if (m_model->rowCount() > 0) {
        m_list->setCurrentIndex(m_model->index(0, 0));
    }
}

void CSearchResultsFrame::DocumentChanged(const SChange& change) {
    // The results are names: a new search when names come, change or go.
    if (change.Has(SChange::Names) || change.Has(SChange::Records)) {
        Fill();
    }
}

void CSearchResultsFrame::resizeEvent(QResizeEvent* event) {
    CChildFrame::resizeEvent(event);
    const int usable = m_list->width() - m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2;
    m_list->header()->resizeSection(CSearchResultsModel::NameColumn, std::max(80, usable * 48 / 64));
}

QSize CSearchResultsFrame::sizeHint() const {
    // The name column gets three quarters of the width (resizeEvent): room there for a long name.
    constexpr int kNameChars = 32;
    QSize hint = CRowsSizeHint::Of(*m_list, 16);
    const int name = m_list->fontMetrics().horizontalAdvance(QString(kNameChars, u'n'));
    hint.setWidth(std::max(hint.width(), name * 64 / 48));
    return hint;
}

void CSearchResultsFrame::Open(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    const int value = index.data(CSearchResultsModel::kItemValueRole).toInt();
    const int kind = value / CSearchResultsModel::kKindFactor;
    const int id = value - kind * CSearchResultsModel::kKindFactor;
    // A record deleted since the search opens nothing.
    switch (static_cast<CSearchResultsModel::EKind>(kind)) {
    case CSearchResultsModel::EKind::League:
        Host().OpenLeague(id);
        break;
    case CSearchResultsModel::EKind::Team:
        Host().OpenTeam(id);
        break;
    case CSearchResultsModel::EKind::Player:
        Host().OpenPlayer(id);
        break;
    }
}
