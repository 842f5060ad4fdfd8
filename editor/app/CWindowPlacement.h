#pragma once

#include <QRect>

class QMainWindow;
class QSettings;

// The main window's rectangle and state between runs: "WindowLeft", "WindowTop",
// "WindowRight", "WindowBottom", "Maximised", "Minimised" and the bars under "BarState".
class CWindowPlacement {
public:
    struct Values {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool maximised = false;
        bool minimised = false;
    };

    static Values Read(const QSettings& settings);
    static void Write(QSettings& settings, const Values& values);

    // Moves and sizes the window as stored; a window stored minimised, a rectangle with a zero
    // left or right edge, an empty rectangle or one on no screen leaves the window where it is.
    // Returns true when the window should be shown maximised.
    static bool Restore(QMainWindow& window, const QSettings& settings);
    // The rectangle kept is the one the window returns to when it is no longer maximised.
    static void Store(const QMainWindow& window, QSettings& settings);
};
