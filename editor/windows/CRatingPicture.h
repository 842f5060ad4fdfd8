#pragma once

#include <QImage>
#include <QPainterPath>
#include <QString>

// The rating shown in tool tips: a strip of five stars, 100 by 20 pixels, cut after as many
// pixels as the rating (0-100), so a rating of 60 shows three stars.
class CRatingPicture {
public:
    static constexpr int kWidth = 100;
    static constexpr int kHeight = 20;

    static QImage Of(int rating);
    // A five-pointed star, point up; the position icons' star variant uses it too.
    static QPainterPath Star(const QPointF& centre, qreal outerRadius, qreal innerRadius);
    // An <img> tag carrying the picture, for rich-text tool tips.
    static QString ImageTag(int rating);
};
