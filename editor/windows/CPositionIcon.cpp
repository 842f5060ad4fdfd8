#include "editor/windows/CPositionIcon.h"

#include "editor/windows/CRatingPicture.h"

#include <QColor>
#include <QPainter>

#include <array>

namespace {

struct SGroupLook {
    QColor colour;
    const char* letter;
};

const std::array<SGroupLook, 5> kGroups{{{QColor(230, 170, 20), "G"},
                                         {QColor(40, 90, 200), "D"},
                                         {QColor(30, 150, 70), "M"},
                                         {QColor(200, 40, 40), "A"},
                                         {QColor(120, 120, 120), "-"}}};

QImage Draw(int group, bool star) {
    const SGroupLook& look = kGroups[static_cast<size_t>(group)];
    // Drawn at twice the size, so the pitch can show it larger and still sharp.
    QImage image(2 * CPositionIcon::kSize, 2 * CPositionIcon::kSize,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    p.setPen(QPen(look.colour.darker(160), 1));
    p.setBrush(look.colour);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font = p.font();
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QString::fromLatin1(look.letter));
    if (star) {
        p.setPen(QPen(QColor(140, 90, 0), 0.8));
        p.setBrush(QColor(255, 200, 30));
        p.drawPath(CRatingPicture::Star(QPointF(12, 4), 4.2, 1.8));
    }
    return image;
}

} // namespace

QImage CPositionIcon::Of(int group, bool star) {
    // Five plain icons and a star variant for all but the last group.
    static const auto icons = [] {
        std::array<std::array<QImage, 2>, 5> all;
        for (int group = 0; group < 5; ++group)
            for (int star = 0; star < 2; ++star)
                all[static_cast<size_t>(group)][static_cast<size_t>(star)] = Draw(group, star == 1);
        return all;
    }();
    const int g = group >= 0 && group < 4 ? group : 4;
    return icons[static_cast<size_t>(g)][g < 4 && star ? 1 : 0];
}
