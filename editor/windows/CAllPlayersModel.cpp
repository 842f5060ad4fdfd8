#include "CAllPlayersModel.h"

#include "editor/localisation/CLocalisationTable.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerSort.h"
#include "editor/toolkit/CRowDiff.h"
#include "editor/windows/CFieldCaptions.h"
#include "editor/windows/CPlayerDrag.h"

#include <QMimeData>

namespace {

using S = CPlayerField::ESource;

bool IsPosition(const CPlayerField& field) {
    const auto column = static_cast<EPlayerColumn>(field.Column());
    return field.IsColumn() && (column == EPlayerColumn::PreferredPosition1 ||
                                column == EPlayerColumn::PreferredPosition2 ||
                                column == EPlayerColumn::PreferredPosition3);
}

bool IsStar(const CPlayerField& field) {
    return field.IsColumn() &&
           static_cast<EPlayerColumn>(field.Column()) == EPlayerColumn::StarPlayer;
}

} // namespace


CAllPlayersModel::CAllPlayersModel(CGameDatabase& database, TextLookup text, QObject* parent)
    : QAbstractTableModel(parent), m_database(database), m_text(std::move(text)) {
    for (int p = 0; p < CLocalisationTable::kPositionCount; ++p)
        m_positionNames.push_back(m_text(std::string(CLocalisationTable::PositionKey(p)).c_str()));
}

void CAllPlayersModel::SetColumns(std::vector<const CPlayerField*> columns) {
    const CPlayerField* sorted =
        m_sortColumn >= 0 && m_sortColumn < static_cast<int>(m_columns.size())
            ? m_columns[m_sortColumn]
            : nullptr;
    beginResetModel();
    m_columns = std::move(columns);
    const auto kept = std::find(m_columns.begin(), m_columns.end(), sorted);
    m_sortColumn = sorted && kept != m_columns.end() ? int(kept - m_columns.begin()) : -1;
    endResetModel();
}

void CAllPlayersModel::SetPlayers(std::vector<int32_t> playerIds) {
    Sort(playerIds);
    std::vector<int32_t> sortedBefore = m_ids;
    std::vector<int32_t> sortedAfter = playerIds;
    std::sort(sortedBefore.begin(), sortedBefore.end());
    std::sort(sortedAfter.begin(), sortedAfter.end());
    if (sortedBefore == sortedAfter) {
        // A change of the sorted column's values (a team, when sorted by team) moves rows.
        if (playerIds != m_ids) {
            Reorder(std::move(playerIds));
        }
        Reread();
        return;
    }
    const std::optional<CRowDiff> diff = CRowDiff::Between(m_ids, playerIds);
    if (!diff) {
        beginResetModel();
        m_ids = std::move(playerIds);
        endResetModel();
        return;
    }
    for (const CRowDiff::SRun& run : diff->Removals()) {
        beginRemoveRows({}, run.first, run.first + run.count - 1);
        m_ids.erase(m_ids.begin() + run.first, m_ids.begin() + run.first + run.count);
        endRemoveRows();
    }
    for (const CRowDiff::SRun& run : diff->Inserts()) {
        beginInsertRows({}, run.first, run.first + run.count - 1);
        m_ids.insert(m_ids.begin() + run.first, playerIds.begin() + run.first,
                     playerIds.begin() + run.first + run.count);
        endInsertRows();
    }
    // Cells are read from the records: the rows that stay may show other values.
    Reread();
}

int32_t CAllPlayersModel::PlayerAt(int row) const {
    return row >= 0 && row < static_cast<int>(m_ids.size()) ? m_ids[row] : 0;
}

void CAllPlayersModel::Reread() {
    m_teamNames.clear();
    if (!m_ids.empty() && !m_columns.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int CAllPlayersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_ids.size());
}

int CAllPlayersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QString CAllPlayersModel::TeamName(int32_t teamId) const {
    auto it = m_teamNames.constFind(teamId);
    if (it != m_teamNames.constEnd())
        return *it;
    const CTeam* team = m_database.FindTeam(teamId);
    return m_teamNames.insert(teamId, team ? QString::fromStdString(team->Name()) : QString())
        .value();
}

QVariant CAllPlayersModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const CPlayerField& field = *m_columns[index.column()];
        const bool number =
            field.Type() == CPlayerField::EType::Number && !IsPosition(field) && !IsStar(field);
        return number ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const CPlayer* player = m_database.FindPlayer(m_ids[index.row()]);
    if (!player)
        return {};
    const CPlayerField& field = *m_columns[index.column()];
    const SPlayerFieldContext context(m_database, CPlayerField::AgeDate());
    switch (field.Type()) {
    case CPlayerField::EType::Number: {
        const int64_t value = field.Number(*player, context);
        if (IsPosition(field) && value >= 0 && value < CLocalisationTable::kPositionCount)
            return m_positionNames[static_cast<size_t>(value)];
        if (IsPosition(field) && value == -1)
            return QString();
        if (IsStar(field))
            return value != 0 ? QStringLiteral("\u2605") : QString();
        return QVariant::fromValue<qlonglong>(value);
    }
    case CPlayerField::EType::Team:
        return player->Teams().empty() ? QString() : TeamName(player->Teams().front());
    case CPlayerField::EType::League:
    case CPlayerField::EType::Text:
        break;
    }
    m_buffer.clear();
    field.AppendText(*player, context, m_buffer);
    return QString::fromUtf8(m_buffer.data(), static_cast<qsizetype>(m_buffer.size()));
}

QVariant CAllPlayersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return CFieldCaptions::Of(*m_columns[section], m_text);
    // The tool tip teaches the name the filter and scripts use.
    if (role == Qt::ToolTipRole)
        return CFieldCaptions::WithFilterName(*m_columns[section], m_text);
    return {};
}

void CAllPlayersModel::sort(int column, Qt::SortOrder order) {
    if (column >= columnCount())
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    std::vector<int32_t> sorted = m_ids;
    Sort(sorted);
    Reorder(std::move(sorted));
}

void CAllPlayersModel::Reorder(std::vector<int32_t> order) {
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<int32_t> ids;
    for (const QModelIndex& index : before)
        ids.push_back(PlayerAt(index.row()));
    m_ids = std::move(order);
    // Selected rows follow their players.
    QHash<int32_t, int> rows;
    rows.reserve(static_cast<qsizetype>(m_ids.size()));
    for (size_t r = 0; r < m_ids.size(); ++r)
        rows.insert(m_ids[r], static_cast<int>(r));
    QModelIndexList after;
    for (size_t i = 0; i < ids.size(); ++i)
        after.push_back(index(rows.value(ids[i], -1), before[static_cast<qsizetype>(i)].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void CAllPlayersModel::Sort(std::vector<int32_t>& ids) const {
    const SPlayerFieldContext context(m_database, CPlayerField::AgeDate());
    if (m_sortColumn < 0 || m_sortColumn >= columnCount()) {
        std::sort(ids.begin(), ids.end());
        return;
    }
    CPlayerSort::Sort(ids, *m_columns[m_sortColumn], m_sortOrder == Qt::DescendingOrder, context);
}

Qt::ItemFlags CAllPlayersModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList CAllPlayersModel::mimeTypes() const {
    return {QString::fromLatin1(CPlayerDrag::kMimeType), QStringLiteral("text/plain")};
}

QMimeData* CAllPlayersModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Players in no team, one team or several: a drop adds them, it takes them from nowhere.
    CPlayerDrag drag;
    for (int row : rows)
        drag.playerIds.append(PlayerAt(row));
    auto* data = new QMimeData();
    drag.WriteInto(*data);
    data->setText(TabSeparated(rows));
    return data;
}

QString CAllPlayersModel::CellText(int row, int column) const {
    const CPlayer* player = m_database.FindPlayer(PlayerAt(row));
    if (!player || column < 0 || column >= columnCount())
        return {};
    // Spreadsheets get the stored values, not the names the table shows for positions.
    return QString::fromStdString(
        m_columns[column]->Text(*player, SPlayerFieldContext(m_database, CPlayerField::AgeDate())));
}

QString CAllPlayersModel::TabSeparated(const std::vector<int>& rows) const {
    // Tabs and line breaks inside a cell would split it; spaces keep it whole.
    auto clean = [](QString text) {
        text.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        return text;
    };
    QStringList lines;
    QStringList header;
    for (const CPlayerField* field : m_columns)
        header << QString::fromLatin1(field->Name());
    lines << header.join(u'\t');
    for (int row : rows) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c)
            cells << clean(CellText(row, c));
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}
