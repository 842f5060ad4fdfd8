#include "CPictureView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

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

void CPictureView::SetImage(const QImage& image) {
    m_image = image;
    Prepare();
}

void CPictureView::Prepare() {
    if (m_image.isNull()) {
        m_shown = QPixmap();
    } else {
        QImage image = m_image.convertToFormat(QImage::Format_ARGB32);
        if (m_transparent.isValid()) {
            const QRgb key = m_transparent.rgb() & RGB_MASK;
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    if ((line[x] & RGB_MASK) == key) {
                        line[x] = 0;
                    }
                }
            }
        }
        const QSize size(std::max(1, static_cast<int>(std::lround(image.width() * m_scale))),
                         std::max(1, static_cast<int>(std::lround(image.height() * m_scale))));
        m_shown = QPixmap::fromImage(
            image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
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
    const QSize fitted = m_shown.size().scaled(size().boundedTo(m_shown.size()),
                                               Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    painter.drawPixmap(target, m_shown);
}
