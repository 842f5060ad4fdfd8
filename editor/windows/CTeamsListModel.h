#pragma once

#include "editor/windows/CRecordRowsModel.h"

#include <QHash>
#include <QIcon>
#include <QString>

#include <cstdint>
#include <vector>

class CFrameHost;
class CPlayerDrag;
struct SChange;

// What a teams list shows of a team: its name and the size of its squad.
struct STeamsListRow {
    int32_t id = 0;
    QString name;
    int players = 0;
    bool operator==(const STeamsListRow&) const = default;
};

// The teams of a league with the size of each squad. Players dropped on a team's row join it.
class CTeamsListModel : public CRecordRowsModel<STeamsListRow> {
    Q_OBJECT
public:
    enum Column { TeamColumn, PlayerCountColumn, ColumnCount };
    static constexpr int kTeamIdRole = Qt::UserRole + 1;
    // The name as text, the squad size as a number.
    static constexpr int kSortRole = Qt::UserRole + 2;
    // Crests are shrunk to this share of their size.
    static constexpr qreal kCrestFactor = 0.1875;

    explicit CTeamsListModel(CFrameHost& host, QObject* parent = nullptr);

    // The teams of a league, in place of what the list showed.
    void Show(int32_t leagueId);
    // Reads the rows again when the change touches the league or its teams (names, squad
    // sizes, crests); only rows that differ are signalled.
    void DocumentChanged(const SChange& change);
    int32_t LeagueId() const { return m_leagueId; }
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

    struct SDropResult {
        std::vector<int32_t> taken;
        // Players the team had no place for; those already in it are not counted.
        int refused = 0;
    };
    // Each player is added to the team, bench place and number chosen by the add. Unless
    // copying, those the team took leave the drag's source team; a drag without one (from the
    // all-players table) only adds. Players already in the team stay as they are there.
    SDropResult DropPlayers(const CPlayerDrag& drag, int32_t teamId, bool copy);

private:
    std::vector<STeamsListRow> ReadRows() const;
    QIcon Crest(int32_t teamId) const;

    CFrameHost& m_host;
    int32_t m_leagueId = 0;
    // Crests are read from the archives when a row is first painted, once per team.
    mutable QHash<int32_t, QIcon> m_crests;
};
