#include "CAllPlayersFrame.h"

#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CErrorLineEdit.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CBulkEditCommand.h"
#include "editor/windows/CBulkEditDialog.h"
#include "editor/windows/CFieldCaptions.h"
#include "editor/windows/CFilterFieldsDialog.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayersTableView.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr std::array<const char*, 6> kDefaultColumns = {
    "name", "team", "age", "preferred_position_1", "overall", "star_player"};
constexpr std::array<const char*, 5> kGroupKeys = {"Caption_Goalkeepers", "Caption_Defenders",
                                                   "Caption_Midfielders", "Caption_Attackers",
                                                   "Caption_BenchPositions"};
// Typing pauses this long before the table follows.
constexpr int kFilterDelayMs = 150;

} // namespace

CAllPlayersFrame::CAllPlayersFrame(CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::AllPlayers, host, parent) {
    setObjectName(QStringLiteral("AllPlayersFrame"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(BuildFilterBar());

    m_model = new CAllPlayersModel(
        *host.Database(), [&host](const char* key) { return host.Text(key); }, this);
    m_view = new CPlayersTableView(content);
    m_view->setObjectName(QStringLiteral("AllPlayersTable"));
    m_view->setAccessibleName(host.Text("Caption_AllPlayers"));
    m_view->setModel(m_model);
    LoadColumns();
    m_view->setSortingEnabled(true);
    m_view->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    // A reset (a new filter, other columns) gives every column the default width again.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { FitColumns(); });
    FitColumns();
    m_view->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view->horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint& at) {
                ColumnMenu()->popup(m_view->horizontalHeader()->mapToGlobal(at));
            });
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowRowMenu(at); });
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (const int32_t id = m_model->PlayerAt(index.row()))
            Host().OpenPlayer(id);
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateActions(); });
    layout->addWidget(m_view, 1);
    SetContent(content);

    // Ctrl+E belongs to the main window's Edit menu entry, which reaches this window while it
    // is active; the row menu only shows it.
    m_editAction = new QAction(host.Text("Caption_EditSelected"), this);
    m_editAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_editAction->setShortcutContext(Qt::WidgetShortcut);
    connect(m_editAction, &QAction::triggered, this, [this] { EditSelected(); });
    UpdateActions();
}

QVBoxLayout* CAllPlayersFrame::BuildFilterBar() {
    // The filter has a row of its own, so a long expression stays readable beside the quick
    // filters' localised captions.
    auto* bar = new QVBoxLayout();
    auto* expression = new QHBoxLayout();
    auto* quick = new QHBoxLayout();
    auto* label = new QLabel(Host().Text("Caption_Filter"), this);
    m_filter = new CErrorLineEdit(this);
    m_filter->setObjectName(QStringLiteral("PlayerFilter"));
    m_filter->setAccessibleName(label->text().remove(u'&'));
    m_filter->setPlaceholderText(Host().Text("Caption_FilterExample"));
    m_filter->SetHint(Host().Text("Caption_FilterHelp") + u'\n' +
                      Host().Text("Caption_FilterFieldsHint"));
    m_filter->setClearButtonEnabled(true);
    label->setBuddy(m_filter);
    m_filterTimer = new QTimer(this);
    m_filterTimer->setSingleShot(true);
    m_filterTimer->setInterval(kFilterDelayMs);
    connect(m_filterTimer, &QTimer::timeout, this, [this] { FilterByUser(); });
    connect(m_filter, &QLineEdit::textChanged, this, [this] {
        CheckFilterText();
        m_filterTimer->start();
    });
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { FilterByUser(); });

    auto combo = [this](const char* name, const char* accessibleKey) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setAccessibleName(Host().Text(accessibleKey));
        box->setToolTip(Host().Text(accessibleKey));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { FilterByUser(); });
        return box;
    };
    m_position = combo("PositionGroupFilter", "Caption_PositionGroup");
    m_team = combo("TeamFilter", "Caption_Team");
    m_league = combo("LeagueFilter", "Caption_League");
    auto* fields = new QPushButton(Host().Text("Caption_FilterFieldsButton"), this);
    fields->setObjectName(QStringLiteral("FilterFields"));
    fields->setAccessibleName(Host().Text("Caption_FilterFields"));
    fields->setToolTip(Host().Text("Caption_FilterFields"));
    connect(fields, &QPushButton::clicked, this, [this] { ShowFilterFields(); });
    m_edit = new QPushButton(Host().Text("Caption_EditSelected"), this);
    m_edit->setObjectName(QStringLiteral("EditSelected"));
    m_edit->setToolTip(Host().Text("Caption_EditSelected") + QStringLiteral(" (Ctrl+E)"));
    connect(m_edit, &QPushButton::clicked, this, [this] { EditSelected(); });
    expression->addWidget(label);
    expression->addWidget(m_filter, 1);
    expression->addWidget(fields);
    quick->addWidget(m_position);
    quick->addWidget(m_team);
    quick->addWidget(m_league);
    quick->addStretch(1);
    quick->addWidget(m_edit);
    bar->addLayout(expression);
    bar->addLayout(quick);
    return bar;
}

void CAllPlayersFrame::FillQuickFilters() {
    const CGameDatabase& db = *Host().Database();
    const QSignalBlocker blockPosition(m_position);
    const QSignalBlocker blockTeam(m_team);
    const QSignalBlocker blockLeague(m_league);
    const int group = m_position->currentData().isValid() ? m_position->currentData().toInt() : -1;
    const int team = m_team->currentData().isValid() ? m_team->currentData().toInt() : -1;
    const int league = m_league->currentData().isValid() ? m_league->currentData().toInt() : -1;
    m_position->clear();
    m_position->addItem(Host().Text("Caption_AllPositions"), -1);
    for (int g = 0; g < static_cast<int>(kGroupKeys.size()); ++g)
        m_position->addItem(Host().Text(kGroupKeys[g]), g);
    auto sortedByName = [](std::vector<std::pair<QString, int>>& items) {
        std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
            const int order = QString::localeAwareCompare(a.first, b.first);
            return order != 0 ? order < 0 : a.second < b.second;
        });
    };
    std::vector<std::pair<QString, int>> teams;
    for (const auto& [id, record] : db.Teams())
        teams.emplace_back(QString::fromStdString(record.Name()), id);
    sortedByName(teams);
    m_team->clear();
    m_team->addItem(Host().Text("Caption_AllTeams"), -1);
    m_team->addItem(Host().Text("Caption_NoTeam"), CGameDatabase::kNoTeamId);
    for (const auto& [name, id] : teams)
        m_team->addItem(name, id);
    std::vector<std::pair<QString, int>> leagues;
    for (const auto& [id, record] : db.Leagues())
        leagues.emplace_back(QString::fromStdString(record.name), id);
    sortedByName(leagues);
    m_league->clear();
    m_league->addItem(Host().Text("Caption_AllLeagues"), -1);
    for (const auto& [name, id] : leagues)
        m_league->addItem(name, id);
    // The position groups and "All teams" and its kin are whole in every language; names of
    // teams and leagues longer than that are cut.
    int groups = 12;
    for (int i = 0; i < m_position->count(); ++i)
        groups = std::max(groups, static_cast<int>(m_position->itemText(i).size()));
    m_position->setMinimumContentsLength(groups);
    for (QComboBox* box : {m_team, m_league})
        box->setMinimumContentsLength(std::max(12, static_cast<int>(box->itemText(0).size())));
    m_position->setCurrentIndex(std::max(0, m_position->findData(group)));
    m_team->setCurrentIndex(std::max(0, m_team->findData(team)));
    m_league->setCurrentIndex(std::max(0, m_league->findData(league)));
}

void CAllPlayersFrame::Fill() {
    FillQuickFilters();
    CheckFilterText();
    ApplyFilter();
}

void CAllPlayersFrame::DocumentChanged(const SChange& change) {
    if (change.Reloaded() || change.Has(SChange::Records) || change.Has(SChange::Squad)) {
        FilterAgain();
    } else if ((change.AnyPlayer() || change.AnyTeam()) &&
               (change.Has(SChange::Fields) || change.Has(SChange::Names))) {
        m_model->Reread();
    }
}

void CAllPlayersFrame::FilterAgain() {
    FillQuickFilters();
    if (m_parsed) {
        ApplyFilter();
        return;
    }
    // A filter with a fault keeps its rows, less the players deleted since.
    std::vector<int32_t> ids = m_model->Players();
    std::erase_if(ids, [this](int32_t id) { return !Host().Database()->FindPlayer(id); });
    m_model->SetPlayers(std::move(ids));
    ShowCount();
    UpdateActions();
}

void CAllPlayersFrame::CheckFilterText() {
    SQueryError error;
    m_parsed = CPlayerFilter::Parse(m_filter->text().toStdString(), error);
    if (m_parsed)
        m_filter->ClearError();
    else
        m_filter->ShowError(error.column, QString::fromStdString(error.Text()));
}

void CAllPlayersFrame::ApplyFilter() {
    m_filterTimer->stop();
    CGameDatabase& db = *Host().Database();
    // A filter with a fault keeps the rows the last good one chose.
    if (!m_parsed)
        return;
    const int group = m_position->currentData().toInt();
    const int team = m_team->currentData().toInt();
    const int league = m_league->currentData().toInt();
    const SPlayerFieldContext context(db, CPlayerField::AgeDate());
    m_parsed->Bind(db);
    std::vector<int32_t> ids;
    ids.reserve(db.Players().size());
    for (const auto& [id, player] : db.Players()) {
        if (group >= 0 && player.PositionGroup() != group)
            continue;
        if (team >= 0 &&
            !(team == CGameDatabase::kNoTeamId ? player.Teams().empty() : player.IsInTeam(team)))
            continue;
        if (league >= 0) {
            const bool inLeague =
                std::any_of(player.Teams().begin(), player.Teams().end(), [&](int32_t teamId) {
                    const CTeam* t = db.FindTeam(teamId);
                    return t && std::find(t->Leagues().begin(), t->Leagues().end(), league) !=
                                    t->Leagues().end();
                });
            if (!inLeague)
                continue;
        }
        if (m_parsed->Matches(player, context))
            ids.push_back(id);
    }
    m_model->SetPlayers(std::move(ids));
    ShowCount();
    UpdateActions();
}

void CAllPlayersFrame::ShowCount() {
    m_countText = Host()
                      .Text("Caption_PlayersCount")
                      .arg(m_model->rowCount())
                      .arg(Host().Database()->Players().size());
    Host().ShowStatus(m_countText);
}

void CAllPlayersFrame::showEvent(QShowEvent* event) {
    CChildFrame::showEvent(event);
    if (!m_countText.isEmpty())
        Host().ShowStatus(m_countText);
}

bool CAllPlayersFrame::EditSelected() {
    std::vector<int32_t> ids;
    for (int row : m_view->SelectedRows())
        ids.push_back(m_model->PlayerAt(row));
    if (ids.empty())
        return false;
    CBulkEditDialog dialog(Host(), ids, this);
    if (dialog.exec() != QDialog::Accepted || dialog.Plan().changes.empty())
        return true;
    const QString text = Host()
                             .Text("Caption_BulkEditStep")
                             .arg(dialog.ShownChangeTexts().join(QStringLiteral(", ")));
    Host().Document().Push(new CBulkEditCommand(Host().Document(), dialog.Plan(), text));
    return true;
}

bool CAllPlayersFrame::HasSelection() const {
    return m_view->selectionModel() && m_view->selectionModel()->hasSelection();
}

void CAllPlayersFrame::UpdateActions() {
    const bool any = HasSelection();
    m_edit->setEnabled(any);
    m_editAction->setEnabled(any);
    emit SelectionChanged();
}

void CAllPlayersFrame::LoadColumns() {
    QStringList names;
    if (const auto settings = Host().Settings())
        names = settings->value(QString::fromLatin1(kColumnsSetting)).toStringList();
    std::vector<const CPlayerField*> columns;
    for (const QString& name : names)
        if (const CPlayerField* field = CPlayerField::Find(name.toStdString()))
            if (std::find(columns.begin(), columns.end(), field) == columns.end())
                columns.push_back(field);
    if (columns.empty())
        for (const char* name : kDefaultColumns)
            columns.push_back(CPlayerField::Find(name));
    m_model->SetColumns(std::move(columns));
}

void CAllPlayersFrame::SaveColumns() const {
    QStringList names;
    for (const CPlayerField* field : m_model->Columns())
        names << QString::fromLatin1(field->Name());
    if (const auto settings = const_cast<CAllPlayersFrame*>(this)->Host().Settings())
        settings->setValue(QString::fromLatin1(kColumnsSetting), names);
}

void CAllPlayersFrame::ToggleColumn(const CPlayerField* field, bool shown) {
    std::vector<const CPlayerField*> columns = m_model->Columns();
    const auto at = std::find(columns.begin(), columns.end(), field);
    if (shown && at == columns.end())
        columns.push_back(field);
    else if (!shown && at != columns.end() && columns.size() > 1)
        columns.erase(at);
    else
        return;
    m_model->SetColumns(std::move(columns));
    SaveColumns();
}

void CAllPlayersFrame::FilterByUser() {
    ApplyFilter();
    FitColumns();
}

void CAllPlayersFrame::FitColumns() {
    // The header measures a thousand rows: every player would stall on a large database.
    m_view->resizeColumnsToContents();
}

QMenu* CAllPlayersFrame::ColumnMenu() {
    if (!m_columnMenu) {
        m_columnMenu = new QMenu(this);
        m_columnMenu->setObjectName(QStringLiteral("ColumnMenu"));
        m_columnMenu->setTitle(Host().Text("Caption_Columns"));
        m_columnMenu->setAccessibleName(Host().Text("Caption_Columns"));
        const CFieldCaptions::Lookup text = [this](const char* key) { return Host().Text(key); };
        // In the order of the names shown, as the reader looks them up.
        std::vector<std::pair<QString, const CPlayerField*>> fields;
        for (const CPlayerField& field : CPlayerField::All())
            fields.emplace_back(CFieldCaptions::Of(field, text), &field);
        std::stable_sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) {
            return QString::localeAwareCompare(a.first, b.first) < 0;
        });
        for (const auto& [caption, pointer] : fields) {
            QAction* action = m_columnMenu->addAction(caption);
            action->setObjectName(QString::fromLatin1(pointer->Name()));
            action->setToolTip(CFieldCaptions::WithFilterName(*pointer, text));
            action->setCheckable(true);
            connect(action, &QAction::toggled, this,
                    [this, pointer](bool on) { ToggleColumn(pointer, on); });
        }
    }
    // Ticks follow the columns shown; the last column cannot be hidden.
    const auto& shown = m_model->Columns();
    for (QAction* action : m_columnMenu->actions()) {
        const QSignalBlocker block(action);
        const bool on = std::any_of(shown.begin(), shown.end(), [&](const CPlayerField* f) {
            return action->objectName() == QLatin1String(f->Name());
        });
        action->setChecked(on);
        action->setEnabled(!on || shown.size() > 1);
    }
    return m_columnMenu;
}

void CAllPlayersFrame::ShowFilterFields() {
    CFilterFieldsDialog dialog([this](const char* key) { return Host().Text(key); }, this);
    connect(&dialog, &CFilterFieldsDialog::FieldChosen, this,
            [this](const QString& name) { m_filter->insert(name); });
    dialog.exec();
    m_filter->setFocus();
}

void CAllPlayersFrame::ShowRowMenu(const QPoint& at) {
    const QModelIndex index = m_view->indexAt(at);
    QMenu menu(this);
    QAction* open = menu.addAction(Host().Text("Caption_OpenPlayer"));
    open->setEnabled(index.isValid());
    QAction* copy = menu.addAction(Host().Text("Menu_EditCopy").split(u'\t').first().trimmed());
    copy->setShortcuts(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    copy->setEnabled(m_view->selectionModel()->hasSelection());
    menu.addAction(m_editAction);
    QAction* chosen = menu.exec(m_view->viewport()->mapToGlobal(at));
    if (chosen == open)
        Host().OpenPlayer(m_model->PlayerAt(index.row()));
    else if (chosen == copy)
        m_view->copy();
}
