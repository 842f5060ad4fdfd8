#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QString>

#include <cstdint>
#include <vector>

class CFrameHost;

// The teams of a league. Players dropped on a team's row join that team.
class CTeamsListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TeamColumn, TypeColumn, TeamCountColumn, PlayerCountColumn, ColumnCount };
    static constexpr int kTeamIdRole = Qt::UserRole + 1;
    // Crests are shrunk to this share of their size.
    static constexpr qreal kCrestFactor = 0.1875;

    explicit CTeamsListModel(CFrameHost& host, QObject* parent = nullptr);

    void Refresh(int32_t leagueId);
    int32_t LeagueId() const { return m_leagueId; }
    int32_t TeamAt(int row) const;
    int RowOf(int32_t teamId) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    // Players on a team's row (parent): copied with Qt::CopyAction, else moved. A drop between
    // or below the rows changes nothing.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    QIcon Crest(int32_t teamId) const;

    struct SRow {
        int32_t teamId = 0;
        QString name;
    };
    CFrameHost& m_host;
    int32_t m_leagueId = 0;
    std::vector<SRow> m_rows;
    // Crests are read from the archives when a row is first painted, once per team.
    mutable QHash<int32_t, QIcon> m_crests;
};
