#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>

#include <cstdint>

class CLeagueFrame;
class CMainFrame;
class CTeamFrame;
class EditorFixture;
class QAbstractItemView;
class QAbstractSpinBox;
class QLineEdit;
class QMenu;
class QString;
class QTabWidget;
class QWidget;

// What the GUI tests do as a user does it: start the editor shown, open windows through the
// leagues list and the league window, click, double-click and right-click rows.
namespace UserSteps {

// Starts the editor on the fixture's sample, shown and active; null when the fixture or the
// editor did not start.
CMainFrame* StartShown(EditorFixture& fixture, QSize size = QSize(1100, 760));
// Brings the window to the front again, as a window manager does once a dialog is gone;
// false when it did not become active.
bool Activate(QWidget* window);

// A command of the main window's menus chosen as a user does: a click on its menu's title,
// then Return on the command. False when no menu holds it, it is disabled or the menu did
// not open. Returns once the command has run (after any dialog it opened has closed).
bool ChooseMenuCommand(CMainFrame& frame, const char* key);

// The league of that row of the leagues list, selected and opened with Enter.
CLeagueFrame* OpenLeagueAtRow(CMainFrame& frame, int row);
CLeagueFrame* OpenLeagueFromList(CMainFrame& frame, int32_t leagueId);
// The team's window opened from the league window's teams list (its row selected, Enter).
CTeamFrame* OpenTeamFromLeague(CMainFrame& frame, int32_t leagueId, int32_t teamId);

// A click on the tab of that page.
void ClickTab(QTabWidget* tabs, int index);
// Replaces the text of a box by typing: all selected, deleted, the new text typed.
void Retype(QLineEdit* box, const QString& text);
void Retype(QAbstractSpinBox* box, int value);

// The row of a list as the view shows it.
QPoint RowCentre(QAbstractItemView* view, int row);
void ClickRow(QAbstractItemView* view, int row, Qt::KeyboardModifiers modifiers = {});
// A double click as the window system delivers it: press, release, double click, release.
void DoubleClickRow(QAbstractItemView* view, int row);
// The context menu of a list as the menu key opens it; null when none shows.
QMenu* OpenContextMenu(QAbstractItemView* list);
// The context menu as a right click on a row opens it.
QMenu* RightClickRow(QAbstractItemView* list, int row);

} // namespace UserSteps
