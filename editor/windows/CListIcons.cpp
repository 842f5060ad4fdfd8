#include "CListIcons.h"

#include "editor/windows/CPositionIcon.h"
#include "editor/windows/CRecordIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// At the lists' 16 pixels (the position icons are drawn larger for the pitch).
QImage ListSized(const QImage& image) {
    return image.scaled(CPositionIcon::kSize, CPositionIcon::kSize, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation);
}

QList<QImage> MakePlayerImages() {
    QList<QImage> images;
    for (int group = 0; group < CListIcons::kGroups; ++group) {
        images.append(ListSized(CPositionIcon::Of(group, false)));
    }
    for (int group = 0; group < CListIcons::kStarVariants; ++group) {
        images.append(ListSized(CPositionIcon::Of(group, true)));
    }
    return images;
}

// A shield, for teams in the search results.
QIcon DrawTeamIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(2, 2);
    path.lineTo(14, 2);
    path.lineTo(14, 8);
    path.quadTo(14, 13, 8, 15);
    path.quadTo(2, 13, 2, 8);
    path.closeSubpath();
    const QColor colour(50, 90, 160);
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    p.drawPath(path);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(8, 4), QPointF(8, 12));
    return QIcon(pixmap);
}

} // namespace

int CListIcons::PlayerIconIndex(int positionGroup, bool star) {
    if (positionGroup < 0 || positionGroup >= kGroups) {
        positionGroup = kGroups - 1;
    }
    return star && positionGroup < kStarVariants ? positionGroup + kGroups : positionGroup;
}

const QList<QImage>& CListIcons::PlayerImages() {
    static const QList<QImage> images = MakePlayerImages();
    return images;
}

QIcon CListIcons::PlayerIcon(int index) {
    static const QList<QIcon> icons = [] {
        QList<QIcon> list;
        for (const QImage& image : PlayerImages()) {
            list.append(QIcon(QPixmap::fromImage(image)));
        }
        return list;
    }();
    return index >= 0 && index < icons.size() ? icons.at(index) : QIcon();
}

QIcon CListIcons::League() {
    return CRecordIcons::League();
}

QIcon CListIcons::Team() {
    static const QIcon icon = DrawTeamIcon();
    return icon;
}

QIcon CListIcons::Player() {
    return PlayerIcon(PlayerIconIndex(2, false));
}
