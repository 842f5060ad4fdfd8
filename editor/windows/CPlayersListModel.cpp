#include "CPlayersListModel.h"

#include "editor/document/SChange.h"
#include "editor/localisation/CLocalisationTable.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CNameSearch.h"
#include "editor/toolkit/CMarkupToolTip.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CListIcons.h"
#include "editor/windows/CPlayerDrag.h"
#include "editor/windows/CRatingPicture.h"

#include <QMimeData>
#include <QSet>

#include <algorithm>
#include <string>

namespace {

const char* const kStarsImage = "IDB_FIVESTARS_TRANS";

const CMarkupToolTip& ToolTipRenderer() {
    static const CMarkupToolTip renderer = [] {
        CMarkupToolTip tip;
        tip.RegisterImage(QString::fromLatin1(kStarsImage),
                          CRatingPicture::Of(CRatingPicture::kWidth));
        tip.SetImageList(CListIcons::PlayerImages());
        return tip;
    }();
    return renderer;
}

} // namespace

CPlayersListModel::CPlayersListModel(CFrameHost& host, QObject* parent)
    : CRecordRowsModel(ColumnCount, parent), m_host(host) {}

bool CPlayersListModel::ShowsPlayersWithoutTeam() const {
    return m_teamId == CGameDatabase::kNoTeamId;
}

void CPlayersListModel::Show(int32_t teamId) {
    m_teamId = teamId;
    SetRows(ReadRows());
}

void CPlayersListModel::DocumentChanged(const SChange& change) {
    if (change.Reloaded()) {
        SetRows(ReadRows());
    } else if (Concerns(change)) {
        UpdateRows(ReadRows());
    }
}

bool CPlayersListModel::Concerns(const SChange& change) const {
    // Squads, new and deleted players, and what the rows show of their players.
    if (change.HasTeam(m_teamId) || (ShowsPlayersWithoutTeam() && change.Has(SChange::Records))) {
        return true;
    }
    return std::any_of(Rows().begin(), Rows().end(),
                       [&](const SRow& row) { return change.HasPlayer(row.id); });
}

std::vector<SPlayersListRow> CPlayersListModel::ReadRows() const {
    std::vector<SRow> rows;
    const CGameDatabase* db = m_host.Database();
    const auto addRow = [&](const CPlayer& player, int32_t jersey, int32_t position) {
        const bool star = player.Value(EPlayerColumn::StarPlayer) != 0;
        rows.push_back({player.Id(),
                        QString::fromStdString(CNameSearch::SearchName(*db, player.Id())), jersey,
                        position, CListIcons::PlayerIconIndex(player.PositionGroup(), star)});
    };
    if (!db) {
        // Nothing to list.
    } else if (m_teamId == CGameDatabase::kNoTeamId) {
        for (const auto& [id, player] : db->Players()) {
            if (player.Teams().empty()) {
                addRow(player, 0, 0);
            }
        }
    } else if (const CTeam* team = db->FindTeam(m_teamId)) {
        rows.reserve(team->Links().size());
        for (const CTeamPlayerLink& link : team->Links()) {
            if (const CPlayer* player = db->FindPlayer(link.playerId)) {
                addRow(*player, link.jerseyNumber, link.formationPosition);
            }
        }
    }
    return rows;
}

QVariant CPlayersListModel::data(const QModelIndex& index, int role) const {
    const SRow* found = RowAt(index);
    if (!found) {
        return {};
    }
    const SRow& row = *found;
    const bool free = ShowsPlayersWithoutTeam();
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == NameColumn) {
            return row.name;
        }
        if (free) {
            return {};
        }
        if (index.column() == NumberColumn) {
            return QString::number(row.jersey);
        }
        return PositionName(row.position);
    case kSortRole:
        if (index.column() == NameColumn) {
            return row.name;
        }
        return index.column() == NumberColumn ? row.jersey : row.position;
    case Qt::DecorationRole:
        return index.column() == NameColumn ? CListIcons::PlayerIcon(row.icon) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == NumberColumn ? QVariant(Qt::AlignCenter)
                                              : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        return ToolTipHtml(row);
    case kMarkupRole:
        return ToolTipMarkup(row);
    case kPlayerIdRole:
        return row.id;
    case kIconIndexRole:
        return row.icon;
    case Qt::AccessibleTextRole:
        return index.column() == NameColumn ? row.name : data(index, Qt::DisplayRole);
    default:
        return {};
    }
}

QVariant CPlayersListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        // Over its column's centred values.
        return section == NumberColumn ? QVariant(Qt::AlignCenter)
                                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case NameColumn:
        return m_host.Text("Caption_Player");
    case NumberColumn:
        return m_host.Text("Caption_Num");
    case PositionColumn:
        return m_host.Text("Caption_Position");
    default:
        return {};
    }
}

Qt::ItemFlags CPlayersListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList CPlayersListModel::mimeTypes() const {
    return {QString::fromLatin1(CPlayerDrag::kMimeType)};
}

QMimeData* CPlayersListModel::mimeData(const QModelIndexList& indexes) const {
    // In the order given (the order the list shows), each row once.
    QList<int32_t> players;
    QSet<int> rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && !rows.contains(index.row())) {
            rows.insert(index.row());
            players.append(IdAt(index.row()));
        }
    }
    auto* data = new QMimeData;
    CPlayerDrag{m_teamId, players}.WriteInto(*data);
    return data;
}

Qt::DropActions CPlayersListModel::supportedDragActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

QString CPlayersListModel::PositionName(int32_t code) const {
    const std::string key(CLocalisationTable::PositionKey(code));
    // A code outside the game's positions shows as stored, so it can be found and mended.
    return key.empty() ? QString::number(code) : m_host.Text(key.c_str());
}

QString CPlayersListModel::ToolTipMarkup(const SRow& row) const {
    const CGameDatabase* db = m_host.Database();
    const CPlayer* player = m_host.FindPlayer(row.id);
    if (!player) {
        return {};
    }
    const CTeamPlayerLink* link = db->FindTeamPlayerLink(row.id, m_teamId);
    const int preferred = player->Value(EPlayerColumn::PreferredPosition1);
    const std::string positionKey(CLocalisationTable::PositionKey(preferred));
    const QString position = positionKey.empty() ? QString() : m_host.Text(positionKey.c_str());
    // The numbers go in first, so no name is ever read as a placeholder.
    return QStringLiteral("<ilst=%1><b><ct=0x0000FF><al> %2<t>%4 %5</b></ct><br><ct=0x000000>"
                          "<al_r>%6<br><hr=100%><br><al>%7: <img=%8 cx=%3 cy=-20>")
        .arg(row.icon)
        .arg(link ? link->jerseyNumber : 0)
        .arg(-static_cast<int>(player->ComputeOverall()))
        .arg(QString::fromStdString(player->FirstName()),
             QString::fromStdString(player->LastName()), position, m_host.Text("Caption_Rating"),
             QString::fromLatin1(kStarsImage));
}

QString CPlayersListModel::ToolTipHtml(const SRow& row) const {
    const QString markup = ToolTipMarkup(row);
    return markup.isEmpty() ? QString() : ToolTipRenderer().ToHtml(markup);
}
