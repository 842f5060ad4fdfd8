#pragma once

#include <QImage>

// The position icon (16 pixels, held at twice that for large views) of a player marker: a disc
// coloured and lettered by the position group of the player's first preferred position, with a gold
// star for star players.
class CPositionIcon {
public:
    static constexpr int kSize = 16;
    // Group 0 goalkeeper, 1 defence, 2 midfield, 3 attack, 4 anything else.
    static QImage Of(int group, bool star);
};
