#include "CPictureView.h"

#include "editor/toolkit/CPictureScaling.h"

#include <QPainter>

CPictureView::CPictureView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void CPictureView::SetScale(double scale) {
    m_scale = scale > 0 ? scale : 1.0;
    Prepare();
}

void CPictureView::SetTransparentColour(const QColor& colour) {
    m_transparent = colour;
    Prepare();
}

void CPictureView::SetCheckerboard(bool on) {
    m_checkerboard = on;
    update();
}

void CPictureView::SetImage(const QImage& image) {
    m_image = image;
    Prepare();
}

void CPictureView::Prepare() {
    const QImage shown = CPictureScaling::Scaled(
        m_image, m_scale, m_transparent.isValid() ? std::optional(m_transparent) : std::nullopt);
    m_shown = shown.isNull() ? QPixmap() : QPixmap::fromImage(shown);
    updateGeometry();
    update();
}

QSize CPictureView::sizeHint() const {
    return m_shown.isNull() ? QSize(64, 64) : m_shown.size();
}

void CPictureView::paintEvent(QPaintEvent*) {
    if (m_shown.isNull()) {
        return;
    }
    QPainter painter(this);
    // A frame smaller than the picture shows it shrunk, never cut.
    const QSize fitted =
        m_shown.size().scaled(size().boundedTo(m_shown.size()), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    if (m_checkerboard) {
        QPixmap tile(2 * kCheckerSquare, 2 * kCheckerSquare);
        tile.fill(QColor(204, 204, 204));
        QPainter squares(&tile);
        squares.fillRect(0, 0, kCheckerSquare, kCheckerSquare, QColor(255, 255, 255));
        squares.fillRect(kCheckerSquare, kCheckerSquare, kCheckerSquare, kCheckerSquare,
                         QColor(255, 255, 255));
        squares.end();
        painter.drawTiledPixmap(target, tile);
    }
    painter.drawPixmap(target, m_shown);
}
