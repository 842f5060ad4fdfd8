#include "editor/toolkit/CPitchPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kGrassLight(74, 150, 64);
const QColor kGrassDark(62, 134, 54);
const QColor kSurround(40, 92, 38);
const QColor kBenchColumn(52, 62, 78);
const QColor kReserveColumn(60, 70, 88);
const QColor kSetPieceRow(70, 40, 78);
const QColor kLine(240, 245, 240, 220);

// One end of the pitch; `down` is +1 for the top end (lines run downwards), -1 for the bottom.
void PaintEnd(QPainter& p, const QRectF& field, qreal goalLineY, int down) {
    const qreal unit = field.width() / 68.0; // pitch widths are 68 m
    const qreal centreX = field.center().x();
    const qreal boxWidth = 40.3 * unit;
    const qreal boxDepth = std::min(16.5 * unit, field.height() * 0.16);
    const qreal areaWidth = 18.3 * unit;
    const qreal areaDepth = boxDepth * 5.5 / 16.5;
    const qreal spotDepth = boxDepth * 11.0 / 16.5;
    auto box = [&](qreal width, qreal depth) {
        const qreal y = down > 0 ? goalLineY : goalLineY - depth;
        return QRectF(centreX - width / 2, y, width, depth);
    };
    p.setBrush(Qt::NoBrush);
    p.drawRect(box(boxWidth, boxDepth));
    p.drawRect(box(areaWidth, areaDepth));
    const QPointF spot(centreX, goalLineY + down * spotDepth);
    const qreal arcRadius = spotDepth * 9.15 / 11.0;
    // The arc outside the box: the part of the circle round the spot beyond the box's edge.
    const qreal beyond = boxDepth - spotDepth;
    const qreal halfAngle = beyond < arcRadius ? std::acos(beyond / arcRadius) * 180.0 / M_PI : 0;
    const QRectF arcRect(spot.x() - arcRadius, spot.y() - arcRadius, 2 * arcRadius, 2 * arcRadius);
    const qreal middle = down > 0 ? 270.0 : 90.0;
    p.drawArc(arcRect, int((middle - halfAngle) * 16), int(2 * halfAngle * 16));
    p.setBrush(kLine);
    const qreal spotRadius = std::max(1.5, unit * 0.4);
    p.drawEllipse(spot, spotRadius, spotRadius);
    const qreal goalWidth = 7.32 * unit;
    const qreal goalDepth = std::max(3.0, unit * 2);
    const qreal goalY = down > 0 ? goalLineY - goalDepth : goalLineY;
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRect(QRectF(centreX - goalWidth / 2, goalY, goalWidth, goalDepth));
}

} // namespace

void CPitchPainter::Paint(QPainter& p, const QRect& area, int cellWidth, int cellHeight) {
    p.save();
    p.fillRect(area, kSurround);

    const QRect pitchCells(area.left(), area.top(), kPitchColumns * cellWidth,
                           kPitchRows * cellHeight);
    const QRect bench(pitchCells.right() + 1, area.top(), cellWidth, 5 * cellHeight);
    const QRect reserves(bench.left() + cellWidth, area.top(), 2 * cellWidth, 9 * cellHeight);
    const QRect setPieces(area.left(), pitchCells.bottom() + 1, 5 * cellWidth, cellHeight);
    p.fillRect(bench, kBenchColumn);
    p.fillRect(reserves.adjusted(0, 0, -cellWidth, 0), kReserveColumn);
    p.fillRect(reserves.adjusted(cellWidth, 0, 0, 0), kReserveColumn.darker(115));
    p.fillRect(setPieces, kSetPieceRow);

    // The field sits inside the formation cells with room for the goals at both ends.
    const qreal margin = std::max(4.0, cellHeight * 0.12);
    const QRectF field = QRectF(pitchCells).adjusted(margin, margin * 1.5, -margin, -margin * 1.5);
    constexpr int kStripes = 12;
    for (int i = 0; i < kStripes; ++i) {
        const qreal top = field.top() + field.height() * i / kStripes;
        const qreal bottom = field.top() + field.height() * (i + 1) / kStripes;
        p.fillRect(QRectF(field.left(), top, field.width(), bottom - top),
                   i % 2 ? kGrassDark : kGrassLight);
    }

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kLine, std::max(1.0, cellHeight / 30.0)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(field);
    const qreal halfway = field.center().y();
    p.drawLine(QPointF(field.left(), halfway), QPointF(field.right(), halfway));
    const qreal circle = std::min(field.width() * 9.15 / 68.0, field.height() * 0.12);
    p.drawEllipse(field.center(), circle, circle);
    p.setBrush(kLine);
    p.drawEllipse(field.center(), 2.0, 2.0);
    PaintEnd(p, field, field.top(), +1);
    PaintEnd(p, field, field.bottom(), -1);

    // Faint cell edges along the bench columns and the set-piece row, so the places read.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int row = 1; row < 9; ++row) {
        const int y = area.top() + row * cellHeight;
        p.drawLine(reserves.left(), y, reserves.right(), y);
        if (row < 5)
            p.drawLine(bench.left(), y, bench.right(), y);
    }
    p.drawLine(reserves.left() + cellWidth, reserves.top(), reserves.left() + cellWidth,
               reserves.bottom());
    for (int column = 1; column < 5; ++column) {
        const int x = area.left() + column * cellWidth;
        p.drawLine(x, setPieces.top(), x, setPieces.bottom());
    }
    p.restore();
}
