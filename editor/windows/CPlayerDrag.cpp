#include "CPlayerDrag.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CListIcons.h"

#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kDragRowsShown = 5;
constexpr char kNoSource[] = "-";

// The names of the dragged players under each other, the first few and how many more.
QPixmap DragPixmap(const CGameDatabase& db, const QList<int32_t>& playerIds, const QFont& font) {
    const QFontMetrics metrics(font);
    const int lineHeight = std::max(18, metrics.height() + 2);
    const int shown = std::min<int>(static_cast<int>(playerIds.size()), kDragRowsShown);
    const bool more = playerIds.size() > shown;
    QList<QPair<QIcon, QString>> rows;
    int width = 0;
    for (int i = 0; i < shown; ++i) {
        const CPlayer* player = db.FindPlayer(playerIds.at(i));
        const QString name =
            player ? QString::fromStdString(db.PlayerDisplayName(player->Id())) : QString();
        const QIcon icon =
            player ? CListIcons::PlayerIcon(CListIcons::PlayerIconIndex(
                         player->PositionGroup(), player->Value(EPlayerColumn::StarPlayer) != 0))
                   : QIcon();
        rows.append({icon, name});
        width = std::max(width, metrics.horizontalAdvance(name));
    }
    width = std::min(width + 28, 320);
    QPixmap pixmap(width, lineHeight * (shown + (more ? 1 : 0)) + 2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setFont(font);
    p.setPen(QColor(70, 90, 120));
    p.setBrush(QColor(235, 242, 252, 220));
    p.drawRoundedRect(pixmap.rect().adjusted(0, 0, -1, -1), 3, 3);
    p.setPen(Qt::black);
    for (int i = 0; i < shown; ++i) {
        const int y = 1 + i * lineHeight;
        rows.at(i).first.paint(&p, QRect(4, y + (lineHeight - 16) / 2, 16, 16));
        p.drawText(QRect(24, y, width - 26, lineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   metrics.elidedText(rows.at(i).second, Qt::ElideRight, width - 26));
    }
    if (more) {
        p.drawText(QRect(24, 1 + shown * lineHeight, width - 26, lineHeight),
                   Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("+%1").arg(playerIds.size() - shown));
    }
    return pixmap;
}

// The arrow with a plus sign: what the pointer shows while a drop copies.
QPixmap CopyCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF arrow[] = {{1, 1}, {1, 17}, {5, 13}, {8, 20}, {10, 19}, {7, 12}, {12, 12}};
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow, 7);
    p.setBrush(QColor(40, 140, 60));
    p.drawRect(QRectF(15, 17, 12, 12));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(21, 19), QPointF(21, 27));
    p.drawLine(QPointF(17, 23), QPointF(25, 23));
    return pixmap;
}

} // namespace

const char* const CPlayerDrag::kMimeType = "application/x-kestrel-players";

void CPlayerDrag::WriteInto(QMimeData& data) const {
    // Plain text lines: the source team (or "-"), then one player id a line.
    QByteArray bytes = sourceTeamId ? QByteArray::number(*sourceTeamId) : QByteArray(kNoSource);
    for (int32_t id : playerIds) {
        bytes += '\n' + QByteArray::number(id);
    }
    data.setData(QString::fromLatin1(kMimeType), bytes);
}

std::optional<CPlayerDrag> CPlayerDrag::From(const QMimeData* data) {
    if (!data || !data->hasFormat(QString::fromLatin1(kMimeType))) {
        return std::nullopt;
    }
    // Another program may offer anything under this type: every line must be a number.
    const QList<QByteArray> lines = data->data(QString::fromLatin1(kMimeType)).split('\n');
    CPlayerDrag drag;
    bool ok = true;
    if (lines.first() != kNoSource) {
        drag.sourceTeamId = lines.first().toInt(&ok);
    }
    for (qsizetype i = 1; ok && i < lines.size(); ++i) {
        drag.playerIds.append(lines.at(i).toInt(&ok));
    }
    if (!ok || drag.playerIds.isEmpty()) {
        return std::nullopt;
    }
    return drag;
}

Qt::DropAction CPlayerDrag::Exec(QWidget* source, QMimeData* data, const CGameDatabase& db,
                                 const QList<int32_t>& playerIds, Qt::DropActions actions,
                                 Qt::DropAction defaultAction) {
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->setPixmap(DragPixmap(db, playerIds, source->font()));
    // The picture hangs below and right of the pointer, so the row under it stays visible.
    drag->setHotSpot(QPoint(-10, -10));
    drag->setDragCursor(CopyCursor(), Qt::CopyAction);
    // The drop changes the squads and the main window refreshes every list that shows them.
    return drag->exec(actions, defaultAction);
}
