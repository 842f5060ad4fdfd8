#include "CCompareModel.h"

#include "editor/windows/CTeamDrag.h"

#include <QMimeData>

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

namespace {

// An index's id: its kind or record node above the field row (plus one; zero for the node's
// own row).
constexpr int kFieldBits = 20;
constexpr quintptr kFieldMask = (quintptr(1) << kFieldBits) - 1;
static_assert(sizeof(quintptr) >= 8, "node and field row share an index's id");

quintptr IdOf(int node, int field) {
    return (static_cast<quintptr>(node) << kFieldBits) | static_cast<quintptr>(field + 1);
}

} // namespace

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

int CCompareModel::AddRecord(int kindNode, SRecordChange change, int row) {
    const SKey key{change.kind, change.id, change.sub};
    m_rows += 1 + static_cast<int>(change.fields.size());
    SNode record;
    record.parent = kindNode;
    record.level = RecordLevel;
    record.change = std::move(change);
    const int node = AddNode(std::move(record), row);
    m_records[key] = node;
    return node;
}

void CCompareModel::SetChanges(std::vector<SRecordChange> changes, const SLabels& labels) {
    beginResetModel();
    m_nodes.clear();
    m_nodes.reserve(changes.size() + std::size(m_kinds));
    m_top.clear();
    m_records.clear();
    m_rows = 0;
    std::fill(std::begin(m_kinds), std::end(m_kinds), -1);
    m_labels = labels;
    for (auto& captions : m_captions) {
        captions.clear();
    }
    // The changes come sorted by kind: one kind row for each run of them.
    int kindNode = -1;
    for (SRecordChange& change : changes) {
        if (kindNode < 0 || m_nodes[kindNode].change.kind != change.kind) {
            SNode kind;
            kind.change.kind = change.kind;
            kindNode = AddNode(std::move(kind));
            m_kinds[static_cast<int>(change.kind)] = kindNode;
        }
        AddRecord(kindNode, std::move(change));
    }
    endResetModel();
}

void CCompareModel::UpdateRecord(int node, SRecordChange change) {
    const QModelIndex at = IndexOf(node);
    SRecordChange& now = m_nodes[node].change;
    m_rows += static_cast<int>(change.fields.size()) - static_cast<int>(now.fields.size());
    const bool sameFields = std::equal(
        now.fields.begin(), now.fields.end(), change.fields.begin(), change.fields.end(),
        [](const SFieldChange& a, const SFieldChange& b) { return a.field == b.field; });
    if (sameFields) {
        // The same rows, some with new values: selection and scrolling stay where they were.
        int first = -1, last = -1;
        for (size_t i = 0; i < now.fields.size(); ++i) {
            if (now.type != change.type || !(now.fields[i] == change.fields[i])) {
                first = first < 0 ? static_cast<int>(i) : first;
                last = static_cast<int>(i);
            }
        }
        now = std::move(change);
        if (first >= 0) {
            emit dataChanged(index(first, 0, at), index(last, ColumnCount - 1, at));
        }
    } else {
        if (!now.fields.empty()) {
            beginRemoveRows(at, 0, static_cast<int>(now.fields.size()) - 1);
            now.fields.clear();
            endRemoveRows();
        }
        const int rows = static_cast<int>(change.fields.size());
        if (rows > 0) {
            beginInsertRows(at, 0, rows - 1);
        }
        now = std::move(change);
        if (rows > 0) {
            endInsertRows();
        }
    }
    // Its name may have changed with it.
    emit dataChanged(at, at.siblingAtColumn(ColumnCount - 1));
}

void CCompareModel::InsertRecord(SRecordChange change) {
    int& kindNode = m_kinds[static_cast<int>(change.kind)];
    if (kindNode < 0) {
        // Kinds stay in their order: before the first kind that comes after this one.
        int row = 0;
        while (row < static_cast<int>(m_top.size()) &&
               m_nodes[m_top[row]].change.kind < change.kind) {
            ++row;
        }
        beginInsertRows({}, row, row);
        SNode kind;
        kind.change.kind = change.kind;
        kindNode = AddNode(std::move(kind), row);
        AddRecord(kindNode, std::move(change));
        endInsertRows();
        return;
    }
    const std::vector<int>& records = m_nodes[kindNode].children;
    const auto at = std::lower_bound(records.begin(), records.end(),
                                     std::make_pair(change.id, change.sub),
                                     [this](int node, const std::pair<int32_t, int32_t>& key) {
                                         const SRecordChange& c = m_nodes[node].change;
                                         return std::make_pair(c.id, c.sub) < key;
                                     });
    const int row = static_cast<int>(at - records.begin());
    beginInsertRows(IndexOf(kindNode), row, row);
    AddRecord(kindNode, std::move(change), row);
    endInsertRows();
}

void CCompareModel::UpdateRecords(std::vector<SRecordChange> changes,
                                  const std::vector<SCovered>& covered) {
    std::map<SKey, SRecordChange*> fresh;
    for (SRecordChange& change : changes) {
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
            UpdateRecord(it->second, std::move(*now->second));
            fresh.erase(now);
            ++it;
        }
    }
    std::vector<bool> counted(std::size(m_kinds), false);
    for (const int node : gone) {
        const int kindNode = m_nodes[node].parent;
        counted[static_cast<int>(m_nodes[node].change.kind)] = true;
        m_rows -= 1 + static_cast<int>(m_nodes[node].change.fields.size());
        const QModelIndex kindIndex = IndexOf(kindNode);
        beginRemoveRows(kindIndex, m_nodes[node].row, m_nodes[node].row);
        RemoveRow(node);
        endRemoveRows();
        if (m_nodes[kindNode].children.empty()) {
            beginRemoveRows({}, m_nodes[kindNode].row, m_nodes[kindNode].row);
            RemoveRow(kindNode);
            m_kinds[static_cast<int>(m_nodes[kindNode].change.kind)] = -1;
            endRemoveRows();
        }
    }
    for (const auto& [key, change] : fresh) {
        counted[static_cast<int>(change->kind)] = true;
        InsertRecord(std::move(*change));
    }
    // The kinds' rows show how many records they have.
    for (size_t k = 0; k < counted.size(); ++k) {
        if (counted[k] && m_kinds[k] >= 0) {
            const QModelIndex index = IndexOf(m_kinds[k]);
            emit dataChanged(index, index);
        }
    }
}

void CCompareModel::RenameSquadPlaces(const std::vector<int32_t>& players) {
    const int kindNode = m_kinds[static_cast<int>(ERecordKind::Squad)];
    if (kindNode < 0 || players.empty()) {
        return;
    }
    for (const int node : m_nodes[kindNode].children) {
        if (std::binary_search(players.begin(), players.end(), m_nodes[node].change.sub)) {
            const QModelIndex index = IndexOf(node);
            emit dataChanged(index, index);
        }
    }
}

QModelIndex CCompareModel::IndexOf(int node) const {
    return node < 0 ? QModelIndex() : createIndex(m_nodes[node].row, 0, IdOf(node, -1));
}

int CCompareModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<int>(index.internalId() >> kFieldBits) : -1;
}

int CCompareModel::FieldOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<int>(index.internalId() & kFieldMask) - 1 : -1;
}

QModelIndex CCompareModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= ColumnCount || FieldOf(parent) >= 0) {
        return {};
    }
    const int node = NodeOf(parent);
    if (node >= 0 && m_nodes[node].level == RecordLevel) {
        return row < static_cast<int>(m_nodes[node].change.fields.size())
                   ? createIndex(row, column, IdOf(node, row))
                   : QModelIndex();
    }
    const std::vector<int>& siblings = node < 0 ? m_top : m_nodes[node].children;
    if (row >= static_cast<int>(siblings.size())) {
        return {};
    }
    return createIndex(row, column, IdOf(siblings[row], -1));
}

QModelIndex CCompareModel::parent(const QModelIndex& child) const {
    const int node = NodeOf(child);
    if (node < 0) {
        return {};
    }
    return FieldOf(child) >= 0 ? IndexOf(node) : IndexOf(m_nodes[node].parent);
}

int CCompareModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0 || FieldOf(parent) >= 0) {
        return 0;
    }
    const int node = NodeOf(parent);
    if (node < 0) {
        return static_cast<int>(m_top.size());
    }
    const SNode& n = m_nodes[node];
    return static_cast<int>(n.level == RecordLevel ? n.change.fields.size() : n.children.size());
}

int CCompareModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

bool CCompareModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

const QString& CCompareModel::FieldCaption(ERecordKind kind, const std::string& field) const {
    auto& captions = m_captions[static_cast<int>(kind)];
    auto it = captions.find(field);
    if (it == captions.end()) {
        it = captions.emplace(field, m_labels.field(kind, field)).first;
    }
    return it->second;
}

QString CCompareModel::Text(const SNode& node, int field, int column) const {
    const SRecordChange& change = node.change;
    if (node.level == KindLevel) {
        return column == FieldColumn
                   ? m_labels.kind(change.kind, static_cast<int>(node.children.size()))
                   : QString();
    }
    if (field >= 0) {
        const SFieldChange& f = change.fields[static_cast<size_t>(field)];
        switch (column) {
        case FieldColumn:
            return FieldCaption(change.kind, f.field);
        case OldColumn:
            return QString::fromStdString(f.oldValue);
        default:
            return QString::fromStdString(f.newValue);
        }
    }
    switch (column) {
    case FieldColumn:
        return m_labels.record(change);
    case OldColumn:
        return change.type == SRecordChange::EType::Removed ? m_labels.removed : QString();
    default:
        return change.type == SRecordChange::EType::Added ? m_labels.added : QString();
    }
}

QVariant CCompareModel::data(const QModelIndex& index, int role) const {
    const int node = NodeOf(index);
    if (node < 0) {
        return {};
    }
    const SNode& n = m_nodes[node];
    const int field = FieldOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return Text(n, field, index.column());
    case Qt::ToolTipRole:
        return field >= 0 && index.column() == FieldColumn
                   ? QString::fromStdString(n.change.fields[static_cast<size_t>(field)].field)
                   : Text(n, field, index.column());
    case kLevelRole:
        return static_cast<int>(field >= 0 ? FieldLevel : n.level);
    case kKindRole:
        return static_cast<int>(n.change.kind);
    case kIdRole:
        return n.level == KindLevel ? QVariant() : QVariant(n.change.id);
    case kSubRole:
        return n.level == KindLevel ? QVariant() : QVariant(n.change.sub);
    default:
        return {};
    }
}

QVariant CCompareModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount) {
        return m_labels.headers[section];
    }
    return {};
}

Qt::ItemFlags CCompareModel::flags(const QModelIndex& index) const {
    const int node = NodeOf(index);
    if (node < 0) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (FieldOf(index) >= 0) {
        return flags | Qt::ItemNeverHasChildren;
    }
    const SNode& n = m_nodes[node];
    // A team the other installation has: one added here exists only on this side.
    if (!m_dragFolder.isEmpty() && n.level == RecordLevel &&
        n.change.kind == ERecordKind::Team && n.change.type != SRecordChange::EType::Added) {
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
            CTeamDrag{m_dragFolder, m_nodes[NodeOf(index)].change.id}.WriteInto(*data);
            return data;
        }
    }
    return nullptr;
}
