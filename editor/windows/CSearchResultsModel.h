#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <vector>

class CFrameHost;
struct CFindSettings;

// The records one Find found: a snapshot taken when the window opens, sorted by the type
// column. Names match in any letter case of any script (Qt's Unicode case folding).
class CSearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, TypeColumn, ColumnCount };
    enum class EKind { League = 1, Team = 2, Player = 3 };
    // 10,000,000 times the kind plus the record's id.
    static constexpr int kItemValueRole = Qt::UserRole + 1;
    static constexpr int32_t kKindFactor = 10000000;

    explicit CSearchResultsModel(CFrameHost& host, QObject* parent = nullptr);

    void Search(const CFindSettings& settings);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct SRow {
        EKind kind;
        int32_t id;
        QString name;
    };
    QString TypeText(EKind kind) const;

    CFrameHost& m_host;
    std::vector<SRow> m_rows;
};
