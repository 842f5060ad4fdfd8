#pragma once

#include "editor/model/SRecordChange.h"

#include <QAbstractItemModel>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

// The differences of a comparison as a tree: kind › record › field, with the field's value in
// the other database (Old) and in this one (New). Team rows can be dragged when the other side
// is an installation the team can be copied from.
class CCompareModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum EColumn { FieldColumn, OldColumn, NewColumn, ColumnCount };
    enum ELevel { KindLevel, RecordLevel, FieldLevel };
    static constexpr int kLevelRole = Qt::UserRole + 1;
    static constexpr int kKindRole = Qt::UserRole + 2;
    static constexpr int kIdRole = Qt::UserRole + 3;

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

    void SetChanges(const std::vector<SRecordChange>& changes, const SLabels& labels);
    // Records compared again: every record of a kind, or those of one id (every sub).
    struct SCovered {
        ERecordKind kind;
        std::optional<int32_t> id;
    };
    // Replaces the rows of the covered records with `changes` (what the comparison now gives
    // for them): rows that still differ change in place, the others go, new ones come in their
    // places. Every other row stays as it is.
    void UpdateRecords(const std::vector<SRecordChange>& changes,
                       const std::vector<SCovered>& covered, const SLabels& labels);
    // Names the squad places of these players again (a player's name shows in them).
    void RenameSquadPlaces(const std::vector<int32_t>& players, const SLabels& labels);
    // The folder team rows are dragged from; empty: no dragging (the original backup).
    void SetDragFolder(const QString& folder) { m_dragFolder = folder; }
    int RecordCount() const { return static_cast<int>(m_records.size()); }
    // Rows of records and of their fields.
    int RowCount() const { return m_rows; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    using SKey = std::tuple<ERecordKind, int32_t, int32_t>;

    struct SNode {
        int parent = -1;
        int row = 0;
        ELevel level = KindLevel;
        ERecordKind kind = ERecordKind::Player;
        int32_t id = 0;
        int32_t sub = 0;
        SRecordChange::EType type = SRecordChange::EType::Changed;
        QString text[ColumnCount];
        // A field's name as files and the command line write it, for its tool tip.
        QString rawField;
        std::vector<int> children;
    };

    int NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(int node) const;
    std::vector<int>& SiblingsOf(int parent);
    // Adds the node at row (the end when -1) of its parent's rows; its id.
    int AddNode(SNode node, int row = -1);
    // The record's row under its kind and its fields' rows under it.
    int AddRecord(int kindNode, const SRecordChange& change, const SLabels& labels, int row = -1);
    void AddFields(int recordNode, const SRecordChange& change, const SLabels& labels);
    void SetRecordTexts(SNode& record, const SRecordChange& change, const SLabels& labels);
    // Takes the node's row out of its parent's (its own rows go with it).
    void RemoveRow(int node);
    void UpdateRecord(int node, const SRecordChange& change, const SLabels& labels);
    void InsertRecord(const SRecordChange& change, const SLabels& labels);
    static int CountRows(const SRecordChange& change);

    // Nodes taken out stay (unreachable) until the next SetChanges: ids of indexes stay valid.
    std::vector<SNode> m_nodes;
    std::vector<int> m_top;
    int m_kinds[7] = {-1, -1, -1, -1, -1, -1, -1};
    std::map<SKey, int> m_records;
    QString m_headers[ColumnCount];
    QString m_dragFolder;
    int m_rows = 0;
};
