#include "EditorFixture.h"
#include "ModalDialogs.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/database/CMessageSink.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CMenuGrid.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CPlayersListFrame.h"
#include "editor/windows/CPlayersListModel.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CSearchResultsFrame.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QMimeData>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

QPoint RowCentre(QAbstractItemView* view, int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
}

void ClickRow(QAbstractItemView* view, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, RowCentre(view, row));
}

int ProxyRowOfPlayer(const CPlayersListView* view, int32_t playerId) {
    const int row = view->Model()->RowOf(playerId);
    return row < 0 ? -1 : view->Proxy()->mapFromSource(view->Model()->index(row, 0)).row();
}

int ProxyRowOfTeam(const CTeamsListView* view, int32_t teamId) {
    const int row = view->Model()->RowOf(teamId);
    return row < 0 ? -1 : view->Proxy()->mapFromSource(view->Model()->index(row, 0)).row();
}

// A team of the sample whose league holds at least one other team, and that other team.
std::pair<int32_t, int32_t> TwoTeamsOfOneLeague(const CGameDatabase& db, int32_t* leagueId) {
    for (const auto& [id, league] : db.Leagues()) {
        const auto teams = db.TeamsOfLeague(id);
        if (teams.size() >= 2 && db.PlayersOfTeam(teams[0]).size() >= 5) {
            *leagueId = id;
            return {teams[0], teams[1]};
        }
    }
    return {0, 0};
}

// A double click as the window system delivers it: press, release, double click, release.
void DoubleClickRow(QAbstractItemView* view, int row) {
    const QPoint at = RowCentre(view, row);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

// The context menu of a list as the menu key opens it; null when none shows.
QMenu* OpenContextMenu(QAbstractItemView* list) {
    list->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            list->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The context menu as a right click on a row opens it.
QMenu* RightClickRow(QAbstractItemView* list, int row) {
    const QPoint at = RowCentre(list, row);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

class SilentSink : public CMessageSink {
public:
    void Report(const std::string&, const std::string&) override {}
};

QAction* MenuAction(QMenu* menu, const char* key) {
    return menu->findChild<QAction*>(QString::fromLatin1(key));
}

// Drags what the players list has selected over the teams list and drops it at `at`, through
// the events a drag delivers.
bool DropOn(CPlayersListView* source, CTeamsListView* target, QPoint at,
            Qt::KeyboardModifiers modifiers) {
    std::unique_ptr<QMimeData> data(source->SelectionMimeData());
    if (!data) {
        return false;
    }
    const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(at, actions, data.get(), Qt::NoButton, modifiers);
    QApplication::sendEvent(target->viewport(), &enter);
    QDragMoveEvent move(at, actions, data.get(), Qt::NoButton, modifiers);
    QApplication::sendEvent(target->viewport(), &move);
    QDropEvent drop(at, actions, data.get(), Qt::NoButton, modifiers);
    QApplication::sendEvent(target->viewport(), &drop);
    return drop.isAccepted();
}

} // namespace

class ListsTest : public QObject {
    Q_OBJECT

private slots:
    void playersWithoutTeamWindowListsThemAndOpensPlayers();
    void dragOntoTeamsListMovesOrCopies();
    void contextMenuAndEditCommands();
    void jerseyMenuNamesAndDisablesWornNumbers();
    void deletePlayersWithoutTeam();
    void searchFindsEveryCaseAndOpensEachKind();
    void screenshots();
};

void ListsTest::playersWithoutTeamWindowListsThemAndOpensPlayers() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    QVERIFY(db);
    frame->ActionForKey(QStringLiteral("Menu_ViewPlayersWithoutTeam"))->trigger();
    auto* window = qobject_cast<CPlayersListFrame*>(frame->ActiveFrame());
    QVERIFY(window);
    CPlayersListView* list = window->List();
    int free = 0;
    for (const auto& [id, player] : db->Players()) {
        free += player.Teams().empty() ? 1 : 0;
    }
    QVERIFY(free > 100);
    QCOMPARE(list->model()->rowCount(), free);
    QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Player"));
    // No numbers and positions without a team.
    QCOMPARE(list->model()->index(0, 1).data().toString(), QString());

    // The tool tip names the player and shows his rating as that many pixels of the stars.
    const QModelIndex first = list->model()->index(0, 0);
    const int32_t playerId = first.data(CPlayersListModel::kPlayerIdRole).toInt();
    const CPlayer* player = db->FindPlayer(playerId);
    const QString markup = first.data(CPlayersListModel::kMarkupRole).toString();
    QVERIFY2(markup.contains(QStringLiteral("cx=%1 cy=-20").arg(-player->ComputeOverall())),
             qPrintable(markup));
    QVERIFY(markup.startsWith(QStringLiteral("<ilst=%1><b><ct=0x0000FF><al> 0<t>")
                                  .arg(first.data(CPlayersListModel::kIconIndexRole).toInt())));
    const QString html = first.data(Qt::ToolTipRole).toString();
    QVERIFY(html.contains(QString::fromStdString(player->LastName()).toHtmlEscaped()));
    QVERIFY(html.contains(QStringLiteral("data:image/png;base64,")));
    QVERIFY(html.contains(QStringLiteral("width=\"%1\"").arg(player->ComputeOverall())));

    // A double click opens the player's window; a second one activates it again.
    DoubleClickRow(list, 0);
    const QString title = frame->PlayerTitle(
        list->model()->index(0, 0).data(CPlayersListModel::kPlayerIdRole).toInt());
    QCOMPARE(frame->MdiArea()->activeSubWindow()->windowTitle(), title);
    const auto windows = frame->MdiArea()->subWindowList().size();
    frame->MdiArea()->setActiveSubWindow(
        frame->FindChild(CChildFrame::Kind::PlayersList, CGameDatabase::kNoTeamId));
    DoubleClickRow(list, 0);
    QCOMPARE(frame->MdiArea()->subWindowList().size(), windows);
    QCOMPARE(frame->MdiArea()->activeSubWindow()->windowTitle(), title);
}

void ListsTest::dragOntoTeamsListMovesOrCopies() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    int32_t leagueId = 0;
    const auto [from, to] = TwoTeamsOfOneLeague(*db, &leagueId);
    QVERIFY(from > 0);

    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* players = new CPlayersListView(*frame, &window);
    auto* teams = new CTeamsListView(*frame, &window);
    layout->addWidget(players);
    layout->addWidget(teams);
    window.resize(900, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    players->Refresh(from);
    teams->Refresh(leagueId);
    QCOMPARE(teams->model()->rowCount(), static_cast<int>(db->TeamsOfLeague(leagueId).size()));

    // Three players picked with the mouse, Ctrl-dragged onto the other team: copied.
    ClickRow(players, 0);
    ClickRow(players, 2, Qt::ControlModifier);
    ClickRow(players, 4, Qt::ControlModifier);
    const QList<int32_t> picked = players->SelectedPlayerIds();
    QCOMPARE(picked.size(), 3);
    const auto squadBefore = db->PlayersOfTeam(from);
    const QPoint target = RowCentre(teams, ProxyRowOfTeam(teams, to));
    QVERIFY(DropOn(players, teams, target, Qt::ControlModifier));
    for (int32_t id : picked) {
        QVERIFY(db->FindTeamPlayerLink(id, from));
        QVERIFY(db->FindTeamPlayerLink(id, to));
    }
    QCOMPARE(db->PlayersOfTeam(from), squadBefore);
    QCOMPARE(teams->DropRow(), -1);

    // No team under the pointer: nothing changes.
    const auto toBefore = db->PlayersOfTeam(to);
    const QPoint below(10, teams->viewport()->height() - 3);
    QVERIFY(!teams->indexAt(below).isValid());
    ClickRow(players, 1);
    QVERIFY(!DropOn(players, teams, below, {}));
    QCOMPARE(db->PlayersOfTeam(from), squadBefore);
    QCOMPARE(db->PlayersOfTeam(to), toBefore);

    // A plain drag moves them; the players without a team lose the one who found a team.
    frame->ActionForKey(QStringLiteral("Menu_ViewPlayersWithoutTeam"))->trigger();
    CPlayersListView* free = qobject_cast<CPlayersListFrame*>(frame->ActiveFrame())->List();
    ClickRow(free, 3);
    const int32_t mover = free->SelectedPlayerIds().first();
    const int rowsBefore = free->model()->rowCount();
    QVERIFY(DropOn(free, teams, target, {}));
    QVERIFY(db->FindTeamPlayerLink(mover, to));
    QCOMPARE(db->FindPlayer(mover)->Teams(), std::vector<int32_t>{to});
    QCOMPARE(free->model()->rowCount(), rowsBefore - 1);
    QCOMPARE(free->Model()->RowOf(mover), -1);
    players->Refresh(from);
    ClickRow(players, 1);
    const int32_t squadMover = players->SelectedPlayerIds().first();
    QVERIFY(DropOn(players, teams, target, {}));
    QVERIFY(!db->FindTeamPlayerLink(squadMover, from));
    QVERIFY(db->FindTeamPlayerLink(squadMover, to));

    // Dropping players on their own team changes nothing: not their place, not their number.
    const CTeamPlayerLink before = *db->FindTeamPlayerLink(mover, to);
    players->Refresh(to, mover);
    QVERIFY(!DropOn(players, teams, target, {}));
    QCOMPARE(*db->FindTeamPlayerLink(mover, to), before);
}

void ListsTest::contextMenuAndEditCommands() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    int32_t leagueId = 0;
    const int32_t team = TwoTeamsOfOneLeague(*db, &leagueId).first;
    frame->ActionForKey(QStringLiteral("Menu_ViewPlayersWithoutTeam"))->trigger();
    CPlayersListView* free = qobject_cast<CPlayersListFrame*>(frame->ActiveFrame())->List();

    CPlayersListView players(*frame);
    players.resize(500, 400);
    players.show();
    QVERIFY(QTest::qWaitForWindowExposed(&players));
    players.Refresh(team);
    ClickRow(&players, 0);

    // Paste is disabled while nothing was cut or copied.
    QMenu* menu = OpenContextMenu(&players);
    QVERIFY(menu);
    QVERIFY(!MenuAction(menu, "Menu_EditPaste")->isEnabled());
    QVERIFY(MenuAction(menu, "Menu_EditCut")->isEnabled());
    QCOMPARE(MenuAction(menu, "Menu_EditCut")->text(), QStringLiteral("Cu&t\tCtrl+X"));
    QTest::keyClick(menu, Qt::Key_Escape);

    // Ctrl+X through the main window: the player leaves the team and waits with the players
    // without a team; Ctrl+V pastes a copy of him.
    const int32_t cut = players.CurrentPlayerId();
    const int freeBefore = free->model()->rowCount();
    players.activateWindow();
    players.setFocus();
    frame->ActionForKey(QStringLiteral("Menu_EditCut"))->trigger();
    QVERIFY(!db->FindTeamPlayerLink(cut, team));
    QVERIFY(db->FindPlayer(cut));
    QCOMPARE(free->model()->rowCount(), freeBefore + 1);
    QVERIFY(free->Model()->RowOf(cut) >= 0);
    menu = OpenContextMenu(&players);
    QVERIFY(MenuAction(menu, "Menu_EditPaste")->isEnabled());
    MenuAction(menu, "Menu_EditPaste")->trigger();
    const int32_t pasted = players.CurrentPlayerId();
    QVERIFY(pasted != cut);
    QVERIFY(db->FindTeamPlayerLink(pasted, team));
    QVERIFY(QString::fromStdString(db->FindPlayer(pasted)->FirstName())
                .startsWith(QStringLiteral("Copy of")));
    QVERIFY(free->Model()->RowOf(cut) >= 0);

    // New makes a player in this team and selects him.
    const auto squad = db->PlayersOfTeam(team).size();
    menu = OpenContextMenu(&players);
    MenuAction(menu, "Menu_EditNew")->trigger();
    QCOMPARE(db->PlayersOfTeam(team).size(), squad + 1);
    QVERIFY(db->FindTeamPlayerLink(players.CurrentPlayerId(), team));

    // The players without a team have no jersey numbers to hand out.
    menu = OpenContextMenu(free);
    QVERIFY(menu);
    QVERIFY(!menu->findChild<QMenu*>(QStringLiteral("JerseyMenu")));
    QTest::keyClick(menu, Qt::Key_Escape);
}

void ListsTest::jerseyMenuNamesAndDisablesWornNumbers() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    int32_t leagueId = 0;
    const int32_t team = TwoTeamsOfOneLeague(*db, &leagueId).first;
    // Eleven players wearing 1 to 11.
    const auto squad = db->PlayersOfTeam(team);
    for (std::size_t i = 11; i < squad.size(); ++i) {
        db->RemovePlayerFromTeam(squad[i], team);
    }
    for (int i = 0; i < 11; ++i) {
        db->Teams().Find(team)->FindLink(squad[i])->jerseyNumber = i + 1;
    }
    CPlayersListView players(*frame);
    players.resize(500, 400);
    players.show();
    QVERIFY(QTest::qWaitForWindowExposed(&players));
    players.Refresh(team);
    QMenu* menu = RightClickRow(&players, ProxyRowOfPlayer(&players, squad[0]));
    QVERIFY(menu);
    auto* jersey = menu->findChild<QMenu*>(QStringLiteral("JerseyMenu"));
    QVERIFY(jersey);
    for (int n = 0; n < 100; ++n) {
        auto* action = jersey->findChild<QAction*>(QStringLiteral("Jersey_%1").arg(n));
        QVERIFY(action);
        const bool worn = n >= 1 && n <= 11;
        QCOMPARE(action->isEnabled(), !worn);
        QCOMPARE(action->isChecked(), n == 1);
        if (worn) {
            QCOMPARE(action->text(), QStringLiteral("%1 %2").arg(n).arg(QString::fromStdString(
                                         db->PlayerDisplayName(squad[n - 1]))));
        } else {
            QCOMPARE(action->text(), QString::number(n));
        }
    }
    // Five columns of twenty: 20 starts the second column beside 0, 19 ends the first.
    menu->setActiveAction(jersey->menuAction());
    QTest::keyClick(menu, Qt::Key_Right);
    QTRY_VERIFY(jersey->isVisible());
    auto* grid = jersey->findChild<CMenuGrid*>();
    QVERIFY(grid);
    const auto button = [&](int n) {
        return grid->ButtonFor(jersey->findChild<QAction*>(QStringLiteral("Jersey_%1").arg(n)));
    };
    QCOMPARE(button(20)->y(), button(0)->y());
    QVERIFY(button(20)->x() > button(0)->x());
    QCOMPARE(button(19)->x(), button(0)->x());
    QCOMPARE(button(80)->y(), button(0)->y());
    QCOMPARE(button(99)->y(), button(19)->y());
    QCOMPARE(button(5)->accessibleName(), button(5)->text());

    // A click on a free number gives it to the player and closes the menu.
    QTest::mouseClick(button(12), Qt::LeftButton);
    QCOMPARE(db->FindTeamPlayerLink(squad[0], team)->jerseyNumber, 12);
    QTRY_VERIFY(!menu->isVisible());
    const int row = ProxyRowOfPlayer(&players, squad[0]);
    QCOMPARE(players.model()->index(row, 1).data().toString(), QStringLiteral("12"));
}

void ListsTest::deletePlayersWithoutTeam() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    std::vector<int32_t> free;
    for (const auto& [id, player] : db->Players()) {
        if (player.Teams().empty()) {
            free.push_back(id);
        }
    }
    QVERIFY(free.size() > 4);
    // A captain whom his team does not list: still referred to, so not deletable.
    const int32_t captain = free[0];
    db->Teams().begin()->second.SetTaker(ETaker::Captain, captain);
    const int32_t doomed = free[1];
    const int32_t spared = free[2];
    const auto playersBefore = db->Players().size();

    QVERIFY(frame->OpenAllPlayers());
    auto* table = qobject_cast<CAllPlayersFrame*>(frame->ActiveFrame());
    QVERIFY(table);
    const auto& listed = table->Model()->Players();
    QVERIFY(std::find(listed.begin(), listed.end(), doomed) != listed.end());
    QVERIFY(frame->OpenPlayer(doomed));
    frame->ActionForKey(QStringLiteral("Menu_ViewPlayersWithoutTeam"))->trigger();
    CPlayersListView* list = qobject_cast<CPlayersListFrame*>(frame->ActiveFrame())->List();
    const int rowsBefore = list->model()->rowCount();

    // Offered, but disabled while the selection holds the captain.
    ClickRow(list, ProxyRowOfPlayer(list, spared));
    list->scrollTo(list->model()->index(ProxyRowOfPlayer(list, captain), 0));
    ClickRow(list, ProxyRowOfPlayer(list, captain), Qt::ControlModifier);
    QCOMPARE(list->SelectedPlayerIds().size(), 2);
    QMenu* menu = RightClickRow(list, ProxyRowOfPlayer(list, captain));
    QVERIFY(menu);
    QAction* remove = MenuAction(menu, "Menu_EditDeletePlayer");
    QVERIFY(remove);
    QVERIFY(remove->isVisible());
    QVERIFY(!remove->isEnabled());
    QCOMPARE(remove->text(), QStringLiteral("&Delete Player\tDel"));
    QTest::keyClick(menu, Qt::Key_Escape);
    // The Delete key says why instead of deleting.
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(fixture.prompts.size(), 1);
    QVERIFY(fixture.prompts.first().startsWith(QStringLiteral("warn: ")));
    QVERIFY(fixture.prompts.first().contains(
        QString::fromStdString(db->PlayerDisplayName(captain))));
    QVERIFY(db->FindPlayer(captain) && db->FindPlayer(spared));

    // The context menu and the real question, which names him and warns it is for good.
    list->scrollTo(list->model()->index(ProxyRowOfPlayer(list, doomed), 0));
    menu = RightClickRow(list, ProxyRowOfPlayer(list, doomed));
    QVERIFY(menu);
    QCOMPARE(list->SelectedPlayerIds(), QList<int32_t>{doomed});
    remove = MenuAction(menu, "Menu_EditDeletePlayer");
    QVERIFY(remove->isEnabled());
    CUserPrompts::SetHandler({});
    QString question;
    bool noByDefault = false;
    WhenModalShown([&](QDialog* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box);
        question = box->text();
        noByDefault = box->defaultButton() == box->button(QMessageBox::No);
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
    });
    menu->setActiveAction(remove);
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(!db->FindPlayer(doomed));
    QVERIFY2(question.contains(QStringLiteral("cannot be undone")), qPrintable(question));
    QVERIFY(noByDefault);
    QVERIFY(!frame->FindChild(CChildFrame::Kind::Player, doomed));
    QCOMPARE(list->model()->rowCount(), rowsBefore - 1);
    QCOMPARE(list->Model()->RowOf(doomed), -1);
    QVERIFY(std::find(table->Model()->Players().begin(), table->Model()->Players().end(),
                      doomed) == table->Model()->Players().end());
    QVERIFY(frame->isWindowModified());

    // The Delete key asks too; No keeps him, Yes deletes him.
    QList<QString> prompts;
    CUserPrompts::SetHandler([&](const QString& kind, const QString& text) {
        prompts << kind + QStringLiteral(": ") + text;
        return prompts.size() == 1 ? CUserPrompts::Answer::No : CUserPrompts::Answer::Yes;
    });
    list->scrollTo(list->model()->index(ProxyRowOfPlayer(list, spared), 0));
    ClickRow(list, ProxyRowOfPlayer(list, spared));
    const QString sparedName = QString::fromStdString(db->PlayerDisplayName(spared));
    QTest::keyClick(list, Qt::Key_Delete);
    QVERIFY(db->FindPlayer(spared));
    QTest::keyClick(list, Qt::Key_Delete);
    QVERIFY(!db->FindPlayer(spared));
    QCOMPARE(prompts.size(), 2);
    QVERIFY(prompts.first().startsWith(QStringLiteral("yesno: ")));
    QVERIFY(prompts.first().contains(sparedName));
    // Whatever the check before saving finds, the save goes ahead.
    CUserPrompts::SetHandler(
        [](const QString&, const QString&) { return CUserPrompts::Answer::Save; });

    // Saved and loaded again, both are gone and everyone else is there.
    QVERIFY(frame->SaveDatabase());
    CGameDatabase reloaded;
    SilentSink sink;
    QVERIFY(reloaded.LoadGameDatabase(fixture.DatabasePath().toStdString(),
                                      fixture.TextDbPath().toStdString(), sink));
    QVERIFY(!reloaded.FindPlayer(doomed) && !reloaded.FindPlayer(spared));
    QVERIFY(reloaded.FindPlayer(captain));
    QCOMPARE(reloaded.Players().size(), playersBefore - 2);
}

void ListsTest::searchFindsEveryCaseAndOpensEachKind() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    QVERIFY(frame->OpenSearchResults({QStringLiteral("aR"), true, true, true}));
    auto* results = qobject_cast<CSearchResultsFrame*>(frame->ActiveFrame());
    QVERIFY(results);
    QTreeView* list = results->List();
    QAbstractItemModel* model = list->model();
    QVERIFY(model->rowCount() > 10);
    QStringList types;
    QSet<QString> kinds;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString name = model->index(row, 0).data().toString();
        QVERIFY2(name.contains(QStringLiteral("ar"), Qt::CaseInsensitive), qPrintable(name));
        const QString type = model->index(row, 1).data().toString();
        if (types.isEmpty() || types.last() != type) {
            QVERIFY2(!types.contains(type), qPrintable(type));
            types << type;
        }
        kinds.insert(type);
    }
    QStringList sorted = types;
    sorted.sort();
    QCOMPARE(types, sorted);
    QVERIFY(types.contains(QStringLiteral("Team")) && types.contains(QStringLiteral("Player")));
    // Each kind opens its own window on a double click.
    for (const QString& type : types) {
        int row = 0;
        while (model->index(row, 1).data().toString() != type) {
            ++row;
        }
        frame->MdiArea()->setActiveSubWindow(frame->MdiArea()->subWindowList().first());
        list->scrollTo(model->index(row, 0));
        DoubleClickRow(list, row);
        QVERIFY2(frame->MdiArea()->activeSubWindow()->windowTitle().startsWith(type),
                 qPrintable(frame->MdiArea()->activeSubWindow()->windowTitle()));
    }
    // Letter case of other scripts folds too.
    CPlayer* player = db->FindPlayer(db->Players().begin()->first);
    player->SetCommonName("\xC3\xA7" "e\xC5\x9F" "me \xCF\x83");
    QVERIFY(frame->OpenSearchResults({QString::fromUtf8("\xC3\x87" "E\xC5\x9E" "ME \xCE\xA3"), false,
                                      false, true}));
    results = qobject_cast<CSearchResultsFrame*>(frame->ActiveFrame());
    QCOMPARE(results->List()->model()->rowCount(), 1);
}

// Pictures of the windows for the documentation, written only when KESTREL_SCREENSHOT_DIR names
// a folder.
void ListsTest::screenshots() {
    const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        QSKIP("KESTREL_SCREENSHOT_DIR is not set");
    }
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    frame->resize(1100, 720);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    frame->ActionForKey(QStringLiteral("Menu_ViewPlayersWithoutTeam"))->trigger();
    CPlayersListView* free = qobject_cast<CPlayersListFrame*>(frame->ActiveFrame())->List();
    ClickRow(free, 2);
    QTest::qWait(50);
    QVERIFY(frame->grab().save(folder + QStringLiteral("/players-without-team.png")));
    // The tool tip as Qt's rich-text label draws it.
    QLabel tip;
    tip.setText(free->model()->index(2, 0).data(Qt::ToolTipRole).toString());
    tip.setStyleSheet(QStringLiteral("QLabel { background: #ffffe1; border: 1px solid #767676; "
                                     "padding: 3px; }"));
    tip.adjustSize();
    QVERIFY(tip.grab().save(folder + QStringLiteral("/player-tooltip.png")));
}

QTEST_MAIN(ListsTest)
#include "ListsTest.moc"
