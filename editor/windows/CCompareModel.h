#pragma once

#include "editor/model/SRecordChange.h"

#include <QAbstractItemModel>
#include <QString>

#include <functional>
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
    // The folder team rows are dragged from; empty: no dragging (the original backup).
    void SetDragFolder(const QString& folder) { m_dragFolder = folder; }
    int RecordCount() const { return m_records; }

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
    struct SNode {
        int parent = -1;
        int row = 0;
        ELevel level = KindLevel;
        ERecordKind kind = ERecordKind::Player;
        int32_t id = 0;
        SRecordChange::EType type = SRecordChange::EType::Changed;
        QString text[ColumnCount];
        // A field's name as files and the command line write it, for its tool tip.
        QString rawField;
        std::vector<int> children;
    };

    int NodeOf(const QModelIndex& index) const;
    int AddNode(SNode node);

    std::vector<SNode> m_nodes;
    std::vector<int> m_top;
    QString m_headers[ColumnCount];
    QString m_dragFolder;
    int m_records = 0;
};
