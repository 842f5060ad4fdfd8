#include "CWindowPlacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

namespace {

const QString kLeft = QStringLiteral("WindowLeft");
const QString kTop = QStringLiteral("WindowTop");
const QString kRight = QStringLiteral("WindowRight");
const QString kBottom = QStringLiteral("WindowBottom");
const QString kMaximised = QStringLiteral("Maximised");
const QString kMinimised = QStringLiteral("Minimised");
const QString kBarState = QStringLiteral("BarState");

bool OnSomeScreen(const QRect& rect) {
    const auto screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen->availableGeometry().intersects(rect)) {
            return true;
        }
    }
    return screens.isEmpty();
}

} // namespace

CWindowPlacement::Values CWindowPlacement::Read(const QSettings& settings) {
    Values v;
    v.left = settings.value(kLeft, 0).toInt();
    v.top = settings.value(kTop, 0).toInt();
    v.right = settings.value(kRight, 0).toInt();
    v.bottom = settings.value(kBottom, 0).toInt();
    v.maximised = settings.value(kMaximised, 0).toInt() != 0;
    v.minimised = settings.value(kMinimised, 0).toInt() != 0;
    return v;
}

void CWindowPlacement::Write(QSettings& settings, const Values& v) {
    settings.setValue(kLeft, v.left);
    settings.setValue(kTop, v.top);
    settings.setValue(kRight, v.right);
    settings.setValue(kBottom, v.bottom);
    settings.setValue(kMaximised, v.maximised ? 1 : 0);
    settings.setValue(kMinimised, v.minimised ? 1 : 0);
}

bool CWindowPlacement::Restore(QMainWindow& window, const QSettings& settings) {
    const QByteArray bars = settings.value(kBarState).toByteArray();
    if (!bars.isEmpty()) {
        // restoreState refuses a state that does not fit this window's bars.
        window.restoreState(bars);
    }
    const Values v = Read(settings);
    if (v.minimised) {
        return false;
    }
    if (v.left != 0 && v.right != 0) {
        const QRect rect(QPoint(v.left, v.top), QPoint(v.right - 1, v.bottom - 1));
        if (rect.width() > 0 && rect.height() > 0 && OnSomeScreen(rect)) {
            window.setGeometry(rect);
        }
    }
    return v.maximised;
}

void CWindowPlacement::Store(const QMainWindow& window, QSettings& settings) {
    settings.setValue(kBarState, window.saveState());
    const bool maximised = window.isMaximized();
    const bool minimised = window.isMinimized();
    const QRect rect = (maximised || minimised) ? window.normalGeometry() : window.geometry();
    Values v;
    v.left = rect.left();
    v.top = rect.top();
    v.right = rect.left() + rect.width();
    v.bottom = rect.top() + rect.height();
    v.maximised = maximised;
    v.minimised = minimised;
    Write(settings, v);
}
