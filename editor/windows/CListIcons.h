#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// The 16-pixel icons of the lists: the five position groups (goalkeeper, defender, midfielder,
// forward, other), their star-player variants for groups 0 to 3, and one icon per record kind.
class CListIcons {
public:
    static constexpr int kGroups = 5;
    static constexpr int kStarVariants = 4;

    // The icon number of a player: the position group, plus 5 for a star of groups 0 to 3.
    static int PlayerIconIndex(int positionGroup, bool star);
    static const QList<QImage>& PlayerImages();
    static QIcon PlayerIcon(int index);

    static QIcon League();
    static QIcon Team();
    static QIcon Player();
};
