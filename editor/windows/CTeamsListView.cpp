#include "CTeamsListView.h"

#include "editor/document/SChange.h"
#include "editor/toolkit/CCountText.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayerDrag.h"
#include "editor/windows/CTeamDrag.h"
#include "editor/windows/CTeamsListModel.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QTimer>

CTeamsListView::CTeamsListView(CFrameHost& host, QWidget* parent)
    : CDragDropView(new CTeamsListModel(host), parent), m_host(host) {
    setObjectName(QStringLiteral("TeamsList"));
    setAccessibleName(host.Text("Caption_Teams"));
    m_model = static_cast<CTeamsListModel*>(Proxy()->sourceModel());
    Proxy()->setSortRole(CTeamsListModel::kSortRole);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(24, 24));
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    sortByColumn(CTeamsListModel::TeamColumn, Qt::AscendingOrder);
    connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            m_host.OpenTeam(index.data(CTeamsListModel::kTeamIdRole).toInt());
        }
    });
}

void CTeamsListView::Show(int32_t leagueId) {
    const QModelIndex current = currentIndex();
    const int32_t keep =
        current.isValid() ? current.data(CTeamsListModel::kTeamIdRole).toInt() : -1;
    m_model->Show(leagueId);
    if (const int row = m_model->RowOf(keep); row >= 0) {
        setCurrentIndex(Proxy()->mapFromSource(m_model->index(row, 0)));
    }
}

void CTeamsListView::DocumentChanged(const SChange& change) {
    if (change.Reloaded()) {
        Show(LeagueId());
    } else {
        m_model->DocumentChanged(change);
    }
}

int32_t CTeamsListView::LeagueId() const {
    return m_model->LeagueId();
}

void CTeamsListView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    // The team names take what the player count leaves.
    const QString heading =
        m_model->headerData(CTeamsListModel::PlayerCountColumn, Qt::Horizontal).toString();
    const int narrow = std::max(fontMetrics().horizontalAdvance(heading),
                                fontMetrics().horizontalAdvance(QStringLiteral("0000"))) +
                       24;
    header()->resizeSection(CTeamsListModel::PlayerCountColumn, narrow);
    header()->resizeSection(CTeamsListModel::TeamColumn,
                            std::max(120, viewport()->width() - narrow));
}

Qt::DropAction CTeamsListView::ActionFor(const QMimeData* data, Qt::KeyboardModifiers modifiers) {
    const std::optional<CPlayerDrag> drag = CPlayerDrag::From(data);
    if (!drag) {
        return Qt::IgnoreAction;
    }
    return !drag->sourceTeamId || modifiers.testFlag(Qt::ControlModifier) ? Qt::CopyAction
                                                                          : Qt::MoveAction;
}

void CTeamsListView::SetDropRow(int row) {
    if (row != m_dropRow) {
        m_dropRow = row;
        viewport()->update();
    }
}

bool CTeamsListView::TakeTeamDrag(QDropEvent* event) {
    const std::optional<CTeamDrag> team = CTeamDrag::From(event->mimeData());
    if (!team) {
        return false;
    }
    // A team of another installation joins this league wherever it is dropped on the list.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (event->type() == QEvent::Drop) {
        // After the drag has ended: the copy may ask or warn.
        QTimer::singleShot(0, this, [this, drop = *team, league = LeagueId()] {
            m_host.CopyTeamFrom(drop.folder, drop.teamId, league);
        });
    }
    return true;
}

void CTeamsListView::dragEnterEvent(QDragEnterEvent* event) {
    if (TakeTeamDrag(event)) {
        return;
    }
    const Qt::DropAction action = ActionFor(event->mimeData(), event->modifiers());
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

void CTeamsListView::dragMoveEvent(QDragMoveEvent* event) {
    if (TakeTeamDrag(event)) {
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    const Qt::DropAction action = ActionFor(event->mimeData(), event->modifiers());
    if (!index.isValid() || action == Qt::IgnoreAction) {
        // No team under the pointer: no drop here, and the pointer says so.
        SetDropRow(-1);
        event->ignore();
        return;
    }
    SetDropRow(index.row());
    // Ctrl pressed or released on the way changes the pointer at once.
    event->setDropAction(action);
    event->accept(visualRect(index));
}

void CTeamsListView::dragLeaveEvent(QDragLeaveEvent* event) {
    SetDropRow(-1);
    event->accept();
}

void CTeamsListView::dropEvent(QDropEvent* event) {
    SetDropRow(-1);
    if (TakeTeamDrag(event)) {
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    const Qt::DropAction action = ActionFor(event->mimeData(), event->modifiers());
    const std::optional<CPlayerDrag> drag = CPlayerDrag::From(event->mimeData());
    if (!index.isValid() || !drag) {
        event->ignore();
        return;
    }
    const int32_t team = index.data(CTeamsListModel::kTeamIdRole).toInt();
    const CTeamsListModel::SDropResult result =
        m_model->DropPlayers(*drag, team, action == Qt::CopyAction);
    if (result.refused > 0) {
        WarnRefused(result.refused, static_cast<int>(drag->playerIds.size()));
    }
    if (result.taken.empty()) {
        event->ignore();
        return;
    }
    // The source list is refreshed from the database, never by Qt removing its rows.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CTeamsListView::WarnRefused(int refused, int dragged) {
    const QString text =
        dragged == 1 ? m_host.Text("Message_TeamCannotTakePlayer")
                     : CCountText::Of(m_host.Lookup(), "Message_TeamCannotTakePlayers", refused);
    // After the drag has ended: a message box inside it would hold the pointer.
    QTimer::singleShot(0, this, [this, text] { m_host.Warn(this, text); });
}

void CTeamsListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (index.row() != m_dropRow) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    QStyleOptionViewItem highlighted = option;
    highlighted.state |= QStyle::State_Selected;
    QTreeView::drawRow(painter, highlighted, index);
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Highlight).darker(130), 2));
    painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    painter->restore();
}
