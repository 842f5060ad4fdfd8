#include "CPlayersListView.h"

#include "editor/document/SChange.h"
#include "editor/localisation/LocalisationText.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CNameSearch.h"
#include "editor/toolkit/CMenuGrid.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayerDrag.h"
#include "editor/windows/CPlayersListModel.h"
#include "editor/windows/CSquadEdits.h"
#include "editor/windows/CTeamSelectDialog.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QWidgetAction>

namespace {

constexpr int kJerseyNumbers = 100;
constexpr int kJerseyRows = 20;

QString MenuText(const CFrameHost& host, const char* key) {
    return QString::fromStdString(LocalisationText::ApplyTabRule(host.Text(key).toStdString()));
}

} // namespace

CPlayersListView::CPlayersListView(CFrameHost& host, QWidget* parent)
    : CDragDropView(new CPlayersListModel(host), parent), m_host(host) {
    setObjectName(QStringLiteral("PlayersList"));
    setAccessibleName(host.Text("Caption_Players"));
    m_model = static_cast<CPlayersListModel*>(Proxy()->sourceModel());
    Proxy()->setSortRole(CPlayersListModel::kSortRole);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    sortByColumn(CPlayersListModel::PositionColumn, Qt::AscendingOrder);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QAbstractItemView::activated, this, &CPlayersListView::OpenPlayer);
}

void CPlayersListView::Show(int32_t teamId) {
    const int32_t keep = CurrentPlayerId();
    m_model->Show(teamId);
    ResizeColumns();
    if (keep >= 0) {
        SelectPlayer(keep);
    }
}

void CPlayersListView::DocumentChanged(const SChange& change) {
    if (change.Reloaded()) {
        Show(TeamId());
    } else {
        m_model->DocumentChanged(change);
    }
}

int32_t CPlayersListView::TeamId() const {
    return m_model->TeamId();
}

int32_t CPlayersListView::CurrentPlayerId() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.data(CPlayersListModel::kPlayerIdRole).toInt() : -1;
}

QList<int32_t> CPlayersListView::SelectedPlayerIds() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<int32_t> ids;
    for (const QModelIndex& row : rows) {
        ids.append(row.data(CPlayersListModel::kPlayerIdRole).toInt());
    }
    return ids;
}

std::vector<int32_t> CPlayersListView::PlayersInShownOrder() const {
    std::vector<int32_t> ids;
    ids.reserve(Proxy()->rowCount());
    for (int row = 0; row < Proxy()->rowCount(); ++row) {
        ids.push_back(Proxy()->index(row, 0).data(CPlayersListModel::kPlayerIdRole).toInt());
    }
    return ids;
}

void CPlayersListView::SelectPlayer(int32_t playerId) {
    const int row = m_model->RowOf(playerId);
    if (row < 0) {
        return;
    }
    const QModelIndex index = Proxy()->mapFromSource(m_model->index(row, 0));
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                        QItemSelectionModel::Rows);
    scrollTo(index);
}

void CPlayersListView::OpenPlayer(const QModelIndex& index) {
    if (index.isValid()) {
        m_host.OpenPlayer(index.data(CPlayersListModel::kPlayerIdRole).toInt());
    }
}

void CPlayersListView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    ResizeColumns();
}

void CPlayersListView::ResizeColumns() {
    // The usable width leaves room for a vertical scroll bar, shown or not, so the columns do
    // not jump when one appears. Name, number and position name share it 36:8:20.
    const int usable = std::max(64, viewport()->width() + (verticalScrollBar()->isVisible()
                                                               ? verticalScrollBar()->width()
                                                               : 0) -
                                        style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2);
    const int name = usable * 36 / 64;
    const int number = usable * 8 / 64;
    header()->resizeSection(CPlayersListModel::NameColumn, name);
    header()->resizeSection(CPlayersListModel::NumberColumn, number);
    header()->resizeSection(CPlayersListModel::PositionColumn, usable - name - number);
}

bool CPlayersListView::CanPaste() const {
    return CSquadEdits(m_host).CanPaste();
}

bool CPlayersListView::CanDeletePlayers() const {
    const CGameDatabase* db = m_host.Database();
    const QList<int32_t> ids = SelectedPlayerIds();
    return db && m_model->ShowsPlayersWithoutTeam() &&
           db->CanDeletePlayers(std::vector<int32_t>(ids.begin(), ids.end()));
}

void CPlayersListView::DeletePlayers() {
    if (m_model->ShowsPlayersWithoutTeam() && !SelectedPlayerIds().isEmpty()) {
        // The main window refreshes this list with every other one that shows them.
        m_host.DeletePlayers(SelectedPlayerIds());
    }
}

void CPlayersListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Delete) && m_model->ShowsPlayersWithoutTeam()) {
        DeletePlayers();
        event->accept();
        return;
    }
    CDragDropView::keyPressEvent(event);
}

void CPlayersListView::AfterChange(int32_t selectPlayerId) {
    // The document's change has refreshed the list; the player concerned stays selected.
    if (selectPlayerId >= 0) {
        SelectPlayer(selectPlayerId);
    }
    m_host.EditStateChanged();
}

std::vector<int32_t> CPlayersListView::ChosenPlayers() const {
    const QList<int32_t> selected = SelectedPlayerIds();
    if (!selected.isEmpty()) {
        return {selected.begin(), selected.end()};
    }
    const int32_t current = CurrentPlayerId();
    return current >= 0 ? std::vector<int32_t>{current} : std::vector<int32_t>();
}

void CPlayersListView::cut() {
    const std::vector<int32_t> players = ChosenPlayers();
    if (players.empty()) {
        return;
    }
    CSquadEdits(m_host).Cut(players, TeamId());
    AfterChange();
}

void CPlayersListView::copy() {
    const std::vector<int32_t> players = ChosenPlayers();
    if (!players.empty()) {
        CSquadEdits(m_host).Copy(players);
        m_host.EditStateChanged();
    }
}

void CPlayersListView::paste() {
    const std::vector<int32_t> pasted = CSquadEdits(m_host).Paste(TeamId());
    if (!pasted.empty()) {
        AfterChange(pasted.front());
    }
}

void CPlayersListView::NewPlayer() {
    const int32_t id =
        CSquadEdits(m_host).NewPlayer(m_model->ShowsPlayersWithoutTeam() ? -1 : TeamId());
    if (id >= 0) {
        AfterChange(id);
    }
}

void CPlayersListView::MoveToTeam() {
    SendToChosenTeam(false);
}

void CPlayersListView::AssignToTeam() {
    SendToChosenTeam(true);
}

void CPlayersListView::SendToChosenTeam(bool keepInThisTeam) {
    const CGameDatabase* db = m_host.Database();
    const int32_t player = CurrentPlayerId();
    if (!db || player < 0) {
        return;
    }
    const std::optional<int32_t> team =
        CTeamSelectDialog::ChooseTeam(m_host, "Caption_SelectTeamToAddPlayer", this);
    // Adding him again to a team he is in would only move him to its bench.
    if (!team || db->FindTeamPlayerLink(player, *team)) {
        return;
    }
    CSquadEdits edits(m_host);
    const bool took = keepInThisTeam ? edits.Assign(player, *team)
                                     : edits.Move(player, TeamId(), *team);
    if (!took) {
        m_host.Warn(this, m_host.Text("Message_TeamCannotTakePlayer"));
        return;
    }
    AfterChange(player);
}

void CPlayersListView::AssignJerseyNumber(int number) {
    const int32_t player = CurrentPlayerId();
    if (player < 0 || number < 0 || number >= kJerseyNumbers ||
        m_model->ShowsPlayersWithoutTeam()) {
        return;
    }
    CSquadEdits(m_host).SetJerseyNumber(player, TeamId(), number);
    AfterChange(player);
}

QMenu* CPlayersListView::CreateJerseyMenu(QWidget* parent) {
    const CGameDatabase* db = m_host.Database();
    const CTeam* team = m_host.FindTeam(TeamId());
    auto* menu = new QMenu(MenuText(m_host, "Menu_AssignJerseyNo"), parent);
    menu->setObjectName(QStringLiteral("JerseyMenu"));
    if (!team) {
        menu->setEnabled(false);
        return menu;
    }
    const CTeamPlayerLink* selected = team->FindLink(CurrentPlayerId());
    QList<QAction*> numbers;
    for (int n = 0; n < kJerseyNumbers; ++n) {
        QString text = QString::number(n);
        bool worn = false;
        for (const CTeamPlayerLink& link : team->Links()) {
            if (link.jerseyNumber == n && db->FindPlayer(link.playerId)) {
                text = QStringLiteral("%1 %2").arg(n).arg(QString::fromStdString(
                    CNameSearch::SearchName(*db, link.playerId)));
                worn = true;
                break;
            }
        }
        auto* action = new QAction(text, menu);
        action->setObjectName(QStringLiteral("Jersey_%1").arg(n));
        action->setCheckable(true);
        action->setChecked(selected && selected->jerseyNumber == n);
        action->setEnabled(!worn && selected);
        connect(action, &QAction::triggered, this, [this, n] { AssignJerseyNumber(n); });
        numbers.append(action);
    }
    auto* grid = new CMenuGrid(numbers, kJerseyRows, menu);
    grid->setAccessibleName(menu->title().remove(u'&'));
    auto* holder = new QWidgetAction(menu);
    holder->setDefaultWidget(grid);
    menu->addAction(holder);
    connect(grid, &CMenuGrid::Triggered, menu, [parent] {
        if (auto* top = qobject_cast<QMenu*>(parent)) {
            top->close();
        }
    });
    menu->setEnabled(selected != nullptr);
    return menu;
}

QMenu* CPlayersListView::CreateContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("PlayersListMenu"));
    menu->setAccessibleName(accessibleName());
    const bool hasDb = m_host.Database() != nullptr;
    const bool hasPlayer = CurrentPlayerId() >= 0;
    // The key is the action's shortcut, shown by the menu; in the text a screen reader would
    // read it out as part of the command's name.
    const auto add = [&](const char* key, bool enabled, void (CPlayersListView::*slot)(),
                         QKeySequence::StandardKey shortcut = QKeySequence::UnknownKey) {
        QAction* action = menu->addAction(MenuText(m_host, key).section(u'\t', 0, 0));
        action->setObjectName(QString::fromLatin1(key));
        action->setEnabled(enabled);
        // The list takes the keys itself; the menu only shows them.
        action->setShortcuts(shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("Menu_EditNew", hasDb, &CPlayersListView::NewPlayer);
    add("Menu_EditCut", hasPlayer, &CPlayersListView::cut, QKeySequence::Cut);
    add("Menu_EditCopy", hasPlayer, &CPlayersListView::copy, QKeySequence::Copy);
    add("Menu_EditPaste", CanPaste(), &CPlayersListView::paste, QKeySequence::Paste);
    add("Menu_EditMoveTo", hasPlayer, &CPlayersListView::MoveToTeam);
    add("Menu_EditAssignTo", hasPlayer, &CPlayersListView::AssignToTeam);
    menu->addSeparator();
    if (m_model->ShowsPlayersWithoutTeam()) {
        add("Menu_EditDeletePlayer", CanDeletePlayers(), &CPlayersListView::DeletePlayers,
            QKeySequence::Delete);
    } else {
        menu->addMenu(CreateJerseyMenu(menu));
    }
    return menu;
}

void CPlayersListView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(QPoint(5, 5));
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
        if (index.isValid() && !selectionModel()->isRowSelected(index.row(), {})) {
            setCurrentIndex(index);
        }
    }
    QMenu* menu = CreateContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
    event->accept();
}

QMimeData* CPlayersListView::SelectionMimeData() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return nullptr;
    }
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QModelIndexList sourceRows;
    for (const QModelIndex& row : rows) {
        sourceRows.append(Proxy()->mapToSource(row));
    }
    return m_model->mimeData(sourceRows);
}

void CPlayersListView::startDrag(Qt::DropActions) {
    // Rows are listed only from a loaded database.
    const CGameDatabase* db = m_host.Database();
    if (QMimeData* data = db ? SelectionMimeData() : nullptr) {
        CPlayerDrag::Exec(this, data, *db, SelectedPlayerIds(), Qt::MoveAction | Qt::CopyAction,
                          Qt::MoveAction);
    }
}
