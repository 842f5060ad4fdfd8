#pragma once

#include "editor/model/SRecordChange.h"

#include <QAbstractItemModel>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

// The differences of a comparison as a tree: kind › record › field, with the field's value in
// the other database (Old) and in this one (New). Team rows can be dragged when the other side
// is an installation the team can be copied from. A comparison can list hundreds of thousands
// of fields: their rows are the records' changes themselves, named only when shown.
class CCompareModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum EColumn { FieldColumn, OldColumn, NewColumn, ColumnCount };
    enum ELevel { KindLevel, RecordLevel, FieldLevel };
    static constexpr int kLevelRole = Qt::UserRole + 1;
    static constexpr int kKindRole = Qt::UserRole + 2;
    static constexpr int kIdRole = Qt::UserRole + 3;
    // A kit's type or a squad place's player.
    static constexpr int kSubRole = Qt::UserRole + 4;

    // How rows are named: the kinds, records and fields in the user's language.
    struct SLabels {
        std::function<QString(ERecordKind kind, int count)> kind;
        std::function<QString(const SRecordChange& record)> record;
        std::function<QString(ERecordKind kind, const std::string& field)> field;
        QString added;
        QString removed;
        QString headers[ColumnCount];
    };

    explicit CCompareModel(QObject* parent = nullptr);

    void SetChanges(std::vector<SRecordChange> changes, const SLabels& labels);
    // Records compared again: every record of a kind, or those of one id (every sub).
    struct SCovered {
        ERecordKind kind;
        std::optional<int32_t> id;
    };
    // Replaces the rows of the covered records with `changes` (what the comparison now gives
    // for them): rows that still differ change in place, the others go, new ones come in their
    // places. Every other row stays as it is.
    void UpdateRecords(std::vector<SRecordChange> changes, const std::vector<SCovered>& covered);
    // Names the squad places of these players again (a player's name shows in them).
    void RenameSquadPlaces(const std::vector<int32_t>& players);
    // The folder team rows are dragged from; empty: no dragging (the original backup).
    void SetDragFolder(const QString& folder) { m_dragFolder = folder; }
    int RecordCount() const { return static_cast<int>(m_records.size()); }
    // Rows of records and of their fields.
    int RowCount() const { return m_rows; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    using SKey = std::tuple<ERecordKind, int32_t, int32_t>;

    // A kind's row (its records as children) or a record's (its change; its fields are rows).
    struct SNode {
        int parent = -1;
        int row = 0;
        ELevel level = KindLevel;
        SRecordChange change;
        std::vector<int> children;
    };

    int NodeOf(const QModelIndex& index) const;
    // The field row an index stands for; -1 for a kind or record.
    static int FieldOf(const QModelIndex& index);
    QModelIndex IndexOf(int node) const;
    std::vector<int>& SiblingsOf(int parent);
    // Adds the node at row (the end when -1) of its parent's rows; its id.
    int AddNode(SNode node, int row = -1);
    int AddRecord(int kindNode, SRecordChange change, int row = -1);
    // Takes the node's row out of its parent's (its own rows go with it).
    void RemoveRow(int node);
    void UpdateRecord(int node, SRecordChange change);
    void InsertRecord(SRecordChange change);
    QString Text(const SNode& node, int field, int column) const;
    // Field names are few: each is named once.
    const QString& FieldCaption(ERecordKind kind, const std::string& field) const;

    // Nodes taken out stay (unreachable) until the next SetChanges: ids of indexes stay valid.
    std::vector<SNode> m_nodes;
    std::vector<int> m_top;
    int m_kinds[7] = {-1, -1, -1, -1, -1, -1, -1};
    std::map<SKey, int> m_records;
    SLabels m_labels;
    mutable std::unordered_map<std::string, QString> m_captions[7];
    QString m_dragFolder;
    int m_rows = 0;
};
