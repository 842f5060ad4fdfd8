#include "DrawnPictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace DrawnPictures {

QString Kit(const QString& path) {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath jersey;
    jersey.addPolygon(QPolygonF({QPointF(44, 14), QPointF(84, 14), QPointF(108, 36),
                                 QPointF(96, 48), QPointF(86, 40), QPointF(86, 82), QPointF(42, 82),
                                 QPointF(42, 40), QPointF(32, 48), QPointF(20, 36)}));
    painter.fillPath(jersey, QColor(250, 200, 0));
    painter.setClipPath(jersey);
    for (int y = 22; y < 82; y += 16)
        painter.fillRect(0, y, 128, 8, QColor(20, 40, 120));
    painter.setClipping(false);
    painter.fillRect(44, 82, 40, 22, QColor(20, 40, 120));
    painter.fillRect(46, 104, 12, 18, QColor(250, 200, 0));
    painter.fillRect(70, 104, 12, 18, QColor(250, 200, 0));
    painter.end();
    return image.save(path) ? path : QString();
}

QString Crest(const QString& path) {
    QImage image(96, 96, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shield;
    shield.addPolygon(QPolygonF(
        {QPointF(16, 10), QPointF(80, 10), QPointF(80, 50), QPointF(48, 88), QPointF(16, 50)}));
    painter.fillPath(shield, QColor(20, 40, 120));
    painter.setClipPath(shield);
    painter.fillRect(0, 36, 96, 16, QColor(250, 200, 0));
    painter.end();
    return image.save(path) ? path : QString();
}

} // namespace DrawnPictures
