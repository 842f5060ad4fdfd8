#include "CChildPlacement.h"

#include "editor/windows/CFrameHost.h"

#include <QEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("ChildWindows/");
// A drag's moves are written once the window has rested this long.
constexpr int kStoreDelayMs = 400;

const CChildFrame* FrameOf(const QMdiSubWindow& window) {
    return qobject_cast<const CChildFrame*>(window.widget());
}

} // namespace

CChildPlacement::CChildPlacement(QMdiArea& area, CFrameHost& host, QObject* parent)
    : QObject(parent), m_area(area), m_host(host) {
    m_storeTimer = new QTimer(this);
    m_storeTimer->setSingleShot(true);
    m_storeTimer->setInterval(kStoreDelayMs);
    connect(m_storeTimer, &QTimer::timeout, this, &CChildPlacement::StoreTouched);
}

QString CChildPlacement::KindName(CChildFrame::Kind kind) {
    using K = CChildFrame::Kind;
    switch (kind) {
    case K::Plain:
        break;
    case K::League:
        return QStringLiteral("League");
    case K::Team:
        return QStringLiteral("Team");
    case K::Player:
        return QStringLiteral("Player");
    case K::PlayersList:
        return QStringLiteral("PlayersList");
    case K::IngameText:
        return QStringLiteral("IngameText");
    case K::SearchResults:
        return QStringLiteral("SearchResults");
    case K::AllPlayers:
        return QStringLiteral("AllPlayers");
    case K::Compare:
        return QStringLiteral("Compare");
    }
    return QStringLiteral("Plain");
}

QRect CChildPlacement::Remembered(CChildFrame::Kind kind) const {
    const auto settings = m_host.Settings();
    const QRect rect = settings->value(kGroup + KindName(kind)).toRect();
    return rect.isValid() ? rect : QRect();
}

QSize CChildPlacement::ContentSize(QMdiSubWindow& window) {
    // The lists learnt their rows in Fill: every layout measures its widgets again.
    if (QWidget* content = window.widget()) {
        for (QWidget* child : content->findChildren<QWidget*>()) {
            child->updateGeometry();
        }
        for (QLayout* layout : content->findChildren<QLayout*>()) {
            layout->invalidate();
        }
    }
    return window.sizeHint().expandedTo(window.minimumSizeHint());
}

QRect CChildPlacement::Fit(const QRect& rect, const QSize& area) {
    const QSize size = rect.size().boundedTo(area).expandedTo(QSize(0, 0));
    const int left = std::clamp(rect.left(), 0, std::max(0, area.width() - size.width()));
    const int top = std::clamp(rect.top(), 0, std::max(0, area.height() - size.height()));
    return {QPoint(left, top), size};
}

void CChildPlacement::Place(QMdiSubWindow* window) {
    const CChildFrame* frame = FrameOf(*window);
    const QSize area = m_area.viewport()->size();
    const QRect remembered = frame ? Remembered(frame->FrameKind()) : QRect();
    const QSize size =
        (remembered.isValid() ? remembered.size() : ContentSize(*window)).boundedTo(area);
    const int step =
        std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window), 16);
    QPoint corner;
    if (remembered.isValid()) {
        int others = 0;
        for (const QMdiSubWindow* open : m_area.subWindowList()) {
            const CChildFrame* shown = FrameOf(*open);
            others += open != window && open->isVisible() && shown &&
                              shown->FrameKind() == frame->FrameKind()
                          ? 1
                          : 0;
        }
        const QPoint origin = Fit(remembered, area).topLeft();
        corner = origin + QPoint(others * step, others * step);
        if (corner.x() + size.width() > area.width() ||
            corner.y() + size.height() > area.height()) {
            corner = origin;
        }
    } else {
        corner = CascadeCorner(size, step);
    }
    m_placing = true;
    window->setGeometry(Fit(QRect(corner, size), area));
    m_placing = false;
    Watch(window);
}

void CChildPlacement::Watch(QMdiSubWindow* window) {
    window->removeEventFilter(this);
    window->installEventFilter(this);
}

QPoint CChildPlacement::CascadeCorner(const QSize& size, int step) {
    // Each new window steps down and right by a title bar from the last, and starts again at
    // the corner when it would reach past the visible area.
    const QSize area = m_area.viewport()->size();
    QPoint corner(m_cascadeStep * step, m_cascadeStep * step);
    if (corner.x() + size.width() > area.width() || corner.y() + size.height() > area.height()) {
        m_cascadeStep = 0;
        corner = QPoint(0, 0);
    }
    ++m_cascadeStep;
    return corner;
}

bool CChildPlacement::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    if (!window || m_placing) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (window->isVisible() && !m_touched.contains(window)) {
            m_touched.append(window);
        }
        m_storeTimer->start();
        break;
    case QEvent::Close: {
        m_touched.removeAll(window);
        const auto settings = m_host.Settings();
        Store(*window, *settings);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CChildPlacement::StoreTouched() {
    m_touched.removeAll(nullptr);
    if (m_touched.isEmpty()) {
        return;
    }
    const auto settings = m_host.Settings();
    for (const QPointer<QMdiSubWindow>& window : std::as_const(m_touched)) {
        Store(*window, *settings);
    }
    m_touched.clear();
}

void CChildPlacement::Store(QMdiSubWindow& window, QSettings& settings) const {
    // A maximised or minimised window's rectangle is the area's, not one the user chose.
    const CChildFrame* frame = FrameOf(window);
    if (!frame || !window.isVisible() || window.isMaximized() || window.isMinimized()) {
        return;
    }
    settings.setValue(kGroup + KindName(frame->FrameKind()), window.geometry());
}
