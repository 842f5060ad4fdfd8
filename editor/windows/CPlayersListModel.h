#pragma once

#include "editor/windows/CRecordRowsModel.h"

#include <QList>
#include <QString>

#include <cstdint>

class CFrameHost;
struct SChange;

// What a players list shows of a player: his display name, number, place and icon.
struct SPlayersListRow {
    int32_t id = 0;
    QString name;
    int32_t jersey = 0;
    int32_t position = 0;
    int icon = 0;
    bool operator==(const SPlayersListRow&) const = default;
};

// The rows of a players list: a team's squad in link order, or (team 109998) every player
// without a team. Rows hold only what the columns show; the rest is looked up by player id.
class CPlayersListModel : public CRecordRowsModel<SPlayersListRow> {
    Q_OBJECT
public:
    enum Column { NameColumn, NumberColumn, PositionColumn, ColumnCount };
    static constexpr int kPlayerIdRole = Qt::UserRole + 1;
    // Text for the name column, numbers for the others, so a sort compares numbers as numbers.
    static constexpr int kSortRole = Qt::UserRole + 2;
    // The tool tip in the windows' mark-up, before it is turned into rich text.
    static constexpr int kMarkupRole = Qt::UserRole + 3;
    static constexpr int kIconIndexRole = Qt::UserRole + 4;

    explicit CPlayersListModel(CFrameHost& host, QObject* parent = nullptr);

    // The rows of a team (or 109998), in place of what the list showed.
    void Show(int32_t teamId);
    // Reads the rows again when the change touches them; only rows that differ are signalled.
    void DocumentChanged(const SChange& change);
    int32_t TeamId() const { return m_teamId; }
    bool ShowsPlayersWithoutTeam() const;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    using SRow = SPlayersListRow;
    std::vector<SRow> ReadRows() const;
    bool Concerns(const SChange& change) const;
    QString ToolTipMarkup(const SRow& row) const;
    QString PositionName(int32_t code) const;
    QString ToolTipHtml(const SRow& row) const;

    CFrameHost& m_host;
    int32_t m_teamId = 0;
};
