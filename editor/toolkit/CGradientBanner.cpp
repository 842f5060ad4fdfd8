#include "CGradientBanner.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr int kMargin = 8;

} // namespace

CGradientBanner::CGradientBanner(QWidget* parent) : QWidget(parent) {
    m_titleFont = BoldFont({QStringLiteral("Futura  Extra Black BT"),
                            QStringLiteral("Futura Extra Black BT")},
                           14);
    m_captionFont = BoldFont({QStringLiteral("Abadi CE MT Bold Italic")}, 12, true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(QString());
}

QFont CGradientBanner::BoldFont(const QStringList& families, int pointSize, bool italic) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : families) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPointSize(pointSize);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

void CGradientBanner::SetTitle(const QString& title) {
    m_title = title;
    Describe();
    update();
}

void CGradientBanner::SetCaption(const QString& caption) {
    m_caption = caption;
    Describe();
    update();
}

void CGradientBanner::SetPicture(const QPixmap& picture) {
    m_picture = picture;
    updateGeometry();
    update();
}

void CGradientBanner::SetColour(const QColor& colour) {
    m_colour = colour;
    update();
}

void CGradientBanner::SetTitleFont(const QFont& font) {
    m_titleFont = font;
    updateGeometry();
    update();
}

void CGradientBanner::SetCaptionFont(const QFont& font) {
    m_captionFont = font;
    updateGeometry();
    update();
}

void CGradientBanner::Describe() {
    // Screen readers hear what the strip shows.
    setAccessibleName(m_title);
    setAccessibleDescription(m_caption);
}

QSize CGradientBanner::sizeHint() const {
    const int text = QFontMetrics(m_titleFont).height() + QFontMetrics(m_captionFont).height();
    const int height = std::max(text, m_picture.isNull() ? 0 : m_picture.height()) + 2 * kMargin;
    return {320, height};
}

void CGradientBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(rect().topLeft(), rect().topRight());
    gradient.setColorAt(0, m_colour);
    gradient.setColorAt(1, Qt::black);
    painter.fillRect(rect(), gradient);
    int left = kMargin;
    if (!m_picture.isNull()) {
        painter.drawPixmap(left, (height() - m_picture.height()) / 2, m_picture);
        left += m_picture.width() + kMargin;
    }
    const QFontMetrics titleMetrics(m_titleFont);
    const QFontMetrics captionMetrics(m_captionFont);
    const int textHeight = titleMetrics.height() + captionMetrics.height();
    const int top = (height() - textHeight) / 2;
    const int width = std::max(0, this->width() - left - kMargin);
    painter.setPen(Qt::white);
    painter.setFont(m_titleFont);
    painter.drawText(QRect(left, top, width, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(m_title, Qt::ElideRight, width));
    painter.setFont(m_captionFont);
    painter.drawText(QRect(left, top + titleMetrics.height(), width, captionMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     captionMetrics.elidedText(m_caption, Qt::ElideRight, width));
}
