#include "editor/toolkit/CMdiChildAccessible.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QMdiSubWindow") && object && object->isWidgetType())
        return new CMdiChildAccessible(static_cast<QMdiSubWindow*>(object));
    return nullptr;
}

} // namespace

CMdiChildAccessible::CMdiChildAccessible(QMdiSubWindow* window)
    : QAccessibleWidget(window, QAccessible::Pane) {}

void CMdiChildAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString CMdiChildAccessible::text(QAccessible::Text t) const {
    const QString own = QAccessibleWidget::text(t);
    if (t != QAccessible::Name || !own.isEmpty())
        return own;
    const auto* window = static_cast<const QMdiSubWindow*>(widget());
    return window->windowTitle().remove(QLatin1String("[*]"));
}

QAccessible::State CMdiChildAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    const auto* window = static_cast<const QMdiSubWindow*>(widget());
    state.active = window->mdiArea() && window->mdiArea()->activeSubWindow() == window;
    state.movable = true;
    state.sizeable = !window->isMaximized();
    return state;
}
