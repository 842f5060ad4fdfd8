#include "CTeamsListModel.h"

#include "editor/assets/CPictureRequests.h"
#include "editor/document/SChange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CPictureScaling.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CListIcons.h"
#include "editor/windows/CPlayerDrag.h"
#include "editor/windows/CSquadEdits.h"

#include <QMimeData>
#include <QPixmap>

#include <algorithm>

CTeamsListModel::CTeamsListModel(CFrameHost& host, QObject* parent)
    : CRecordRowsModel(ColumnCount, parent), m_host(host) {}

void CTeamsListModel::Show(int32_t leagueId) {
    m_leagueId = leagueId;
    // A crest may have been imported since: asked for again as the rows are drawn.
    m_crests.clear();
    SetRows(ReadRows());
}

void CTeamsListModel::DocumentChanged(const SChange& change) {
    if (change.Reloaded()) {
        Show(m_leagueId);
        return;
    }
    if (change.Has(SChange::Pictures)) {
        for (const STeamsListRow& row : Rows()) {
            if (change.HasTeam(row.id) && m_crests.remove(row.id) > 0) {
                RowChanged(RowOf(row.id));
            }
        }
    }
    // Teams join or leave the league with the league named; a team's rows show its squad.
    if (change.HasLeague(m_leagueId) ||
        std::any_of(Rows().begin(), Rows().end(),
                    [&](const STeamsListRow& row) { return change.HasTeam(row.id); })) {
        UpdateRows(ReadRows());
    }
}

std::vector<STeamsListRow> CTeamsListModel::ReadRows() const {
    std::vector<STeamsListRow> rows;
    if (const CGameDatabase* db = m_host.Database()) {
        for (int32_t id : db->TeamsOfLeague(m_leagueId)) {
            if (const CTeam* team = db->FindTeam(id)) {
                rows.push_back({id, QString::fromStdString(team->Name()),
                                static_cast<int>(db->PlayersOfTeam(id).size())});
            }
        }
    }
    return rows;
}

QIcon CTeamsListModel::Crest(int32_t teamId) const {
    const auto found = m_crests.constFind(teamId);
    if (found != m_crests.constEnd()) {
        return *found;
    }
    QIcon icon;
    if (CPictureRequests* pictures = m_host.Pictures()) {
        const QImage crest = CPictureScaling::Scaled(pictures->Logo(teamId), kCrestFactor);
        if (!crest.isNull()) {
            icon = QIcon(QPixmap::fromImage(crest));
        }
    }
    m_crests.insert(teamId, icon);
    return icon;
}

QVariant CTeamsListModel::data(const QModelIndex& index, int role) const {
    const STeamsListRow* found = RowAt(index);
    if (!found) {
        return {};
    }
    const STeamsListRow& row = *found;
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == PlayerCountColumn) {
            return QString::number(row.players);
        }
        return index.column() == TeamColumn ? row.name : QVariant();
    case kSortRole:
        if (index.column() == PlayerCountColumn) {
            return row.players;
        }
        return index.column() == TeamColumn ? row.name : QVariant();
    case Qt::ToolTipRole:
        return index.column() == TeamColumn ? row.name : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == PlayerCountColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                   : QVariant();
    case Qt::DecorationRole:
        return index.column() == TeamColumn ? Crest(row.id) : QVariant();
    case kTeamIdRole:
        return row.id;
    default:
        return {};
    }
}

QVariant CTeamsListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return section == PlayerCountColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case TeamColumn:
        return m_host.Text("Caption_Team");
    case PlayerCountColumn:
        return m_host.Text("Caption_Players");
    default:
        return {};
    }
}

Qt::ItemFlags CTeamsListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList CTeamsListModel::mimeTypes() const {
    return {QString::fromLatin1(CPlayerDrag::kMimeType)};
}

Qt::DropActions CTeamsListModel::supportedDropActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

bool CTeamsListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                      const QModelIndex& parent) const {
    return (action == Qt::MoveAction || action == Qt::CopyAction) && parent.isValid() &&
           IdAt(parent.row()) >= 0 && CPlayerDrag::From(data);
}

bool CTeamsListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                   int column, const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) {
        return false;
    }
    return !DropPlayers(*CPlayerDrag::From(data), IdAt(parent.row()), action == Qt::CopyAction)
                .taken.empty();
}

CTeamsListModel::SDropResult CTeamsListModel::DropPlayers(const CPlayerDrag& drag, int32_t teamId,
                                                          bool copy) {
    SDropResult result;
    const CGameDatabase* db = m_host.Database();
    const CTeam* team = m_host.FindTeam(teamId);
    if (!team) {
        return result;
    }
    std::vector<int32_t> newcomers;
    for (int32_t id : drag.playerIds) {
        if (db->FindPlayer(id) && !team->FindLink(id) &&
            std::find(newcomers.begin(), newcomers.end(), id) == newcomers.end()) {
            newcomers.push_back(id);
        }
    }
    // A drag from a table of players (no squad) adds them: they leave nothing.
    result.taken = CSquadEdits(m_host).Drop(
        newcomers, drag.sourceTeamId.value_or(CGameDatabase::kNoTeamId), teamId,
        copy || !drag.sourceTeamId);
    result.refused = static_cast<int>(newcomers.size() - result.taken.size());
    return result;
}
