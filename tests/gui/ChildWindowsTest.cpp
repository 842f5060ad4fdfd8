#include "EditorFixture.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CPlayerFrame.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
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

} // namespace

class ChildWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void recordsOfTheSameNameGetWindowsOfTheirOwn();
    void newWindowsCascadeInsideTheVisibleArea();
    void titleNamesTheDocumentAndTheMarkOnce();
};

void ChildWindowsTest::initTestCase() {
    // As the program sets it at start.
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrel"));
}

void ChildWindowsTest::recordsOfTheSameNameGetWindowsOfTheirOwn() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    const std::vector<int> teams = TeamsWithPlayers(*db, 2);
    QCOMPARE(teams.size(), std::size_t(2));
    db->FindTeam(teams[1])->SetName(db->FindTeam(teams[0])->Name());
    const int first = db->PlayersOfTeam(teams[0]).front();
    const int second = db->PlayersOfTeam(teams[1]).front();
    CPlayer* twin = db->FindPlayer(second);
    twin->SetFirstName(db->FindPlayer(first)->FirstName());
    twin->SetLastName(db->FindPlayer(first)->LastName());
    twin->SetCommonName(db->FindPlayer(first)->CommonName());
    QCOMPARE(frame->PlayerTitle(first), frame->PlayerTitle(second));
    QCOMPARE(frame->TeamTitle(teams[0]), frame->TeamTitle(teams[1]));

    QMdiArea* area = frame->MdiArea();
    QVERIFY(frame->OpenPlayer(first));
    QMdiSubWindow* firstWindow = area->activeSubWindow();
    QVERIFY(frame->OpenPlayer(second));
    QMdiSubWindow* secondWindow = area->activeSubWindow();
    QVERIFY(secondWindow != firstWindow);
    QCOMPARE(qobject_cast<CPlayerFrame*>(secondWindow->widget())->PlayerId(), second);
    QVERIFY(frame->OpenTeam(teams[0]));
    QVERIFY(frame->OpenTeam(teams[1]));
    QCOMPARE(OpenWindows(*area), 4);
    // Opening a record again finds its own window, not the first of that name.
    QVERIFY(frame->OpenPlayer(second));
    QCOMPARE(area->activeSubWindow(), secondWindow);
    QCOMPARE(frame->FindChild(CChildFrame::Kind::Player, first), firstWindow);
    QVERIFY(frame->FindChild(CChildFrame::Kind::Team, teams[0]));
    QVERIFY(!frame->FindChild(CChildFrame::Kind::League, teams[0]));

    // A refresh reaches the record's window and follows its new name; the twin keeps its own.
    const QString firstTitle = firstWindow->windowTitle();
    twin->SetFirstName("Renamed");
    QVERIFY(frame->RefreshPlayer(second));
    QVERIFY(secondWindow->windowTitle().contains(QStringLiteral("Renamed")));
    QCOMPARE(firstWindow->windowTitle(), firstTitle);

    // Closing a window leaves nothing behind to refresh; a second Find gets its own results.
    secondWindow->close();
    QVERIFY(!frame->RefreshPlayer(second));
    QVERIFY(frame->RefreshPlayer(first));
    CFindSettings settings;
    settings.text = QStringLiteral("ar");
    QVERIFY(frame->OpenSearchResults(settings));
    QVERIFY(frame->OpenSearchResults(settings));
    QCOMPARE(OpenWindows(*area), 5);
    // One in-game text window per file, however the path is written.
    QVERIFY(frame->OpenIngameText(fixture.TextDbPath()));
    QVERIFY(frame->OpenIngameText(fixture.GameFolder() +
                                  QStringLiteral("/data/../data/cmn/fe/eng.db")));
    QCOMPARE(OpenWindows(*area), 6);
}

void ChildWindowsTest::newWindowsCascadeInsideTheVisibleArea() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    frame->resize(1100, 720);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QMdiArea* area = frame->MdiArea();
    // Enough windows to go round the cascade more than once.
    const int leagues = std::min(frame->WorkspaceBar()->LeaguesList()->topLevelItemCount(), 16);
    QVERIFY(leagues >= 6);
    QRect previous;
    for (int row = 0; row < leagues; ++row) {
        DoubleClickLeague(*frame, row);
        QCOMPARE(area->subWindowList().size(), row + 1);
        const QRect placed = area->activeSubWindow()->geometry();
        QVERIFY2(area->viewport()->rect().contains(placed),
                 qPrintable(QStringLiteral("window %1 at %2,%3 %4x%5")
                                .arg(row)
                                .arg(placed.x())
                                .arg(placed.y())
                                .arg(placed.width())
                                .arg(placed.height())));
        QCOMPARE(placed.size(), QSize(CMainFrame::kChildWidth, CMainFrame::kChildHeight));
        // Each new window steps away from the last, so none hides another's title bar.
        QVERIFY(row == 0 || placed.topLeft() != previous.topLeft());
        previous = placed;
    }

    // A small main window gets windows that fit inside it.
    area->closeAllSubWindows();
    frame->resize(560, 420);
    QTest::qWait(20);
    DoubleClickLeague(*frame, 0);
    QVERIFY(area->viewport()->rect().contains(area->activeSubWindow()->geometry()));
}

void ChildWindowsTest::titleNamesTheDocumentAndTheMarkOnce() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    frame->show();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    // Without a child window the document is the database.
    QCOMPARE(ShownTitle(*frame), QStringLiteral("corvid.db"));

    DoubleClickLeague(*frame, 0);
    DoubleClickLeague(*frame, 1);
    const QString second = frame->MdiArea()->activeSubWindow()->windowTitle();
    QVERIFY(second.startsWith(QStringLiteral("League - ")));
    QCOMPARE(ShownTitle(*frame), second);
    frame->Database()->MarkDirty();
    QCOMPARE(ShownTitle(*frame), second + QStringLiteral("*"));

    // F6 moves to the other window; the title follows it with the one mark.
    QTest::keyClick(frame->MdiArea()->activeSubWindow()->widget(), Qt::Key_F6);
    const QString first = frame->MdiArea()->activeSubWindow()->windowTitle();
    QVERIFY(first != second);
    QCOMPARE(ShownTitle(*frame), first + QStringLiteral("*"));
    QCOMPARE(ShownTitle(*frame).count(u'*'), 1);
    QVERIFY(!ShownTitle(*frame).contains(QStringLiteral("Kestrel")));
}

QTEST_MAIN(ChildWindowsTest)
#include "ChildWindowsTest.moc"
