#include "CRecordIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

// Drawn on a 16-unit grid and rendered at the sizes asked for, so they stay sharp.
QIcon Draw(const std::function<void(QPainter&)>& paint, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon CRecordIcons::League() {
    return Draw(
        [](QPainter& p) {
            const QColor gold(214, 168, 38);
            const QColor dark(120, 86, 10);
            p.setPen(QPen(dark, 0.8));
            p.setBrush(gold);
            QPainterPath cup;
            cup.moveTo(4, 2);
            cup.lineTo(12, 2);
            cup.cubicTo(12, 7, 10.5, 9, 8, 9.5);
            cup.cubicTo(5.5, 9, 4, 7, 4, 2);
            p.drawPath(cup);
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(1.5, 3, 4, 4), 90 * 16, 180 * 16);
            p.drawArc(QRectF(10.5, 3, 4, 4), 270 * 16, 180 * 16);
            p.setBrush(gold);
            p.drawRect(QRectF(7.2, 9.5, 1.6, 2.5));
            p.drawRect(QRectF(4.5, 12, 7, 2.5));
        },
        {16, 24, 32});
}

QIcon CRecordIcons::Information() {
    return Draw(
        [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 100, 180));
            p.drawEllipse(QRectF(1, 1, 14, 14));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(7, 3.5, 2, 2));
            p.drawRect(QRectF(7, 7, 2, 5.5));
        },
        {16, 32});
}

QIcon CRecordIcons::Formation() {
    return Draw(
        [](QPainter& p) {
            p.setPen(QPen(Qt::white, 0.8));
            p.setBrush(QColor(40, 140, 60));
            p.drawRect(QRectF(1, 1, 14, 14));
            p.drawLine(QPointF(1, 8), QPointF(15, 8));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(6, 6, 4, 4));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(250, 220, 60));
            for (const QPointF& dot : {QPointF(4, 4), QPointF(12, 4), QPointF(8, 12.5)}) {
                p.drawEllipse(dot, 1.4, 1.4);
            }
        },
        {16, 32});
}

QIcon CRecordIcons::Kits() {
    return Draw(
        [](QPainter& p) {
            p.setPen(QPen(QColor(120, 20, 20), 0.8));
            p.setBrush(QColor(200, 40, 40));
            QPainterPath shirt;
            shirt.moveTo(5.5, 1.5);
            shirt.lineTo(1, 4.5);
            shirt.lineTo(2.8, 7.5);
            shirt.lineTo(4.2, 6.8);
            shirt.lineTo(4.2, 14.5);
            shirt.lineTo(11.8, 14.5);
            shirt.lineTo(11.8, 6.8);
            shirt.lineTo(13.2, 7.5);
            shirt.lineTo(15, 4.5);
            shirt.lineTo(10.5, 1.5);
            shirt.cubicTo(9.5, 3, 6.5, 3, 5.5, 1.5);
            p.drawPath(shirt);
            p.setPen(QPen(Qt::white, 1.2));
            p.drawLine(QPointF(8, 5), QPointF(8, 12));
        },
        {16, 32});
}

QIcon CRecordIcons::Miscellaneous() {
    return Draw(
        [](QPainter& p) {
            p.setPen(QPen(QColor(70, 80, 95), 1.6));
            for (qreal y : {3.5, 8.0, 12.5}) {
                p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
            }
            p.setPen(QPen(QColor(40, 60, 90), 0.8));
            p.setBrush(QColor(230, 235, 245));
            p.drawEllipse(QPointF(5, 3.5), 2, 2);
            p.drawEllipse(QPointF(11, 8), 2, 2);
            p.drawEllipse(QPointF(7, 12.5), 2, 2);
        },
        {16, 32});
}
