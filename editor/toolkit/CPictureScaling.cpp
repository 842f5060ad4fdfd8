#include "CPictureScaling.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

QImage CPictureScaling::Scaled(const QImage& picture, double factor,
                               std::optional<QColor> transparent) {
    if (picture.isNull() || !(factor > 0.0)) {
        return {};
    }
    // However small the factor, a picture keeps at least one pixel each way.
    const int width = std::max(1, static_cast<int>(std::lround(picture.width() * factor)));
    const int height = std::max(1, static_cast<int>(std::lround(picture.height() * factor)));
    QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (transparent) {
        const QRgb key = transparent->rgb() & 0xFFFFFFu;
        for (int y = 0; y < argb.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                if ((line[x] & 0xFFFFFFu) == key) {
                    line[x] = 0;
                }
            }
        }
    }
    // Premultiplied, so smooth scaling does not darken the edges against the cleared pixels.
    return argb.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage CPictureScaling::Fitted(const QImage& picture, double factor, int side,
                               std::optional<QColor> transparent) {
    QImage scaled = Scaled(picture, factor, transparent);
    if (scaled.isNull() || side <= 0) {
        return {};
    }
    if (scaled.width() > side || scaled.height() > side) {
        scaled = scaled.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((side - scaled.width()) / 2, (side - scaled.height()) / 2, scaled);
    return square;
}
