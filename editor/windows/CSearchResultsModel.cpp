#include "CSearchResultsModel.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CNameSearch.h"
#include "editor/windows/CFindSettings.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CListIcons.h"

#include <algorithm>

CSearchResultsModel::CSearchResultsModel(CFrameHost& host, QObject* parent)
    : QAbstractTableModel(parent), m_host(host) {}

void CSearchResultsModel::Search(const CFindSettings& settings) {
    beginResetModel();
    m_rows.clear();
    const CGameDatabase* db = m_host.Database();
    if (db && !settings.text.isEmpty()) {
        const QString needle = settings.text;
        const auto matches = [&needle](std::string_view name) {
            return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
                .contains(needle, Qt::CaseInsensitive);
        };
        for (const CNameSearch::SHit& hit :
             CNameSearch::Find(*db, matches, settings.leagues, settings.teams, settings.players)) {
            const EKind kind = hit.kind == CNameSearch::EKind::League ? EKind::League
                               : hit.kind == CNameSearch::EKind::Team ? EKind::Team
                                                                      : EKind::Player;
            m_rows.push_back({kind, hit.id, QString::fromStdString(hit.name)});
        }
        // Grouped by the type text, as the window shows it; within a type, in id order.
        const QString league = TypeText(EKind::League);
        const QString team = TypeText(EKind::Team);
        const QString player = TypeText(EKind::Player);
        const auto type = [&](EKind kind) -> const QString& {
            return kind == EKind::League ? league : kind == EKind::Team ? team : player;
        };
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](const SRow& a, const SRow& b) {
            return type(a.kind).localeAwareCompare(type(b.kind)) < 0;
        });
    }
    endResetModel();
}

QString CSearchResultsModel::TypeText(EKind kind) const {
    switch (kind) {
    case EKind::League:
        return m_host.Text("Caption_League");
    case EKind::Team:
        return m_host.Text("Caption_Team");
    default:
        return m_host.Text("Caption_Player");
    }
}

int CSearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CSearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CSearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) {
        return {};
    }
    const SRow& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == NameColumn ? row.name : TypeText(row.kind);
    case Qt::DecorationRole:
        if (index.column() != NameColumn) {
            return {};
        }
        return row.kind == EKind::League ? CListIcons::League()
               : row.kind == EKind::Team ? CListIcons::Team()
                                         : CListIcons::Player();
    case kItemValueRole:
        return static_cast<int>(row.kind) * kKindFactor + row.id;
    default:
        return {};
    }
}

QVariant CSearchResultsModel::headerData(int section, Qt::Orientation orientation,
                                         int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return section == NameColumn ? m_host.Text("Caption_Name") : m_host.Text("Caption_Type");
}
