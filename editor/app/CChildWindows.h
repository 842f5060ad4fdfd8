#pragma once

#include "editor/windows/CChildFrame.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>

class CChildPlacement;
class CFrameHost;
class QMdiArea;
class QMdiSubWindow;
struct SChange;

// The registry of the main window's child windows: opens one per record (found again by kind
// and id, never by title), has CChildPlacement size and place new ones, keeps their titles on
// their records' names and hands every document change to each window.
class CChildWindows : public QObject {
    Q_OBJECT
public:
    CChildWindows(QMdiArea& area, CFrameHost& host, QObject* parent = nullptr);

    // Brings the window of that record forward, or makes one with `make`; `key` null: always a
    // new window. False, with no window, when `title` is empty (the record does not exist).
    bool Open(CChildFrame::Kind kind, const QVariant& key, const QString& title,
              const std::function<CChildFrame*()>& make);
    // The visible child window of this kind showing the record `key` (an id, or an in-game text
    // file's path), or null.
    QMdiSubWindow* Find(CChildFrame::Kind kind, const QVariant& key) const;
    CChildFrame* Active() const;
    QList<CChildFrame*> Frames() const;
    // Every window sees the change; record windows follow their record's new name, and close
    // when their record is gone.
    void Dispatch(const SChange& change);

    // The title of a window on the record of that kind and id (CRecordFrame::TitleOf).
    QString Title(CChildFrame::Kind kind, int id) const;

    CChildPlacement& Placement() { return *m_placement; }

signals:
    void Opened(CChildFrame* frame);
    // A window's title changed (the main window's title shows the active one).
    void TitleChanged();

private:
    QMdiArea& m_area;
    CFrameHost& m_host;
    CChildPlacement* m_placement = nullptr;
};
