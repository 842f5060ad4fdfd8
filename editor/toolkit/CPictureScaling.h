#pragma once

#include <QColor>
#include <QImage>

#include <optional>

// Pictures of the game as the windows show them: reduced by a factor, with one colour (the
// game's magenta) made transparent before scaling so no fringe of it bleeds into the edges.
class CPictureScaling {
public:
    static inline const QColor kMagenta = QColor(255, 0, 255);

    // A null image for a null picture or a factor that is not positive.
    static QImage Scaled(const QImage& picture, double factor,
                         std::optional<QColor> transparent = kMagenta);
    // The scaled picture centred on a transparent square of `side` pixels (shrunk further
    // when it would not fit), as list and tree icons want it.
    static QImage Fitted(const QImage& picture, double factor, int side,
                         std::optional<QColor> transparent = kMagenta);
};
