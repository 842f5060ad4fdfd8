#include "CCompareModel.h"

#include "editor/windows/CTeamDrag.h"

#include <QMimeData>

CCompareModel::CCompareModel(QObject* parent) : QAbstractItemModel(parent) {}

int CCompareModel::AddNode(SNode node) {
    const int id = static_cast<int>(m_nodes.size());
    std::vector<int>& siblings = node.parent < 0 ? m_top : m_nodes[node.parent].children;
    node.row = static_cast<int>(siblings.size());
    siblings.push_back(id);
    m_nodes.push_back(std::move(node));
    return id;
}

void CCompareModel::SetChanges(const std::vector<SRecordChange>& changes, const SLabels& labels) {
    beginResetModel();
    m_nodes.clear();
    m_top.clear();
    m_records = static_cast<int>(changes.size());
    for (int c = 0; c < ColumnCount; ++c) {
        m_headers[c] = labels.headers[c];
    }
    // The changes come sorted by kind: one kind row for each run of them.
    int kindNode = -1;
    for (size_t i = 0; i < changes.size(); ++i) {
        const SRecordChange& change = changes[i];
        if (kindNode < 0 || m_nodes[kindNode].kind != change.kind) {
            size_t end = i;
            while (end < changes.size() && changes[end].kind == change.kind) {
                ++end;
            }
            SNode kind;
            kind.kind = change.kind;
            kind.text[FieldColumn] = labels.kind(change.kind, static_cast<int>(end - i));
            kindNode = AddNode(std::move(kind));
        }
        SNode record;
        record.parent = kindNode;
        record.level = RecordLevel;
        record.kind = change.kind;
        record.id = change.id;
        record.type = change.type;
        record.text[FieldColumn] = labels.record(change);
        if (change.type == SRecordChange::EType::Added) {
            record.text[NewColumn] = labels.added;
        } else if (change.type == SRecordChange::EType::Removed) {
            record.text[OldColumn] = labels.removed;
        }
        const int recordNode = AddNode(std::move(record));
        for (const SFieldChange& field : change.fields) {
            SNode row;
            row.parent = recordNode;
            row.level = FieldLevel;
            row.kind = change.kind;
            row.id = change.id;
            row.type = change.type;
            row.text[FieldColumn] = labels.field(change.kind, field.field);
            row.rawField = QString::fromStdString(field.field);
            row.text[OldColumn] = QString::fromStdString(field.oldValue);
            row.text[NewColumn] = QString::fromStdString(field.newValue);
            AddNode(std::move(row));
        }
    }
    endResetModel();
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
    const int parent = m_nodes[node].parent;
    return createIndex(m_nodes[parent].row, 0, static_cast<quintptr>(parent));
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
