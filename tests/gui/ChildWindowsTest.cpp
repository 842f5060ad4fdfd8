#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "UserSteps.h"

#include "editor/app/CChildPlacement.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CTeamFrame.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// The first two teams of the sample that have players.
std::vector<int> TeamsWithPlayers(const CGameDatabase& db, std::size_t count) {
    std::vector<int> teams;
    for (const auto& [id, team] : db.Teams()) {
        if (teams.size() < count && !db.PlayersOfTeam(id).empty()) {
            teams.push_back(id);
        }
    }
    return teams;
}

// Opens the league in row `row` of the leagues list as a user does: a double click.
void DoubleClickLeague(CMainFrame& frame, int row) {
    QTreeWidget* list = frame.WorkspaceBar()->LeaguesList();
    QTreeWidgetItem* item = list->topLevelItem(row);
    list->scrollToItem(item);
    const QPoint centre = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

// Child windows on show (a closed one is deleted a little later).
int OpenWindows(QMdiArea& area) {
    int open = 0;
    for (const QMdiSubWindow* window : area.subWindowList()) {
        open += window->isVisible() ? 1 : 0;
    }
    return open;
}

// What the window system is asked to show as the main window's title, the program's name
// being added by the platform from the application display name.
QString ShownTitle(const CMainFrame& frame) {
    return frame.windowHandle() ? frame.windowHandle()->title() : QString();
}

// What a screen reader would be told wrongly inside a window: a control without a name, a
// drop-down announced by its value, a localisation key instead of words. Pages not shown yet
// count as much as the one in front.
QStringList NamingFaults(QWidget* root) {
    static const QRegularExpression key(QStringLiteral("^(Caption|LUT|Tab|Menu|Message)_"));
    QStringList faults;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const QString where = widget->metaObject()->className() + QStringLiteral(" ") +
                              widget->objectName() + QStringLiteral(" ") + widget->accessibleName();
        if (key.match(widget->accessibleName()).hasMatch())
            faults << QStringLiteral("key as name: ") + where;
        if (auto* label = qobject_cast<QLabel*>(widget);
            label && key.match(label->text()).hasMatch())
            faults << QStringLiteral("key as text: ") + label->text();
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(combo);
            if (combo->accessibleName().isEmpty() ||
                spoken->text(QAccessible::Name) != combo->accessibleName())
                faults << QStringLiteral("drop-down named by its value: ") + where;
        }
        // The views inside a drop-down are its own; the rest must say what they list.
        if (qobject_cast<QAbstractItemView*>(widget) && !qobject_cast<QHeaderView*>(widget) &&
            !qobject_cast<QComboBox*>(widget->parent()) &&
            !widget->parent()->inherits("QComboBoxPrivateContainer") &&
            widget->accessibleName().isEmpty())
            faults << QStringLiteral("unnamed list: ") + where;
    }
    return faults;
}

} // namespace

class ChildWindowsTest : public FreshEditorTest {
    Q_OBJECT

private slots:
    void initTestCase();
    void recordsOfTheSameNameGetWindowsOfTheirOwn();
    void newWindowsCascadeInsideTheVisibleArea();
    void titleNamesTheDocumentAndTheMarkOnce();
    void everyControlIsNamedInWordsBeforeItsPageIsShown();
    void screenReadersFindControlsWhereTheyAreInCascadedWindows();
};

void ChildWindowsTest::initTestCase() {
    // As the program sets it at start.
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrel"));
}

void ChildWindowsTest::recordsOfTheSameNameGetWindowsOfTheirOwn() {
    CGameDatabase* db = m_frame->Database();
    const std::vector<int> teams = TeamsWithPlayers(*db, 2);
    QCOMPARE(teams.size(), std::size_t(2));
    db->FindTeam(teams[1])->SetName(db->FindTeam(teams[0])->Name());
    const int first = db->PlayersOfTeam(teams[0]).front();
    const int second = db->PlayersOfTeam(teams[1]).front();
    CPlayer* twin = db->FindPlayer(second);
    twin->SetFirstName(db->FindPlayer(first)->FirstName());
    twin->SetLastName(db->FindPlayer(first)->LastName());
    twin->SetCommonName(db->FindPlayer(first)->CommonName());
    QCOMPARE(m_frame->PlayerTitle(first), m_frame->PlayerTitle(second));
    QCOMPARE(m_frame->TeamTitle(teams[0]), m_frame->TeamTitle(teams[1]));

    QMdiArea* area = m_frame->MdiArea();
    QVERIFY(m_frame->OpenPlayer(first));
    QMdiSubWindow* firstWindow = area->activeSubWindow();
    QVERIFY(m_frame->OpenPlayer(second));
    QMdiSubWindow* secondWindow = area->activeSubWindow();
    QVERIFY(secondWindow != firstWindow);
    QCOMPARE(qobject_cast<CPlayerFrame*>(secondWindow->widget())->PlayerId(), second);
    QVERIFY(m_frame->OpenTeam(teams[0]));
    QVERIFY(m_frame->OpenTeam(teams[1]));
    QCOMPARE(OpenWindows(*area), 4);
    // Opening a record again finds its own window, not the first of that name.
    QVERIFY(m_frame->OpenPlayer(second));
    QCOMPARE(area->activeSubWindow(), secondWindow);
    QCOMPARE(m_frame->FindChild(CChildFrame::Kind::Player, first), firstWindow);
    QVERIFY(m_frame->FindChild(CChildFrame::Kind::Team, teams[0]));
    QVERIFY(!m_frame->FindChild(CChildFrame::Kind::League, teams[0]));

    // A change of the record reaches its window, which follows the new name; the twin keeps
    // its own.
    const QString firstTitle = firstWindow->windowTitle();
    twin->SetFirstName("Renamed");
    SChange renamed;
    renamed.what = SChange::Names;
    renamed.players = {second};
    m_frame->Document().NotifyChanged(renamed);
    QVERIFY(secondWindow->windowTitle().contains(QStringLiteral("Renamed")));
    QCOMPARE(firstWindow->windowTitle(), firstTitle);

    // Closing a window leaves nothing behind for changes to reach; a second Find gets its own
    // results.
    secondWindow->close();
    QTRY_VERIFY(!m_frame->FindChild(CChildFrame::Kind::Player, second));
    m_frame->Document().NotifyChanged(renamed);
    QCOMPARE(firstWindow->windowTitle(), firstTitle);
    CFindSettings settings;
    settings.text = QStringLiteral("ar");
    QVERIFY(m_frame->OpenSearchResults(settings));
    QVERIFY(m_frame->OpenSearchResults(settings));
    QCOMPARE(OpenWindows(*area), 5);
    // One in-game text window per file, however the path is written.
    QVERIFY(m_frame->OpenIngameText(m_fixture->TextDbPath()));
    QVERIFY(m_frame->OpenIngameText(m_fixture->GameFolder() +
                                    QStringLiteral("/data/../data/cmn/fe/eng.db")));
    QCOMPARE(OpenWindows(*area), 6);
}

void ChildWindowsTest::newWindowsCascadeInsideTheVisibleArea() {
    m_frame->resize(1100, 720);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
    QMdiArea* area = m_frame->MdiArea();
    // Enough windows to go round the cascade more than once.
    const int leagues = std::min(m_frame->WorkspaceBar()->LeaguesList()->topLevelItemCount(), 16);
    QVERIFY(leagues >= 6);
    QRect previous;
    for (int row = 0; row < leagues; ++row) {
        DoubleClickLeague(*m_frame, row);
        QCOMPARE(area->subWindowList().size(), row + 1);
        const QRect placed = area->activeSubWindow()->geometry();
        QVERIFY2(area->viewport()->rect().contains(placed),
                 qPrintable(QStringLiteral("window %1 at %2,%3 %4x%5")
                                .arg(row)
                                .arg(placed.x())
                                .arg(placed.y())
                                .arg(placed.width())
                                .arg(placed.height())));
        // The size its content asks for, as far as the area has room (lists' columns settle
        // by a scroll bar's width once shown).
        const QSize content = CChildPlacement::ContentSize(*area->activeSubWindow())
                                  .boundedTo(area->viewport()->size());
        QVERIFY(std::abs(placed.width() - content.width()) <= 24);
        QVERIFY(std::abs(placed.height() - content.height()) <= 24);
        // Each new window steps away from the last, so none hides another's title bar.
        QVERIFY(row == 0 || placed.topLeft() != previous.topLeft());
        previous = placed;
    }

    // A small main window gets windows that fit inside it.
    area->closeAllSubWindows();
    m_frame->resize(560, 420);
    QTest::qWait(20);
    DoubleClickLeague(*m_frame, 0);
    QVERIFY(area->viewport()->rect().contains(area->activeSubWindow()->geometry()));
}

void ChildWindowsTest::titleNamesTheDocumentAndTheMarkOnce() {
    QVERIFY(UserSteps::Activate(m_frame));
    // Without a child window the document is the database.
    QCOMPARE(ShownTitle(*m_frame), QStringLiteral("corvid.db"));

    DoubleClickLeague(*m_frame, 0);
    DoubleClickLeague(*m_frame, 1);
    const QString second = m_frame->MdiArea()->activeSubWindow()->windowTitle();
    QVERIFY(second.startsWith(QStringLiteral("League - ")));
    QCOMPARE(ShownTitle(*m_frame), second);
    m_frame->Database()->MarkDirty();
    QCOMPARE(ShownTitle(*m_frame), second + QStringLiteral("*"));

    // F6 moves to the other window; the title follows it with the one mark.
    QTest::keyClick(m_frame->MdiArea()->activeSubWindow()->widget(), Qt::Key_F6);
    const QString first = m_frame->MdiArea()->activeSubWindow()->windowTitle();
    QVERIFY(first != second);
    QCOMPARE(ShownTitle(*m_frame), first + QStringLiteral("*"));
    QCOMPARE(ShownTitle(*m_frame).count(u'*'), 1);
    QVERIFY(!ShownTitle(*m_frame).contains(QStringLiteral("Kestrel")));
}

void ChildWindowsTest::everyControlIsNamedInWordsBeforeItsPageIsShown() {
    QVERIFY(UserSteps::Activate(m_frame));
    QVERIFY2(NamingFaults(m_frame->WorkspaceBar()).isEmpty(),
             qPrintable(NamingFaults(m_frame->WorkspaceBar()).join(u'\n')));
    CLeagueFrame* league = UserSteps::OpenLeagueAtRow(*m_frame, 0);
    QVERIFY(league);
    const CGameDatabase& db = *m_frame->Database();
    const int32_t teamId = db.TeamsOfLeague(league->LeagueId()).front();
    CTeamFrame* team = UserSteps::OpenTeamFromLeague(*m_frame, league->LeagueId(), teamId);
    QVERIFY(team);
    UserSteps::DoubleClickRow(team->SquadList(), 0);
    QVERIFY(qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame()));
    QTest::keyClick(m_frame->ActiveFrame(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 4);
    // What a reader asks comes through the event loop, after the pages are built.
    QCoreApplication::processEvents();
    for (QMdiSubWindow* window : m_frame->MdiArea()->subWindowList())
        QVERIFY2(NamingFaults(window).isEmpty(),
                 qPrintable(window->windowTitle() + QStringLiteral(":\n") +
                            NamingFaults(window).join(u'\n')));
    // The team window's later pages were never shown.
    QVERIFY(!team->Tabs()->widget(team->Tabs()->count() - 1)->isVisible());
}

void ChildWindowsTest::screenReadersFindControlsWhereTheyAreInCascadedWindows() {
    m_frame->resize(1100, 720);
    QVERIFY(UserSteps::Activate(m_frame));
    for (int row = 0; row < 3; ++row)
        DoubleClickLeague(*m_frame, row);
    QMdiSubWindow* third = m_frame->MdiArea()->activeSubWindow();
    QVERIFY(third->geometry().topLeft() != QPoint(0, 0));
    int compared = 0;
    for (QWidget* widget : third->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget);
        const QRect global(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        QVERIFY2(spoken->rect() == global,
                 qPrintable(QStringLiteral("%1 %2: %3,%4 instead of %5,%6")
                                .arg(widget->metaObject()->className(), widget->objectName())
                                .arg(spoken->rect().x())
                                .arg(spoken->rect().y())
                                .arg(global.x())
                                .arg(global.y())));
        ++compared;
    }
    QVERIFY(compared > 10);
    // Readers take positions relative to the nearest ancestor that is a window or dialog (as
    // the AT-SPI bridge does): that must be the main window, never the child window.
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    for (QWidget* widget : third->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(widget);
        while (frame && frame->role() != QAccessible::Window &&
               frame->role() != QAccessible::Dialog && frame->parent() != app)
            frame = frame->parent();
        QVERIFY(frame);
        QCOMPARE(frame->object(), static_cast<QObject*>(m_frame));
    }
    QAccessibleInterface* child = QAccessible::queryAccessibleInterface(third);
    QCOMPARE(child->text(QAccessible::Name), third->windowTitle().remove(QStringLiteral("[*]")));
    QVERIFY(child->state().active);
}

QTEST_MAIN(ChildWindowsTest)
#include "ChildWindowsTest.moc"
