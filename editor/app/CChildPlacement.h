#pragma once

#include "editor/windows/CChildFrame.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class CFrameHost;
class QMdiArea;
class QMdiSubWindow;
class QSettings;
class QTimer;

// Where a new child window opens and how big. The first window of a kind opens at the size
// its content asks for; once the user has moved, resized or closed a window of that kind, the
// next one takes that rectangle (kept in the settings under "ChildWindows/<kind>"). A window
// with a remembered rectangle opens on it when it is the only one of its kind; further ones
// step down and right from it, one title bar per window already open, so none hides another's
// title. Kinds without a remembered position follow the area's shared cascade. Every rectangle
// is kept inside the visible area: too big, it shrinks; beyond an edge, it moves back.
class CChildPlacement : public QObject {
    Q_OBJECT
public:
    CChildPlacement(QMdiArea& area, CFrameHost& host, QObject* parent = nullptr);

    // Sizes and places a window shown with its content filled; from then on what the user does
    // to its rectangle is remembered for its kind.
    void Place(QMdiSubWindow* window);
    // Remembers what the user does to a window placed by the area (one shown maximised).
    void Watch(QMdiSubWindow* window);
    // The rectangle remembered for the kind, in the area's coordinates; null when none is.
    QRect Remembered(CChildFrame::Kind kind) const;
    // What the window's content asks for: its frame's size hint and the title bar.
    static QSize ContentSize(QMdiSubWindow& window);
    // `rect` shrunk to fit `area` and moved inside it.
    static QRect Fit(const QRect& rect, const QSize& area);
    static QString KindName(CChildFrame::Kind kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint CascadeCorner(const QSize& size, int step);
    // Keeps the rectangles the user gave the windows waiting in m_touched.
    void StoreTouched();
    void Store(QMdiSubWindow& window, QSettings& settings) const;

    QMdiArea& m_area;
    CFrameHost& m_host;
    // Where the next window without a remembered position goes, in steps from the corner.
    int m_cascadeStep = 0;
    // Set while this class moves a window, so its own moves are not taken for the user's.
    bool m_placing = false;
    // Moves come by the dozen while the user drags: they are written once the drag rests.
    QTimer* m_storeTimer = nullptr;
    QList<QPointer<QMdiSubWindow>> m_touched;
};
