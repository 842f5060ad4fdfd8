#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

class CGameDatabase;
class QMimeData;
class QWidget;

// What a drag of players carries, from a players list or from the all-players table, and how
// such a drag starts. A list drags from its team; the table's rows may be in several teams or
// none, so its drags have no source team and only ever add players.
class CPlayerDrag {
public:
    static const char* const kMimeType;

    std::optional<int32_t> sourceTeamId;
    QList<int32_t> playerIds;

    // Puts the drag into the data under kMimeType.
    void WriteInto(QMimeData& data) const;
    // Null when the data holds no players (or was not written by WriteInto).
    static std::optional<CPlayerDrag> From(const QMimeData* data);

    // Runs the drag from `source`: the players' icons and names under the pointer, the copy
    // cursor where a drop copies. Takes the data. Returns the action of the drop.
    static Qt::DropAction Exec(QWidget* source, QMimeData* data, const CGameDatabase& db,
                               const QList<int32_t>& playerIds, Qt::DropActions actions,
                               Qt::DropAction defaultAction);
};
