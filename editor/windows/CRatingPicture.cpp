#include "editor/windows/CRatingPicture.h"

#include "editor/toolkit/CMarkupToolTip.h"

#include <QBuffer>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

QImage Strip() {
    QImage image(CRatingPicture::kWidth, CRatingPicture::kHeight,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 100, 0), 1));
    p.setBrush(QColor(255, 200, 30));
    for (int star = 0; star < 5; ++star)
        p.drawPath(CRatingPicture::Star(QPointF(10 + 20 * star, 10.5), 9.0, 3.8));
    return image;
}

} // namespace

QPainterPath CRatingPicture::Star(const QPointF& centre, qreal outerRadius, qreal innerRadius) {
    QPainterPath path;
    for (int corner = 0; corner < 10; ++corner) {
        const qreal radius = corner % 2 == 0 ? outerRadius : innerRadius;
        const qreal angle = -M_PI / 2 + M_PI / 5 * corner;
        const QPointF point = centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        corner == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QImage CRatingPicture::Of(int rating) {
    static const QImage strip = Strip();
    const int width = std::clamp(rating, 0, kWidth);
    return width == 0 ? QImage() : strip.copy(0, 0, width, kHeight);
}

QString CRatingPicture::ImageTag(int rating) {
    return CMarkupToolTip::ImageTag(Of(rating));
}
