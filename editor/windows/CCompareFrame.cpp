#include "CCompareFrame.h"

#include "editor/dialogs/CWaitCursor.h"
#include "editor/document/SChange.h"
#include "editor/model/CDiffFields.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CCountText.h"
#include "editor/windows/CCompareFilter.h"
#include "editor/windows/CCompareModel.h"
#include "editor/windows/CFieldCaptions.h"
#include "editor/windows/CFrameHost.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <tuple>

namespace {

// Kinds in ERecordKind order.
constexpr std::array<const char*, 7> kKindKeys = {
    "Caption_CompareFormations", "Caption_CompareKits",     "Caption_CompareLeagues",
    "Caption_ComparePlayers",    "Caption_CompareSquads",   "Caption_CompareStadiums",
    "Caption_CompareTeams"};

// Below this many rows every record shows its fields at once.
constexpr int kExpandAllRows = 400;

// Changes naming more records than this are compared whole: one reset is quicker than many
// rows changed one by one.
constexpr size_t kCompareAllAbove = 2000;

std::tuple<int, int, int> RecordKey(const QModelIndex& record) {
    return {record.data(CCompareModel::kKindRole).toInt(), record.data(CCompareModel::kIdRole).toInt(),
            record.data(CCompareModel::kSubRole).toInt()};
}

QString NameIn(const CGameDatabase& db, ERecordKind kind, int32_t id, int32_t sub) {
    switch (kind) {
    case ERecordKind::Player:
        return db.FindPlayer(id) ? QString::fromStdString(db.PlayerDisplayName(id)) : QString();
    case ERecordKind::Team:
    case ERecordKind::Kit:
        if (const CTeam* team = db.FindTeam(id)) {
            return QString::fromStdString(team->Name());
        }
        return {};
    case ERecordKind::Squad:
        if (const CTeam* team = db.FindTeam(id); team && db.FindPlayer(sub)) {
            return QStringLiteral("%1 · %2").arg(QString::fromStdString(team->Name()),
                                                 QString::fromStdString(db.PlayerDisplayName(sub)));
        }
        return {};
    case ERecordKind::League:
        if (const CLeague* league = db.FindLeague(id)) {
            return QString::fromStdString(league->name);
        }
        return {};
    case ERecordKind::Stadium:
        if (const CStadium* stadium = db.FindStadium(id)) {
            return QString::fromStdString(stadium->name);
        }
        return {};
    case ERecordKind::Formation:
        if (const CFormationName* formation = db.FindFormation(id)) {
            return QString::fromStdString(formation->name);
        }
        return {};
    }
    return {};
}

} // namespace

CCompareFrame::CCompareFrame(std::shared_ptr<const CGameDatabase> other, const QString& folder,
                             const QString& source, CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::Compare, host, parent), m_other(std::move(other)), m_folder(folder),
      m_source(source) {
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(6, 6, 6, 6);
    m_summary = new QLabel(content);
    m_summary->setObjectName(QStringLiteral("CompareSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_summary);

    auto* filterRow = new QHBoxLayout;
    auto* label = new QLabel(host.Text("Caption_CompareFilter"), content);
    m_filter = new QLineEdit(content);
    m_filter->setObjectName(QStringLiteral("CompareFilter"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setAccessibleName(QString(label->text()).remove(u'&'));
    m_filter->setPlaceholderText(host.Text("Caption_CompareFilterHint"));
    label->setBuddy(m_filter);
    filterRow->addWidget(label);
    filterRow->addWidget(m_filter, 1);
    layout->addLayout(filterRow);

    m_model = new CCompareModel(this);
    m_model->SetDragFolder(m_folder);
    m_proxy = new CCompareFilter(this);
    m_proxy->setSourceModel(m_model);
    m_tree = new QTreeView(content);
    m_tree->setObjectName(QStringLiteral("CompareTree"));
    m_tree->setAccessibleName(host.Text("Caption_CompareDifferences"));
    m_tree->setModel(m_proxy);
    m_tree->setUniformRowHeights(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setAlternatingRowColors(true);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setDragEnabled(!m_folder.isEmpty());
    m_tree->setDragDropMode(m_folder.isEmpty() ? QAbstractItemView::NoDragDrop
                                               : QAbstractItemView::DragOnly);
    m_tree->setDefaultDropAction(Qt::CopyAction);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->resizeSection(CCompareModel::FieldColumn, 260);
    m_tree->header()->resizeSection(CCompareModel::OldColumn, 150);
    layout->addWidget(m_tree, 1);
    SetContent(content);
    setFocusProxy(m_tree);

    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_proxy->setFilterFixedString(text.trimmed());
        if (!text.trimmed().isEmpty()) {
            m_tree->expandAll();
        }
    });
    connect(m_tree, &QAbstractItemView::activated, this, &CCompareFrame::Open);
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, &CCompareFrame::ExpandNewRows);
}

CCompareFrame::~CCompareFrame() = default;

QString CCompareFrame::RecordLabel(int kind, int32_t id, int32_t sub) const {
    const auto k = static_cast<ERecordKind>(kind);
    const QString key = QString::fromStdString(CDiffFields::IdText(k, id, sub));
    // The name here, or there for a record this database does not have.
    QString name;
    if (const CGameDatabase* here = Host().Database()) {
        name = NameIn(*here, k, id, sub);
    }
    if (name.isEmpty()) {
        name = NameIn(*m_other, k, id, sub);
    }
    if (k == ERecordKind::Kit) {
        name = QStringLiteral("%1 (%2 %3)").arg(name, Host().Text("Caption_KitType")).arg(sub);
    }
    return name.isEmpty() ? key : QStringLiteral("%1  %2").arg(key, name);
}

void CCompareFrame::Fill() {
    m_refreshQueued = false;
    const CGameDatabase* here = Host().Database();
    if (!here) {
        return;
    }
    // Records whose fields were open stay open.
    std::set<std::tuple<int, int, int>> open;
    for (int k = 0; k < m_proxy->rowCount(); ++k) {
        const QModelIndex kind = m_proxy->index(k, 0);
        for (int r = 0; r < m_proxy->rowCount(kind); ++r) {
            const QModelIndex record = m_proxy->index(r, 0, kind);
            if (m_tree->isExpanded(record)) {
                open.insert(RecordKey(record));
            }
        }
    }
    m_compareAll = false;
    m_players.clear();
    m_teams.clear();
    m_leagues.clear();
    m_renamedPlayers.clear();
    {
        // Two very different databases take a noticeable moment.
        CWaitCursor wait;
        m_model->SetChanges(CFieldDiff::Compare(*m_other, *here), Labels());
    }
    ShowSummary();
    if (m_model->RowCount() <= kExpandAllRows || !m_filter->text().trimmed().isEmpty()) {
        m_tree->expandAll();
        return;
    }
    for (int k = 0; k < m_proxy->rowCount(); ++k) {
        const QModelIndex kind = m_proxy->index(k, 0);
        m_tree->expand(kind);
        for (int r = 0; !open.empty() && r < m_proxy->rowCount(kind); ++r) {
            const QModelIndex record = m_proxy->index(r, 0, kind);
            if (open.count(RecordKey(record)) > 0) {
                m_tree->expand(record);
            }
        }
    }
}

CCompareModel::SLabels CCompareFrame::Labels() const {
    CCompareModel::SLabels labels;
    labels.kind = [this](ERecordKind kind, int count) {
        return QStringLiteral("%1 (%2)")
            .arg(Host().Text(kKindKeys[static_cast<size_t>(kind)]))
            .arg(count);
    };
    labels.record = [this](const SRecordChange& change) {
        return RecordLabel(static_cast<int>(change.kind), change.id, change.sub);
    };
    const auto lookup = [this](const char* key) { return Host().Text(key); };
    labels.field = [lookup](ERecordKind kind, const std::string& field) {
        return CFieldCaptions::OfRecordField(kind, field, lookup);
    };
    labels.added = Host().Text("Caption_CompareAdded");
    labels.removed = Host().Text("Caption_CompareRemoved");
    labels.headers[CCompareModel::FieldColumn] = Host().Text("Caption_CompareField");
    labels.headers[CCompareModel::OldColumn] = Host().Text("Caption_CompareOld");
    labels.headers[CCompareModel::NewColumn] = Host().Text("Caption_CompareNew");
    return labels;
}

void CCompareFrame::ShowSummary() {
    const int records = m_model->RecordCount();
    m_summary->setText(
        records == 0 ? Host().Text("Message_CompareSame").arg(m_source)
                     : Host().Text("Message_CompareSummary")
                           .arg(m_source, CCountText::Of(Host().Lookup(),
                                                         QStringLiteral("Message_CompareCount"),
                                                         static_cast<qint64>(records))));
    m_summary->setAccessibleName(m_summary->text());
}

void CCompareFrame::DocumentChanged(const SChange& change) {
    if (change.what == 0 || change.what == SChange::Pictures) {
        return;
    }
    // A change that names no record (or names most of them) is compared whole.
    const size_t named = change.players.size() + change.teams.size() + change.leagues.size();
    if (change.everything || named == 0 || named > kCompareAllAbove) {
        m_compareAll = true;
    } else {
        m_players.insert(change.players.begin(), change.players.end());
        m_teams.insert(change.teams.begin(), change.teams.end());
        m_leagues.insert(change.leagues.begin(), change.leagues.end());
        if (change.Has(SChange::Names)) {
            m_renamedPlayers.insert(change.players.begin(), change.players.end());
        }
    }
    // Edits come in bursts (a drop, an undo of many steps): one comparison after them.
    if (m_refreshQueued) {
        return;
    }
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        if (!m_refreshQueued) {
            return;
        }
        if (m_compareAll || m_players.size() + m_teams.size() + m_leagues.size() > kCompareAllAbove) {
            Fill();
        } else {
            UpdateNamed();
        }
    });
}

void CCompareFrame::UpdateNamed() {
    m_refreshQueued = false;
    const CGameDatabase* here = Host().Database();
    if (!here) {
        return;
    }
    CFieldDiff::SNamed named;
    named.players.assign(m_players.begin(), m_players.end());
    named.teams.assign(m_teams.begin(), m_teams.end());
    named.leagues.assign(m_leagues.begin(), m_leagues.end());
    const std::vector<int32_t> renamed(m_renamedPlayers.begin(), m_renamedPlayers.end());
    m_players.clear();
    m_teams.clear();
    m_leagues.clear();
    m_renamedPlayers.clear();
    auto changes =
        CFieldDiff::CompareNamed(*m_other, *here, CDiffFields(here->Catalogue()), named);
    std::vector<CCompareModel::SCovered> covered = {{ERecordKind::Formation, std::nullopt},
                                                    {ERecordKind::Stadium, std::nullopt}};
    for (int32_t id : named.players) {
        covered.push_back({ERecordKind::Player, id});
    }
    for (int32_t id : named.leagues) {
        covered.push_back({ERecordKind::League, id});
    }
    for (int32_t id : named.teams) {
        for (ERecordKind kind : {ERecordKind::Team, ERecordKind::Kit, ERecordKind::Squad}) {
            covered.push_back({kind, id});
        }
    }
    m_updating = true;
    m_expandRecords = m_model->RowCount() <= kExpandAllRows || !m_filter->text().trimmed().isEmpty();
    m_model->UpdateRecords(std::move(changes), covered);
    m_model->RenameSquadPlaces(renamed);
    m_updating = false;
    ShowSummary();
}

void CCompareFrame::ExpandNewRows(const QModelIndex& parent, int first, int last) {
    // Kinds always show their records; records their fields when the list is short. Rows the
    // filter lets through again are left as the user had them.
    const bool kinds = !parent.isValid();
    if (!m_updating ||
        (!kinds && parent.data(CCompareModel::kLevelRole).toInt() != CCompareModel::KindLevel)) {
        return;
    }
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = m_proxy->index(row, 0, parent);
        if (kinds) {
            m_tree->expand(index);
            if (m_expandRecords) {
                for (int r = 0; r < m_proxy->rowCount(index); ++r) {
                    m_tree->expand(m_proxy->index(r, 0, index));
                }
            }
        } else if (m_expandRecords) {
            m_tree->expand(index);
        }
    }
}

bool CCompareFrame::FindInWindow() {
    m_filter->setFocus(Qt::ShortcutFocusReason);
    m_filter->selectAll();
    return true;
}

void CCompareFrame::Open(const QModelIndex& index) {
    if (!index.isValid() ||
        index.data(CCompareModel::kLevelRole).toInt() == CCompareModel::KindLevel) {
        return;
    }
    const auto kind = static_cast<ERecordKind>(index.data(CCompareModel::kKindRole).toInt());
    const int id = index.data(CCompareModel::kIdRole).toInt();
    bool opened = false;
    switch (kind) {
    case ERecordKind::Player:
        opened = Host().OpenPlayer(id);
        break;
    case ERecordKind::Team:
    case ERecordKind::Kit:
    case ERecordKind::Squad:
        opened = Host().OpenTeam(id);
        break;
    case ERecordKind::League:
        opened = Host().OpenLeague(id);
        break;
    case ERecordKind::Stadium:
    case ERecordKind::Formation:
        Host().ShowStatus(Host().Text("Message_CompareNoWindow"));
        return;
    }
    if (!opened) {
        Host().ShowStatus(Host().Text("Message_CompareNotHere"));
    }
}
