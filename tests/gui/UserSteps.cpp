#include "UserSteps.h"

#include "EditorFixture.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CTeamFrame.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace UserSteps {

namespace {

template <typename TFrame> TFrame* ActiveFrameOf(CMainFrame& frame) {
    QMdiSubWindow* window = frame.MdiArea()->activeSubWindow();
    return window ? qobject_cast<TFrame*>(window->widget()) : nullptr;
}

} // namespace

CMainFrame* StartShown(EditorFixture& fixture, QSize size) {
    CKestrelApp* app = fixture.IsValid() ? fixture.Start() : nullptr;
    if (!app) {
        return nullptr;
    }
    CMainFrame* frame = app->MainFrame();
    frame->resize(size);
    frame->show();
    return Activate(frame) ? frame : nullptr;
}

bool Activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

bool ChooseMenuCommand(CMainFrame& frame, const char* key) {
    QAction* command = frame.ActionForKey(QString::fromLatin1(key));
    if (!command || !command->isEnabled())
        return false;
    for (QAction* title : frame.menuBar()->actions()) {
        QMenu* menu = title->menu();
        if (!menu || !menu->actions().contains(command))
            continue;
        QTest::mouseClick(frame.menuBar(), Qt::LeftButton, {},
                          frame.menuBar()->actionGeometry(title).center());
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
            return false;
        menu->setActiveAction(command);
        QTest::keyClick(menu, Qt::Key_Return);
        return true;
    }
    return false;
}

CLeagueFrame* OpenLeagueAtRow(CMainFrame& frame, int row) {
    QTreeWidget* list = frame.WorkspaceBar()->LeaguesList();
    if (!list->topLevelItem(row)) {
        return nullptr;
    }
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(row));
    QTest::keyClick(list, Qt::Key_Return);
    return ActiveFrameOf<CLeagueFrame>(frame);
}

CLeagueFrame* OpenLeagueFromList(CMainFrame& frame, int32_t leagueId) {
    QTreeWidget* list = frame.WorkspaceBar()->LeaguesList();
    const CLeague* league = frame.Database()->FindLeague(leagueId);
    const QList<QTreeWidgetItem*> found =
        league ? list->findItems(QString::fromStdString(league->name), Qt::MatchExactly)
               : QList<QTreeWidgetItem*>();
    return found.isEmpty() ? nullptr
                           : OpenLeagueAtRow(frame, list->indexOfTopLevelItem(found.first()));
}

CTeamFrame* OpenTeamFromLeague(CMainFrame& frame, int32_t leagueId, int32_t teamId) {
    CLeagueFrame* league = OpenLeagueFromList(frame, leagueId);
    if (!league) {
        return nullptr;
    }
    CTeamsListView* teams = league->TeamsList();
    const int row = teams->Model()->RowOf(teamId);
    if (row < 0) {
        return nullptr;
    }
    teams->setFocus();
    teams->setCurrentIndex(teams->Proxy()->mapFromSource(teams->Model()->index(row, 0)));
    QTest::keyClick(teams, Qt::Key_Return);
    return ActiveFrameOf<CTeamFrame>(frame);
}

void ClickTab(QTabWidget* tabs, int index) {
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void Retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void Retype(QAbstractSpinBox* box, int value) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::number(value));
}

QPoint RowCentre(QAbstractItemView* view, int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
}

void ClickRow(QAbstractItemView* view, int row, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, RowCentre(view, row));
}

void DoubleClickRow(QAbstractItemView* view, int row) {
    const QPoint at = RowCentre(view, row);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

QMenu* OpenContextMenu(QAbstractItemView* list) {
    list->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            list->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QMenu* RightClickRow(QAbstractItemView* list, int row) {
    const QPoint at = RowCentre(list, row);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

} // namespace UserSteps
