#pragma once

#include <QAccessibleWidget>

class QMdiSubWindow;

// A child window inside the main window's workspace, as assistive technology sees it: an inner
// frame (a pane named by its title), not a window. Qt's own interface gives it the window role,
// and the AT-SPI bridge measures window-relative positions from the nearest ancestor with that
// role: every control in a cascaded child window was then reported off by the child window's
// place in the workspace, since readers and automation take them relative to the top-level
// window.
class CMdiChildAccessible : public QAccessibleWidget {
public:
    explicit CMdiChildAccessible(QMdiSubWindow* window);

    // Registers the factory once, for every QMdiSubWindow.
    static void Install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
};
