#include "CWorkspaceBar.h"

#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CTeamDrag.h"

#include <QDropEvent>
#include <QEvent>
#include <QHash>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int kLeagueIdRole = Qt::UserRole + 1;

} // namespace

CWorkspaceBar::CWorkspaceBar(CDatabaseDocument& document, QWidget* parent)
    : QDockWidget(parent), m_document(document) {
    setObjectName(QStringLiteral("WorkspaceBar"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                QDockWidget::DockWidgetClosable);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("LeaguesList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Fixed English headers, as the game's tools show them.
    m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Level"),
                             QStringLiteral("No. of Teams"), QStringLiteral("No. of Players")});
    // Narrow number columns leave the bar's width to the names; the headers' full texts show
    // as tool tips.
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(24);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    const int widths[] = {0, 38, 44, 52};
    for (int c = 1; c < 4; ++c) {
        header->setSectionResizeMode(c, QHeaderView::Interactive);
        header->resizeSection(c, widths[c]);
        m_list->headerItem()->setToolTip(c, m_list->headerItem()->text(c));
        m_list->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    setWidget(m_list);
    m_list->viewport()->setAcceptDrops(true);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { OnItemActivated(item); });
    connect(&m_document, &CDatabaseDocument::Changed, this, &CWorkspaceBar::OnChanged);
    ShowLeagues();
}

CWorkspaceBar::~CWorkspaceBar() = default;

void CWorkspaceBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange) {
        m_list->setAccessibleName(windowTitle());
    }
    QDockWidget::changeEvent(event);
}

bool CWorkspaceBar::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != m_list->viewport() ||
        (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)) {
        return QDockWidget::eventFilter(watched, event);
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<CTeamDrag> team = CTeamDrag::From(drop->mimeData());
    if (!team || !m_document.Database()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        const QTreeWidgetItem* item = m_list->itemAt(drop->position().toPoint());
        emit TeamDropped(team->folder, team->teamId,
                         item ? item->data(0, kLeagueIdRole).toInt() : -1);
    }
    return true;
}

QSize CWorkspaceBar::sizeHint() const {
    return {ContentWidth(), QDockWidget::sizeHint().height()};
}

int CWorkspaceBar::ContentWidth() const {
    const QHeaderView* header = m_list->header();
    // The names as the delegate draws them: the text, its margins and the focus frame's.
    int names = header->sectionSizeHint(0);
    const int padding =
        4 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1) + 8;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        names = std::max(
            names,
            m_list->fontMetrics().horizontalAdvance(m_list->topLevelItem(row)->text(0)) + padding);
    }
    int columns = names;
    for (int c = 1; c < header->count(); ++c) {
        columns += header->sectionSize(c);
    }
    const int list = columns + 2 * m_list->frameWidth() +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    // The title shares its line with the float and close buttons.
    const int button =
        style()->pixelMetric(QStyle::PM_DockWidgetTitleBarButtonMargin, nullptr, this) +
        style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const int title = fontMetrics().horizontalAdvance(windowTitle()) + 4 * button;
    const QMargins margins = contentsMargins();
    return std::max(list, title) + margins.left() + margins.right();
}

void CWorkspaceBar::OnChanged(const SChange& change) {
    // The list counts teams and players: squads and leagues' names and teams show here.
    if (change.AnyLeague() || (change.AnyTeam() && change.Has(SChange::Squad)) ||
        change.Has(SChange::Records)) {
        ShowLeagues();
    }
}

void CWorkspaceBar::ShowLeagues() {
    const CGameDatabase* db = m_document.Database();
    QHash<int, QTreeWidgetItem*> kept;
    for (int i = m_list->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const int id = item->data(0, kLeagueIdRole).toInt();
        if (db && db->FindLeague(id)) {
            kept.insert(id, item);
        } else {
            delete m_list->takeTopLevelItem(i);
        }
    }
    if (!db) {
        return;
    }
    m_list->setSortingEnabled(false);
    QList<QTreeWidgetItem*> added;
    for (const auto& [id, league] : db->Leagues()) {
        const std::vector<int32_t> teams = db->TeamsOfLeague(id);
        qsizetype players = 0;
        for (int32_t team : teams) {
            players += static_cast<qsizetype>(db->PlayersOfTeam(team).size());
        }
        QTreeWidgetItem* item = kept.value(id);
        if (!item) {
            item = new QTreeWidgetItem;
            item->setData(0, kLeagueIdRole, id);
            for (int c = 1; c < 4; ++c) {
                item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
            }
            added.append(item);
        }
        item->setText(0, QString::fromStdString(league.name));
        item->setToolTip(0, item->text(0));
        item->setData(1, Qt::DisplayRole, league.Level());
        item->setData(2, Qt::DisplayRole, static_cast<qlonglong>(teams.size()));
        item->setData(3, Qt::DisplayRole, static_cast<qlonglong>(players));
    }
    m_list->addTopLevelItems(added);
    m_list->setSortingEnabled(true);
}

void CWorkspaceBar::OnItemActivated(QTreeWidgetItem* item) {
    if (item) {
        emit LeagueActivated(item->data(0, kLeagueIdRole).toInt());
    }
}
