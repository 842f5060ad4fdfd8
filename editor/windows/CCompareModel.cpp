#include "CCompareModel.h"

#include "editor/windows/CTeamDrag.h"

#include <QMimeData>

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

CCompareModel::CCompareModel(QObject* parent) : QAbstractItemModel(parent) {}

std::vector<int>& CCompareModel::SiblingsOf(int parent) {
    return parent < 0 ? m_top : m_nodes[parent].children;
}

int CCompareModel::AddNode(SNode node, int row) {
    const int id = static_cast<int>(m_nodes.size());
    std::vector<int>& siblings = SiblingsOf(node.parent);
    if (row < 0 || row > static_cast<int>(siblings.size())) {
        row = static_cast<int>(siblings.size());
    }
    siblings.insert(siblings.begin() + row, id);
    node.row = row;
    m_nodes.push_back(std::move(node));
    // The nodes after it move down a row.
    const std::vector<int>& moved = SiblingsOf(m_nodes[id].parent);
    for (size_t r = static_cast<size_t>(row) + 1; r < moved.size(); ++r) {
        m_nodes[moved[r]].row = static_cast<int>(r);
    }
    return id;
}

void CCompareModel::RemoveRow(int node) {
    std::vector<int>& siblings = SiblingsOf(m_nodes[node].parent);
    const int row = m_nodes[node].row;
    siblings.erase(siblings.begin() + row);
    for (size_t r = static_cast<size_t>(row); r < siblings.size(); ++r) {
        m_nodes[siblings[r]].row = static_cast<int>(r);
    }
}

int CCompareModel::CountRows(const SRecordChange& change) {
    return 1 + static_cast<int>(change.fields.size());
}

void CCompareModel::SetRecordTexts(SNode& record, const SRecordChange& change,
                                   const SLabels& labels) {
    record.type = change.type;
    record.text[FieldColumn] = labels.record(change);
    record.text[OldColumn] =
        change.type == SRecordChange::EType::Removed ? labels.removed : QString();
    record.text[NewColumn] = change.type == SRecordChange::EType::Added ? labels.added : QString();
}

void CCompareModel::AddFields(int recordNode, const SRecordChange& change, const SLabels& labels) {
    for (const SFieldChange& field : change.fields) {
        SNode row;
        row.parent = recordNode;
        row.level = FieldLevel;
        row.kind = change.kind;
        row.id = change.id;
        row.sub = change.sub;
        row.type = change.type;
        row.text[FieldColumn] = labels.field(change.kind, field.field);
        row.rawField = QString::fromStdString(field.field);
        row.text[OldColumn] = QString::fromStdString(field.oldValue);
        row.text[NewColumn] = QString::fromStdString(field.newValue);
        AddNode(std::move(row));
    }
}

int CCompareModel::AddRecord(int kindNode, const SRecordChange& change, const SLabels& labels,
                             int row) {
    SNode record;
    record.parent = kindNode;
    record.level = RecordLevel;
    record.kind = change.kind;
    record.id = change.id;
    record.sub = change.sub;
    SetRecordTexts(record, change, labels);
    const int node = AddNode(std::move(record), row);
    AddFields(node, change, labels);
    m_records[{change.kind, change.id, change.sub}] = node;
    m_rows += CountRows(change);
    return node;
}

void CCompareModel::SetChanges(const std::vector<SRecordChange>& changes, const SLabels& labels) {
    beginResetModel();
    m_nodes.clear();
    m_top.clear();
    m_records.clear();
    m_rows = 0;
    std::fill(std::begin(m_kinds), std::end(m_kinds), -1);
    for (int c = 0; c < ColumnCount; ++c) {
        m_headers[c] = labels.headers[c];
    }
    // The changes come sorted by kind: one kind row for each run of them.
    int kindNode = -1;
    for (const SRecordChange& change : changes) {
        if (kindNode < 0 || m_nodes[kindNode].kind != change.kind) {
            SNode kind;
            kind.kind = change.kind;
            kindNode = AddNode(std::move(kind));
            m_kinds[static_cast<int>(change.kind)] = kindNode;
        }
        AddRecord(kindNode, change, labels);
    }
    for (const int node : m_top) {
        SNode& kind = m_nodes[node];
        kind.text[FieldColumn] = labels.kind(kind.kind, static_cast<int>(kind.children.size()));
    }
    endResetModel();
}

void CCompareModel::UpdateRecord(int node, const SRecordChange& change, const SLabels& labels) {
    const QModelIndex at = IndexOf(node);
    SNode updated = m_nodes[node];
    SetRecordTexts(updated, change, labels);
    SNode& record = m_nodes[node];
    if (!std::equal(std::begin(updated.text), std::end(updated.text), std::begin(record.text)) ||
        updated.type != record.type) {
        record.type = updated.type;
        std::copy(std::begin(updated.text), std::end(updated.text), std::begin(record.text));
        emit dataChanged(at, at.siblingAtColumn(ColumnCount - 1));
    }
    bool sameFields = record.children.size() == change.fields.size();
    for (size_t i = 0; sameFields && i < change.fields.size(); ++i) {
        sameFields = m_nodes[record.children[i]].rawField ==
                     QString::fromStdString(change.fields[i].field);
    }
    m_rows += static_cast<int>(change.fields.size()) - static_cast<int>(record.children.size());
    if (sameFields) {
        // The same rows, some with new values: selection and scrolling stay where they were.
        int first = -1, last = -1;
        for (size_t i = 0; i < change.fields.size(); ++i) {
            SNode& field = m_nodes[m_nodes[node].children[i]];
            const QString oldValue = QString::fromStdString(change.fields[i].oldValue);
            const QString newValue = QString::fromStdString(change.fields[i].newValue);
            if (field.type == change.type && field.text[OldColumn] == oldValue &&
                field.text[NewColumn] == newValue) {
                continue;
            }
            field.type = change.type;
            field.text[OldColumn] = oldValue;
            field.text[NewColumn] = newValue;
            first = first < 0 ? static_cast<int>(i) : first;
            last = static_cast<int>(i);
        }
        if (first >= 0) {
            emit dataChanged(index(first, 0, at), index(last, ColumnCount - 1, at));
        }
        return;
    }
    if (!m_nodes[node].children.empty()) {
        beginRemoveRows(at, 0, static_cast<int>(m_nodes[node].children.size()) - 1);
        m_nodes[node].children.clear();
        endRemoveRows();
    }
    if (!change.fields.empty()) {
        beginInsertRows(at, 0, static_cast<int>(change.fields.size()) - 1);
        AddFields(node, change, labels);
        endInsertRows();
    }
}

void CCompareModel::InsertRecord(const SRecordChange& change, const SLabels& labels) {
    int& kindNode = m_kinds[static_cast<int>(change.kind)];
    if (kindNode < 0) {
        // Kinds stay in their order: before the first kind that comes after this one.
        int row = 0;
        while (row < static_cast<int>(m_top.size()) && m_nodes[m_top[row]].kind < change.kind) {
            ++row;
        }
        beginInsertRows({}, row, row);
        SNode kind;
        kind.kind = change.kind;
        kindNode = AddNode(std::move(kind), row);
        AddRecord(kindNode, change, labels);
        endInsertRows();
        return;
    }
    const std::vector<int>& records = m_nodes[kindNode].children;
    const auto at = std::lower_bound(records.begin(), records.end(),
                                     std::make_pair(change.id, change.sub),
                                     [this](int node, const std::pair<int32_t, int32_t>& key) {
                                         return std::make_pair(m_nodes[node].id,
                                                               m_nodes[node].sub) < key;
                                     });
    const int row = static_cast<int>(at - records.begin());
    beginInsertRows(IndexOf(kindNode), row, row);
    AddRecord(kindNode, change, labels, row);
    endInsertRows();
}

void CCompareModel::UpdateRecords(const std::vector<SRecordChange>& changes,
                                  const std::vector<SCovered>& covered, const SLabels& labels) {
    std::map<SKey, const SRecordChange*> fresh;
    for (const SRecordChange& change : changes) {
        fresh[{change.kind, change.id, change.sub}] = &change;
    }
    // Rows of the covered records: changed in place, or gone.
    constexpr int32_t kLeast = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
    std::vector<int> gone;
    for (const SCovered& cover : covered) {
        auto it = m_records.lower_bound({cover.kind, cover.id.value_or(kLeast), kLeast});
        const auto end = m_records.upper_bound({cover.kind, cover.id.value_or(kMost), kMost});
        while (it != end) {
            const auto now = fresh.find(it->first);
            if (now == fresh.end()) {
                gone.push_back(it->second);
                it = m_records.erase(it);
                continue;
            }
            UpdateRecord(it->second, *now->second, labels);
            fresh.erase(now);
            ++it;
        }
    }
    std::vector<bool> counted(std::size(m_kinds), false);
    for (const int node : gone) {
        const int kindNode = m_nodes[node].parent;
        counted[static_cast<int>(m_nodes[node].kind)] = true;
        m_rows -= 1 + static_cast<int>(m_nodes[node].children.size());
        const QModelIndex kindIndex = IndexOf(kindNode);
        beginRemoveRows(kindIndex, m_nodes[node].row, m_nodes[node].row);
        RemoveRow(node);
        endRemoveRows();
        if (m_nodes[kindNode].children.empty()) {
            beginRemoveRows({}, m_nodes[kindNode].row, m_nodes[kindNode].row);
            RemoveRow(kindNode);
            m_kinds[static_cast<int>(m_nodes[kindNode].kind)] = -1;
            endRemoveRows();
        }
    }
    for (const auto& [key, change] : fresh) {
        counted[static_cast<int>(change->kind)] = true;
        InsertRecord(*change, labels);
    }
    for (size_t k = 0; k < counted.size(); ++k) {
        if (counted[k] && m_kinds[k] >= 0) {
            SNode& kind = m_nodes[m_kinds[k]];
            kind.text[FieldColumn] = labels.kind(kind.kind, static_cast<int>(kind.children.size()));
            const QModelIndex index = IndexOf(m_kinds[k]);
            emit dataChanged(index, index);
        }
    }
}

void CCompareModel::RenameSquadPlaces(const std::vector<int32_t>& players, const SLabels& labels) {
    const int kindNode = m_kinds[static_cast<int>(ERecordKind::Squad)];
    if (kindNode < 0 || players.empty()) {
        return;
    }
    for (const int node : m_nodes[kindNode].children) {
        SNode& record = m_nodes[node];
        if (!std::binary_search(players.begin(), players.end(), record.sub)) {
            continue;
        }
        SRecordChange change;
        change.kind = record.kind;
        change.id = record.id;
        change.sub = record.sub;
        change.type = record.type;
        record.text[FieldColumn] = labels.record(change);
        const QModelIndex index = IndexOf(node);
        emit dataChanged(index, index);
    }
}

QModelIndex CCompareModel::IndexOf(int node) const {
    return node < 0 ? QModelIndex()
                    : createIndex(m_nodes[node].row, 0, static_cast<quintptr>(node));
}

int CCompareModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex CCompareModel::index(int row, int column, const QModelIndex& parent) const {
    const int node = NodeOf(parent);
    const std::vector<int>& siblings = node < 0 ? m_top : m_nodes[node].children;
    if (row < 0 || row >= static_cast<int>(siblings.size()) || column < 0 ||
        column >= ColumnCount) {
        return {};
    }
    return createIndex(row, column, static_cast<quintptr>(siblings[row]));
}

QModelIndex CCompareModel::parent(const QModelIndex& child) const {
    const int node = NodeOf(child);
    if (node < 0 || m_nodes[node].parent < 0) {
        return {};
    }
    return IndexOf(m_nodes[node].parent);
}

int CCompareModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    const int node = NodeOf(parent);
    return static_cast<int>(node < 0 ? m_top.size() : m_nodes[node].children.size());
}

int CCompareModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant CCompareModel::data(const QModelIndex& index, int role) const {
    const int node = NodeOf(index);
    if (node < 0) {
        return {};
    }
    const SNode& n = m_nodes[node];
    switch (role) {
    case Qt::DisplayRole:
        return n.text[index.column()];
    case Qt::ToolTipRole:
        return index.column() == FieldColumn && !n.rawField.isEmpty() ? n.rawField
                                                                       : n.text[index.column()];
    case kLevelRole:
        return static_cast<int>(n.level);
    case kKindRole:
        return static_cast<int>(n.kind);
    case kIdRole:
        return n.level == KindLevel ? QVariant() : QVariant(n.id);
    default:
        return {};
    }
}

QVariant CCompareModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount) {
        return m_headers[section];
    }
    return {};
}

Qt::ItemFlags CCompareModel::flags(const QModelIndex& index) const {
    const int node = NodeOf(index);
    if (node < 0) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const SNode& n = m_nodes[node];
    // A team the other installation has: one added here exists only on this side.
    if (!m_dragFolder.isEmpty() && n.level == RecordLevel && n.kind == ERecordKind::Team &&
        n.type != SRecordChange::EType::Added) {
        flags |= Qt::ItemIsDragEnabled;
    }
    return flags;
}

QStringList CCompareModel::mimeTypes() const {
    return {QString::fromLatin1(CTeamDrag::kMimeType)};
}

QMimeData* CCompareModel::mimeData(const QModelIndexList& indexes) const {
    for (const QModelIndex& index : indexes) {
        if (flags(index).testFlag(Qt::ItemIsDragEnabled)) {
            auto* data = new QMimeData;
            CTeamDrag{m_dragFolder, m_nodes[NodeOf(index)].id}.WriteInto(*data);
            return data;
        }
    }
    return nullptr;
}
