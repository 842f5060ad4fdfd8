#include "CToolBarIcons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int kSize = 32;

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return QIcon(pixmap);
}

void Page(QPainter& p, const QRectF& rect) {
    p.setPen(QPen(QColor(70, 80, 95), 2));
    p.setBrush(Qt::white);
    p.drawRect(rect);
    p.setPen(QPen(QColor(150, 160, 175), 1.5));
    for (qreal y = rect.top() + 6; y < rect.bottom() - 3; y += 5) {
        p.drawLine(QPointF(rect.left() + 4, y), QPointF(rect.right() - 4, y));
    }
}

} // namespace

QIcon CToolBarIcons::Save() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(30, 50, 90), 2));
        p.setBrush(QColor(60, 100, 170));
        p.drawRoundedRect(QRectF(3, 3, 26, 26), 3, 3);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 4, 16, 10));
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(9, 19, 14, 9));
    });
}

QIcon CToolBarIcons::Cut() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(70, 80, 95), 2.5));
        p.drawLine(QPointF(10, 3), QPointF(20, 21));
        p.drawLine(QPointF(22, 3), QPointF(12, 21));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(190, 40, 40), 2.5));
        p.drawEllipse(QPointF(10, 25), 4.5, 4.5);
        p.drawEllipse(QPointF(22, 25), 4.5, 4.5);
    });
}

QIcon CToolBarIcons::Copy() {
    return Draw([](QPainter& p) {
        Page(p, QRectF(3, 3, 17, 21));
        Page(p, QRectF(12, 9, 17, 21));
    });
}

QIcon CToolBarIcons::Paste() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 30), 2));
        p.setBrush(QColor(190, 140, 80));
        p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
        p.setBrush(QColor(120, 125, 135));
        p.drawRect(QRectF(9, 2, 10, 6));
        Page(p, QRectF(13, 12, 16, 18));
    });
}

QIcon CToolBarIcons::About() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(30, 70, 140), 2));
        p.setBrush(QColor(70, 130, 210));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(Qt::white);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(20);
        p.setFont(font);
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QImage CToolBarIcons::ApplicationPicture(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / qreal(kSize), size / qreal(kSize));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(34, 110, 70));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    QPainterPath bird;
    bird.moveTo(16, 13);
    bird.cubicTo(19, 7, 24, 5, 30, 6);
    bird.cubicTo(25, 9, 22, 12, 20, 16);
    bird.cubicTo(21, 19, 21, 23, 19, 27);
    bird.lineTo(16, 21);
    bird.cubicTo(11, 20, 6, 16, 2, 9);
    bird.cubicTo(8, 12, 12, 13, 16, 13);
    p.setBrush(QColor(240, 196, 120));
    p.drawPath(bird);
    return image;
}

QIcon CToolBarIcons::Application() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(ApplicationPicture(size)));
    }
    return icon;
}
