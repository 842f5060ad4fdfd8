#include "CChildWindows.h"

#include "CChildPlacement.h"
#include "editor/document/SChange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CMdiChildAccessible.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CRecordFrame.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace {

// On each child window: the id (or file) of what it shows; with the frame's kind, its identity.
const char* const kChildKeyProperty = "childKey";

} // namespace

CChildWindows::CChildWindows(QMdiArea& area, CFrameHost& host, QObject* parent)
    : QObject(parent), m_area(area), m_host(host) {
    CMdiChildAccessible::Install();
    m_placement = new CChildPlacement(area, host, this);
}

bool CChildWindows::Open(CChildFrame::Kind kind, const QVariant& key, const QString& title,
                         const std::function<CChildFrame*()>& make) {
    // A record that does not exist gets no window rather than an empty, untitled one.
    if (title.isEmpty()) {
        return false;
    }
    if (QMdiSubWindow* existing = Find(kind, key)) {
        if (existing->isMinimized()) {
            existing->showNormal();
        }
        m_area.setActiveSubWindow(existing);
        return true;
    }
    CChildFrame* frame = make();
    QMdiSubWindow* window = m_area.addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setProperty(kChildKeyProperty, key);
    window->setWindowTitle(title);
    connect(window, &QWidget::windowTitleChanged, this, &CChildWindows::TitleChanged);
    window->setWindowIcon(m_area.window()->windowIcon());
    // Ctrl+F4 (and the platform's other Close keys) belong to the main window's Close Window;
    // the window's own menu keeps its entry without a second owner of the keys.
    if (QMenu* menu = window->systemMenu()) {
        QList<QKeySequence> taken = QKeySequence::keyBindings(QKeySequence::Close);
        taken.append(QKeySequence(Qt::CTRL | Qt::Key_F4));
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            const auto removed =
                keys.removeIf([&taken](const QKeySequence& key) { return taken.contains(key); });
            if (removed > 0) {
                action->setShortcuts(keys);
            }
        }
    }
    emit Opened(frame);
    const QMdiSubWindow* active = m_area.activeSubWindow();
    const bool maximised = active && active->isMaximized();
    window->show();
    m_area.setActiveSubWindow(window);
    const QPointer<QMdiSubWindow> shown(window);
    frame->Fill();
    // After show: the area's own placement of new windows runs when they are shown; after
    // Fill: the window's size is its content's.
    if (!shown) {
        return true;
    }
    if (maximised) {
        m_placement->Watch(window);
    } else {
        m_placement->Place(window);
    }
    return true;
}

QMdiSubWindow* CChildWindows::Find(CChildFrame::Kind kind, const QVariant& key) const {
    if (key.isNull()) {
        return nullptr;
    }
    const auto windows = m_area.subWindowList();
    for (QMdiSubWindow* window : windows) {
        const auto* frame = qobject_cast<const CChildFrame*>(window->widget());
        if (window->isVisible() && frame && frame->FrameKind() == kind &&
            window->property(kChildKeyProperty) == key) {
            return window;
        }
    }
    return nullptr;
}

CChildFrame* CChildWindows::Active() const {
    QMdiSubWindow* active = m_area.activeSubWindow();
    return active ? qobject_cast<CChildFrame*>(active->widget()) : nullptr;
}

QList<CChildFrame*> CChildWindows::Frames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        if (auto* frame = qobject_cast<CChildFrame*>(window->widget())) {
            frames.append(frame);
        }
    }
    return frames;
}

QString CChildWindows::Title(CChildFrame::Kind kind, int id) const {
    return CRecordFrame::TitleOf(m_host, kind, id);
}

void CChildWindows::Dispatch(const SChange& change) {
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(window->widget());
        if (!frame || !window->isVisible()) {
            continue;
        }
        const int id = window->property(kChildKeyProperty).toInt();
        const auto kind = frame->FrameKind();
        const bool shown = (kind == CChildFrame::Kind::League && change.HasLeague(id)) ||
                           (kind == CChildFrame::Kind::Team && change.HasTeam(id)) ||
                           (kind == CChildFrame::Kind::Player && change.HasPlayer(id));
        if (shown) {
            const QString title = Title(kind, id);
            // A window whose record went (an undone new player) goes with it.
            if (title.isEmpty()) {
                window->close();
                continue;
            }
            if (window->windowTitle() != title) {
                window->setWindowTitle(title);
            }
        }
        frame->DocumentChanged(change);
    }
}
