#include "CSplashWindow.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScreen>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 270;
// Where the text line sits on the picture.
const QRect kTextRect(30, 180, 420, 44);
const QRect kBarRect(30, 232, 420, 10);

// Platforms without window opacity show and hide the window at once.
bool CanFade() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

CSplashWindow::CSplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_TranslucentBackground, false);
    setFixedSize(kWidth, kHeight);
    m_picture = MakeDefaultPicture(QStringLiteral("Kestrel"), QString());
    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        if (windowOpacity() <= 0.01) {
            hide();
        }
    });
}

void CSplashWindow::SetPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void CSplashWindow::SetText(const QString& text) {
    m_text = text;
    repaint();
}

void CSplashWindow::SetProgress(int percent) {
    m_progress = percent < 0 ? -1 : std::min(percent, 100);
    repaint();
}

void CSplashWindow::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    m_fade->stop();
    if (!CanFade()) {
        show();
        return;
    }
    setWindowOpacity(0.0);
    show();
    raise();
    m_fade->setDuration(500);
    m_fade->setStartValue(0.0);
    m_fade->setEndValue(1.0);
    m_fade->start();
}

void CSplashWindow::FadeOut() {
    if (!isVisible()) {
        return;
    }
    m_fade->stop();
    if (!CanFade()) {
        hide();
        return;
    }
    m_fade->setDuration(200);
    m_fade->setStartValue(windowOpacity());
    m_fade->setEndValue(0.0);
    m_fade->start();
}

QPixmap CSplashWindow::MakeDefaultPicture(const QString& title, const QString& subtitle) {
    QPixmap pixmap(kWidth, kHeight);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(24, 52, 92));
    sky.setColorAt(0.65, QColor(34, 96, 64));
    sky.setColorAt(1.0, QColor(18, 60, 38));
    p.fillRect(pixmap.rect(), sky);

    // Pitch lines.
    p.setPen(QPen(QColor(255, 255, 255, 50), 2));
    p.drawLine(0, 170, kWidth, 170);
    p.drawEllipse(QPoint(kWidth / 2, 170), 70, 22);

    // A kestrel's silhouette, wings spread.
    QPainterPath bird;
    bird.moveTo(360, 78);
    bird.cubicTo(380, 52, 410, 40, 452, 44);
    bird.cubicTo(420, 56, 402, 70, 392, 84);
    bird.cubicTo(400, 92, 404, 104, 398, 118);
    bird.lineTo(386, 100);
    bird.cubicTo(378, 98, 370, 92, 366, 86);
    bird.cubicTo(340, 84, 318, 74, 296, 52);
    bird.cubicTo(326, 62, 346, 70, 360, 78);
    p.fillPath(bird, QColor(240, 196, 120));

    QFont big(QStringLiteral("DejaVu Sans"), 34, QFont::Bold);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(QRect(30, 40, 300, 60), Qt::AlignLeft | Qt::AlignVCenter, title);
    QFont small(QStringLiteral("DejaVu Sans"), 11);
    p.setFont(small);
    p.setPen(QColor(220, 230, 240));
    p.drawText(QRect(32, 100, 320, 24), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    p.setPen(QPen(QColor(0, 0, 0, 120), 2));
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

void CSplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    p.drawText(kTextRect, Qt::AlignCenter | Qt::TextWordWrap, m_text);
    if (m_progress >= 0) {
        p.setPen(QColor(255, 255, 255, 160));
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRect(kBarRect);
        QRect done = kBarRect.adjusted(1, 1, 0, 0);
        done.setWidth((kBarRect.width() - 1) * m_progress / 100);
        p.fillRect(done, QColor(240, 196, 120));
    }
}
