#pragma once

#include <QRect>

class QPainter;

// Paints the formation grid's ground: a full pitch with grass stripes, lines, boxes and the
// centre circle over the formation's seven by eight cells, the bench and reserve columns beside
// it and the set-piece row below, all scaled to the area given.
class CPitchPainter {
public:
    static constexpr int kPitchColumns = 7;
    static constexpr int kPitchRows = 8;

    static void Paint(QPainter& painter, const QRect& area, int cellWidth, int cellHeight);
};
