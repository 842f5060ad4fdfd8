#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"
#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"
#include "editor/localisation/CLocalisationTable.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CMenuGrid.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayerInfoForm.h"
#include "editor/windows/CPlayersListFrame.h"
#include "editor/windows/CPlayersListModel.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CPlayersTableView.h"
#include "editor/windows/CSearchResultsFrame.h"
#include "editor/windows/CTeamFrame.h"
#include "editor/windows/CTeamInfoForm.h"
#include "editor/windows/CTeamSelectDialog.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <memory>

using namespace UserSteps;

namespace {

// The row the players or teams list shows that record in; -1 when it is not listed.
template <typename TView> int ProxyRowOf(const TView* view, int32_t id) {
    const int row = view->Model()->RowOf(id);
    return row < 0 ? -1 : view->Proxy()->mapFromSource(view->Model()->index(row, 0)).row();
}

QString PlayersShownFor(const CTeamsListView* view, int32_t teamId) {
    const int row = ProxyRowOf(view, teamId);
    return view->model()->index(row, CTeamsListModel::PlayerCountColumn).data().toString();
}

QAction* MenuAction(QMenu* menu, const char* key) {
    return menu->findChild<QAction*>(QString::fromLatin1(key));
}

// What a drag delivers to the teams list, pointer at `at`: enter, a move, the drop.
struct SDropSeen {
    Qt::DropAction moveAction = Qt::IgnoreAction;
    bool moveAccepted = false;
    int highlighted = -1;
    bool dropAccepted = false;
};

SDropSeen DragOnto(const QMimeData& data, CTeamsListView* target, QPoint at,
                   Qt::KeyboardModifiers modifiers) {
    SDropSeen seen;
    const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target->viewport(), &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target->viewport(), &move);
    seen.moveAccepted = move.isAccepted();
    seen.moveAction = move.dropAction();
    seen.highlighted = target->DropRow();
    QDropEvent drop(at, actions, &data, Qt::NoButton, modifiers);
    QApplication::sendEvent(target->viewport(), &drop);
    seen.dropAccepted = drop.isAccepted();
    return seen;
}

// The players list's rows picked with the mouse dragged onto the teams list.
SDropSeen DragSelection(CPlayersListView* source, CTeamsListView* target, QPoint at,
                        Qt::KeyboardModifiers modifiers) {
    std::unique_ptr<QMimeData> data(source->SelectionMimeData());
    return data ? DragOnto(*data, target, at, modifiers) : SDropSeen{};
}

} // namespace

class ListsTest : public FreshEditorTest {
    Q_OBJECT

public:
    ListsTest() : FreshEditorTest(QSize(1280, 900)) {}

private:
    // A league of two teams or more whose first team has at least five players.
    bool PickLeague() {
        for (const auto& [id, league] : Db().Leagues()) {
            const auto teams = Db().TeamsOfLeague(id);
            if (teams.size() >= 2 && Db().PlayersOfTeam(teams[0]).size() >= 5) {
                m_league = id;
                m_from = teams[0];
                m_to = teams[1];
                return true;
            }
        }
        return false;
    }
    CGameDatabase& Db() { return *m_frame->Database(); }
    template <typename TFrame> TFrame* Window(CChildFrame::Kind kind, int key) {
        QMdiSubWindow* window = m_frame->FindChild(kind, key);
        return window ? qobject_cast<TFrame*>(window->widget()) : nullptr;
    }
    // The players without a team, opened from the View menu.
    CPlayersListView* OpenFreePlayers() {
        m_frame->ActionForKey(QStringLiteral("Menu_ViewPlayersWithoutTeam"))->trigger();
        auto* window = qobject_cast<CPlayersListFrame*>(m_frame->ActiveFrame());
        return window ? window->List() : nullptr;
    }
    // The league window and the source team's window beside it, as a user arranges them.
    bool OpenLeagueAndSourceTeam() {
        m_squad = nullptr;
        if (CTeamFrame* team = OpenTeamFromLeague(*m_frame, m_league, m_from))
            m_squad = team->SquadList();
        QMdiSubWindow* league = m_frame->FindChild(CChildFrame::Kind::League, m_league);
        QMdiSubWindow* team = m_frame->FindChild(CChildFrame::Kind::Team, m_from);
        if (!m_squad || !league || !team)
            return false;
        m_teams = qobject_cast<CLeagueFrame*>(league->widget())->TeamsList();
        // Side by side, the teams list given the league window's height: room below the rows.
        const QRect area = m_frame->MdiArea()->viewport()->rect();
        team->setGeometry(0, 0, area.width() / 2, area.height());
        league->setGeometry(area.width() / 2, 0, area.width() / 2, area.height());
        if (auto* split = qobject_cast<QSplitter*>(m_teams->parentWidget()))
            split->setSizes({area.height(), 1});
        return m_squad->isVisible() && m_teams->isVisible();
    }
    QPoint TeamRow(int32_t team) { return RowCentre(m_teams, ProxyRowOf(m_teams, team)); }
    // A player without a team goes on the team's bench until it is full.
    void FillBench(int32_t team) {
        for (const auto& [id, player] : Db().Players()) {
            if (Db().ChooseBenchPosition(team) < 0)
                return;
            if (player.Teams().empty())
                Db().AddPlayerToTeam(id, team, -1, -1);
        }
    }
    // Edit › Find with the text typed and the kinds ticked in the dialog.
    void FindThroughDialog(const QString& text, bool leagues, bool teams, bool players) {
        WhenModalShown([this, text, leagues, teams, players](QDialog* dialog) {
            auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("findText"));
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            // Letters beyond ASCII arrive as an input method commits them.
            bool ascii = true;
            for (QChar c : text)
                ascii = ascii && c.unicode() < 0x80;
            if (ascii) {
                QTest::keyClicks(box, text);
            } else {
                QInputMethodEvent typed;
                typed.setCommitString(text);
                QApplication::sendEvent(box, &typed);
            }
            const bool ticks[] = {leagues, teams, players};
            const char* keys[] = {"Caption_Comps", "Caption_Teams", "Caption_Players"};
            for (int i = 0; i < 3; ++i)
                for (QCheckBox* check : dialog->findChildren<QCheckBox*>())
                    if (check->text() == m_frame->Text(keys[i]) && check->isChecked() != ticks[i])
                        QTest::keyClick(check, Qt::Key_Space);
            QTest::keyClick(box, Qt::Key_Return);
            if (dialog->isVisible())
                dialog->reject();
        });
        m_frame->ActionForKey(QStringLiteral("Menu_EditFind"))->trigger();
    }

    int32_t m_league = 0;
    int32_t m_from = 0;
    int32_t m_to = 0;
    CPlayersListView* m_squad = nullptr;
    CTeamsListView* m_teams = nullptr;

private slots:
    void playersWithoutTeamWindowListsThemAndOpensPlayers();
    void squadsDragOntoATeamOfTheLeagueWindow();
    void freePlayersAndTableRowsDropOntoATeam();
    void moveToATeamThatCannotTakeHimLeavesHim();
    void contextMenuAndEditCommands();
    void jerseyMenuNamesAndDisablesWornNumbers();
    void deletePlayersWithoutTeam();
    void findDialogAsksForTextAndKind();
    void searchFindsEveryCaseAndOpensEachKind();
};

void ListsTest::playersWithoutTeamWindowListsThemAndOpensPlayers() {
    QVERIFY(PickLeague());
    CPlayersListView* list = OpenFreePlayers();
    QVERIFY(list);
    int free = 0;
    for (const auto& [id, player] : Db().Players()) {
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
    const CPlayer* player = Db().FindPlayer(playerId);
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
    const QString title = m_frame->PlayerTitle(playerId);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow()->windowTitle(), title);
    const auto windows = m_frame->MdiArea()->subWindowList().size();
    m_frame->MdiArea()->setActiveSubWindow(
        m_frame->FindChild(CChildFrame::Kind::PlayersList, CGameDatabase::kNoTeamId));
    DoubleClickRow(list, 0);
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), windows);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow()->windowTitle(), title);
}

void ListsTest::squadsDragOntoATeamOfTheLeagueWindow() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    // Positions read by name, as the player window names them, and sort by their codes.
    QAbstractItemModel* squadModel = m_squad->model();
    int32_t lastCode = -1;
    for (int row = 0; row < squadModel->rowCount(); ++row) {
        const int32_t id = squadModel->index(row, 0).data(CPlayersListModel::kPlayerIdRole).toInt();
        const int32_t code = Db().FindTeamPlayerLink(id, m_from)->formationPosition;
        QVERIFY(code >= lastCode);
        lastCode = code;
        QCOMPARE(squadModel->index(row, 2).data().toString(),
                 m_frame->Text(std::string(CLocalisationTable::PositionKey(code)).c_str()));
    }
    QCOMPARE(squadModel->index(0, 2).data().toString(), QStringLiteral("Goalkeeper"));
    // The window of one of the players, open while he is copied.
    DoubleClickRow(m_squad, 0);
    auto* playerWindow = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QVERIFY(playerWindow);
    QListWidget* inTeams = static_cast<CPlayerInfoForm*>(playerWindow->Page(0))->TeamList();
    const int teamsBefore = inTeams->count();
    // A name being typed, not applied yet, survives the squad change.
    QLineEdit* firstName = nullptr;
    for (QLineEdit* box : playerWindow->Page(0)->findChildren<QLineEdit*>()) {
        if (box->accessibleName() == QStringLiteral("First name"))
            firstName = box;
    }
    QVERIFY(firstName);
    QTest::mouseClick(firstName, Qt::LeftButton);
    QTest::keyClick(firstName, Qt::Key_End);
    QTest::keyClicks(firstName, QStringLiteral("zed"));
    const QString typed = firstName->text();
    QVERIFY(typed.endsWith(QStringLiteral("zed")));

    // Three players picked with the mouse, Ctrl-dragged onto the other team: copied.
    ClickRow(m_squad, 0);
    ClickRow(m_squad, 2, Qt::ControlModifier);
    ClickRow(m_squad, 4, Qt::ControlModifier);
    const QList<int32_t> picked = m_squad->SelectedPlayerIds();
    QCOMPARE(picked.size(), 3);
    const auto squadBefore = Db().PlayersOfTeam(m_from);
    const int shownBefore = PlayersShownFor(m_teams, m_to).toInt();
    QCOMPARE(shownBefore, static_cast<int>(Db().PlayersOfTeam(m_to).size()));
    SDropSeen seen = DragSelection(m_squad, m_teams, TeamRow(m_to), Qt::ControlModifier);
    QVERIFY(seen.moveAccepted);
    QCOMPARE(seen.moveAction, Qt::CopyAction);
    QCOMPARE(seen.highlighted, ProxyRowOf(m_teams, m_to));
    QVERIFY(seen.dropAccepted);
    QCOMPARE(m_teams->DropRow(), -1);
    for (int32_t id : picked) {
        QVERIFY(Db().FindTeamPlayerLink(id, m_from));
        QVERIFY(Db().FindTeamPlayerLink(id, m_to));
    }
    QCOMPARE(Db().PlayersOfTeam(m_from), squadBefore);
    QCOMPARE(m_squad->model()->rowCount(), static_cast<int>(squadBefore.size()));
    // Every window showing it follows: the teams list's count, the player's teams, the
    // leagues list's count.
    QCOMPARE(PlayersShownFor(m_teams, m_to).toInt(), shownBefore + 3);
    QCOMPARE(inTeams->count(), teamsBefore + 1);
    QCOMPARE(firstName->text(), typed);
    QVERIFY(!inTeams->findItems(QString::fromStdString(Db().FindTeam(m_to)->Name()),
                                Qt::MatchExactly)
                 .isEmpty());
    QTreeWidget* leagues = m_frame->WorkspaceBar()->LeaguesList();
    int inLeague = 0;
    for (int32_t team : Db().TeamsOfLeague(m_league))
        inLeague += static_cast<int>(Db().PlayersOfTeam(team).size());
    const QString leagueName = QString::fromStdString(Db().FindLeague(m_league)->name);
    QCOMPARE(leagues->findItems(leagueName, Qt::MatchExactly).first()->text(3),
             QString::number(inLeague));

    // A plain drag moves two others; the squad list loses them.
    int row = 0;
    QList<int32_t> movers;
    for (; row < m_squad->model()->rowCount() && movers.size() < 2; ++row) {
        const int32_t id = m_squad->model()->index(row, 0).data(CPlayersListModel::kPlayerIdRole).toInt();
        if (!picked.contains(id)) {
            ClickRow(m_squad, row, movers.isEmpty() ? Qt::NoModifier : Qt::ControlModifier);
            movers << id;
        }
    }
    QCOMPARE(m_squad->SelectedPlayerIds(), movers);
    seen = DragSelection(m_squad, m_teams, TeamRow(m_to), Qt::NoModifier);
    QCOMPARE(seen.moveAction, Qt::MoveAction);
    QVERIFY(seen.dropAccepted);
    for (int32_t id : movers) {
        QVERIFY(!Db().FindTeamPlayerLink(id, m_from));
        QVERIFY(Db().FindTeamPlayerLink(id, m_to));
        QCOMPARE(m_squad->Model()->RowOf(id), -1);
    }
    QCOMPARE(m_squad->model()->rowCount(), static_cast<int>(squadBefore.size()) - 2);

    // No team under the pointer: no highlight, no drop, nothing changes.
    const auto fromBefore = Db().PlayersOfTeam(m_from);
    const auto toBefore = Db().PlayersOfTeam(m_to);
    const QPoint below(10, m_teams->viewport()->height() - 3);
    QVERIFY(!m_teams->indexAt(below).isValid());
    ClickRow(m_squad, 0);
    seen = DragSelection(m_squad, m_teams, below, Qt::NoModifier);
    QVERIFY(!seen.moveAccepted);
    QCOMPARE(seen.highlighted, -1);
    QVERIFY(!seen.dropAccepted);
    QCOMPARE(Db().PlayersOfTeam(m_from), fromBefore);
    QCOMPARE(Db().PlayersOfTeam(m_to), toBefore);

    // Players dropped on their own team keep their place and number there.
    const int32_t mover = movers.first();
    const CTeamPlayerLink before = *Db().FindTeamPlayerLink(mover, m_to);
    CTeamFrame* target = OpenTeamFromLeague(*m_frame, m_league, m_to);
    QVERIFY(target);
    target->SquadList()->SelectPlayer(mover);
    seen = DragSelection(target->SquadList(), m_teams, TeamRow(m_to), Qt::NoModifier);
    QVERIFY(!seen.dropAccepted);
    QCOMPARE(*Db().FindTeamPlayerLink(mover, m_to), before);
}

void ListsTest::freePlayersAndTableRowsDropOntoATeam() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    // A player without a team dragged onto a team joins it and leaves the list.
    CPlayersListView* free = OpenFreePlayers();
    QVERIFY(free);
    ClickRow(free, 3);
    const int32_t newcomer = free->SelectedPlayerIds().first();
    const int freeBefore = free->model()->rowCount();
    SDropSeen seen = DragSelection(free, m_teams, TeamRow(m_to), Qt::NoModifier);
    QVERIFY(seen.dropAccepted);
    QCOMPARE(Db().FindPlayer(newcomer)->Teams(), std::vector<int32_t>{m_to});
    QCOMPARE(free->model()->rowCount(), freeBefore - 1);
    QCOMPARE(free->Model()->RowOf(newcomer), -1);

    // Rows of the all-players table have no team to leave: with or without Ctrl they are
    // added, and the pointer says so.
    m_frame->ActionForKey(QStringLiteral("Menu_ViewAllPlayers"))->trigger();
    auto* all = qobject_cast<CAllPlayersFrame*>(m_frame->ActiveFrame());
    QVERIFY(all);
    CPlayersTableView* table = all->View();
    int row = 0;
    while (Db().FindPlayer(all->Model()->PlayerAt(row))->Teams() != std::vector<int32_t>{m_from})
        ++row;
    table->scrollTo(table->model()->index(row, 0));
    ClickRow(table, row);
    const int32_t joined = all->Model()->PlayerAt(row);
    std::unique_ptr<QMimeData> rows(
        all->Model()->mimeData(table->selectionModel()->selectedRows()));
    seen = DragOnto(*rows, m_teams, TeamRow(m_to), Qt::NoModifier);
    QCOMPARE(seen.moveAction, Qt::CopyAction);
    QVERIFY(seen.dropAccepted);
    QCOMPARE(Db().FindPlayer(joined)->Teams(), (std::vector<int32_t>{m_from, m_to}));
    QVERIFY(m_squad->Model()->RowOf(joined) >= 0);

    // A team with a full bench takes nobody and says so; the players stay where they were.
    FillBench(m_to);
    const auto toBefore = Db().PlayersOfTeam(m_to);
    m_fixture->prompts.clear();
    ClickRow(m_squad, 0);
    ClickRow(m_squad, 1, Qt::ControlModifier);
    const QList<int32_t> refused = m_squad->SelectedPlayerIds();
    seen = DragSelection(m_squad, m_teams, TeamRow(m_to), Qt::NoModifier);
    QVERIFY(!seen.dropAccepted);
    QCOMPARE(Db().PlayersOfTeam(m_to), toBefore);
    for (int32_t id : refused)
        QVERIFY(Db().FindTeamPlayerLink(id, m_from));
    QTRY_COMPARE(m_fixture->prompts,
                 QStringList{QStringLiteral("warn: ") +
                             QStringLiteral("The team has no free place for 2 of the dragged "
                                            "players; they stay where they were.")});
}

void ListsTest::moveToATeamThatCannotTakeHimLeavesHim() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    FillBench(m_to);
    const auto toBefore = Db().PlayersOfTeam(m_to);
    ClickRow(m_squad, 0);
    const int32_t player = m_squad->CurrentPlayerId();
    const CTeamPlayerLink link = *Db().FindTeamPlayerLink(player, m_from);
    QMenu* menu = RightClickRow(m_squad, 0);
    QVERIFY(menu);
    WhenModalShown([this](QDialog* dialog) {
        auto* choose = static_cast<CTeamSelectDialog*>(dialog);
        QVERIFY(choose->SelectTeam(m_to));
        QTest::keyClick(choose->Tree(), Qt::Key_Return);
    });
    m_fixture->prompts.clear();
    MenuAction(menu, "Menu_EditMoveTo")->trigger();
    QCOMPARE(m_fixture->prompts,
             QStringList{QStringLiteral("warn: ") + m_frame->Text("Message_TeamCannotTakePlayer")});
    QCOMPARE(*Db().FindTeamPlayerLink(player, m_from), link);
    QCOMPARE(Db().PlayersOfTeam(m_to), toBefore);
    QVERIFY(m_squad->Model()->RowOf(player) >= 0);

    // A team with room takes him, and he leaves this one.
    const int32_t other = Db().TeamsOfLeague(m_league).back();
    menu = RightClickRow(m_squad, ProxyRowOf(m_squad, player));
    WhenModalShown([other](QDialog* dialog) {
        auto* choose = static_cast<CTeamSelectDialog*>(dialog);
        QVERIFY(choose->SelectTeam(other));
        QTest::keyClick(choose->Tree(), Qt::Key_Return);
    });
    MenuAction(menu, "Menu_EditMoveTo")->trigger();
    QCOMPARE(Db().FindPlayer(player)->Teams(), std::vector<int32_t>{other});
    QCOMPARE(m_squad->Model()->RowOf(player), -1);
}

void ListsTest::contextMenuAndEditCommands() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    CPlayersListView* free = OpenFreePlayers();
    m_frame->MdiArea()->setActiveSubWindow(m_frame->FindChild(CChildFrame::Kind::Team, m_from));
    ClickRow(m_squad, 0);

    // Paste is disabled while nothing was cut or copied, in the list's menu and in the main
    // window's while the list has the focus; elsewhere the main window's stays for the others.
    QAction* mainPaste = m_frame->ActionForKey(QStringLiteral("Menu_EditPaste"));
    QVERIFY(!mainPaste->isEnabled());
    Window<CTeamFrame>(CChildFrame::Kind::Team, m_from)->InfoForm()->NameBox()->setFocus();
    QVERIFY(mainPaste->isEnabled());
    QMenu* menu = OpenContextMenu(m_squad);
    QVERIFY(!mainPaste->isEnabled());
    QVERIFY(menu);
    QVERIFY(!MenuAction(menu, "Menu_EditPaste")->isEnabled());
    QVERIFY(MenuAction(menu, "Menu_EditCut")->isEnabled());
    // The key shows beside the entry as its shortcut, not as part of its name.
    QCOMPARE(MenuAction(menu, "Menu_EditCut")->text(), QStringLiteral("Cu&t"));
    QCOMPARE(MenuAction(menu, "Menu_EditCut")->shortcut(), QKeySequence(QKeySequence::Cut));
    QTest::keyClick(menu, Qt::Key_Escape);

    // Ctrl+X: the player leaves the team and waits with the players without a team; Ctrl+V
    // puts him (the same record) back; Ctrl+C and Ctrl+V paste a copy of him.
    const int32_t cut = m_squad->CurrentPlayerId();
    const int freeBefore = free->model()->rowCount();
    m_squad->setFocus();
    QTest::keyClick(m_squad, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(mainPaste->isEnabled());
    QVERIFY(!Db().FindTeamPlayerLink(cut, m_from));
    QVERIFY(Db().FindPlayer(cut));
    QCOMPARE(free->model()->rowCount(), freeBefore + 1);
    QVERIFY(free->Model()->RowOf(cut) >= 0);
    QTest::keyClick(m_squad, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_squad->CurrentPlayerId(), cut);
    QVERIFY(Db().FindTeamPlayerLink(cut, m_from));
    QCOMPARE(free->Model()->RowOf(cut), -1);
    // A cut player is pasted once.
    QVERIFY(!mainPaste->isEnabled());
    QTest::keyClick(m_squad, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(m_squad, Qt::Key_V, Qt::ControlModifier);
    const int32_t pasted = m_squad->CurrentPlayerId();
    QVERIFY(pasted != cut);
    QVERIFY(Db().FindTeamPlayerLink(pasted, m_from));
    QVERIFY(QString::fromStdString(Db().FindPlayer(pasted)->FirstName())
                .startsWith(QStringLiteral("Copy of")));

    // New makes a player in this team and selects him.
    const auto squad = Db().PlayersOfTeam(m_from).size();
    menu = OpenContextMenu(m_squad);
    MenuAction(menu, "Menu_EditNew")->trigger();
    QCOMPARE(Db().PlayersOfTeam(m_from).size(), squad + 1);
    QVERIFY(Db().FindTeamPlayerLink(m_squad->CurrentPlayerId(), m_from));

    // The players without a team have no jersey numbers to hand out.
    menu = OpenContextMenu(free);
    QVERIFY(menu);
    QVERIFY(!menu->findChild<QMenu*>(QStringLiteral("JerseyMenu")));
    QTest::keyClick(menu, Qt::Key_Escape);
}

void ListsTest::jerseyMenuNamesAndDisablesWornNumbers() {
    QVERIFY(PickLeague());
    // Eleven players wearing 1 to 11.
    const auto squad = Db().PlayersOfTeam(m_from);
    for (std::size_t i = 11; i < squad.size(); ++i) {
        Db().RemovePlayerFromTeam(squad[i], m_from);
    }
    for (int i = 0; i < 11; ++i) {
        Db().Teams().Find(m_from)->FindLink(squad[i])->jerseyNumber = i + 1;
    }
    QVERIFY(OpenLeagueAndSourceTeam());
    QMenu* menu = RightClickRow(m_squad, ProxyRowOf(m_squad, squad[0]));
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
                                         Db().PlayerDisplayName(squad[n - 1]))));
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
    QVERIFY(!button(5)->isEnabled());

    // A click on a free number gives it to the player and closes the menu; a click on a worn
    // one does nothing.
    QTest::mouseClick(button(7), Qt::LeftButton);
    QCOMPARE(Db().FindTeamPlayerLink(squad[0], m_from)->jerseyNumber, 1);
    QCOMPARE(Db().FindTeamPlayerLink(squad[6], m_from)->jerseyNumber, 7);
    QTest::mouseClick(button(12), Qt::LeftButton);
    QCOMPARE(Db().FindTeamPlayerLink(squad[0], m_from)->jerseyNumber, 12);
    QTRY_VERIFY(!menu->isVisible());
    const int row = ProxyRowOf(m_squad, squad[0]);
    QCOMPARE(m_squad->model()->index(row, 1).data().toString(), QStringLiteral("12"));
}

void ListsTest::deletePlayersWithoutTeam() {
    QVERIFY(PickLeague());
    CMainFrame* frame = m_frame;
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
    ClickRow(list, ProxyRowOf(list, spared));
    list->scrollTo(list->model()->index(ProxyRowOf(list, captain), 0));
    ClickRow(list, ProxyRowOf(list, captain), Qt::ControlModifier);
    QCOMPARE(list->SelectedPlayerIds().size(), 2);
    QMenu* menu = RightClickRow(list, ProxyRowOf(list, captain));
    QVERIFY(menu);
    QAction* remove = MenuAction(menu, "Menu_EditDeletePlayer");
    QVERIFY(remove);
    QVERIFY(remove->isVisible());
    QVERIFY(!remove->isEnabled());
    QCOMPARE(remove->text(), QStringLiteral("&Delete Player"));
    QCOMPARE(remove->shortcut(), QKeySequence(QKeySequence::Delete));
    QTest::keyClick(menu, Qt::Key_Escape);
    // The Delete key says why instead of deleting.
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(QStringLiteral("warn: ")));
    QVERIFY(m_fixture->prompts.first().contains(
        QString::fromStdString(db->PlayerDisplayName(captain))));
    QVERIFY(db->FindPlayer(captain) && db->FindPlayer(spared));

    // The context menu and the real question, which names him and says Undo brings him back.
    list->scrollTo(list->model()->index(ProxyRowOf(list, doomed), 0));
    menu = RightClickRow(list, ProxyRowOf(list, doomed));
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
    QVERIFY2(question.contains(QStringLiteral("Undo")), qPrintable(question));
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
    list->scrollTo(list->model()->index(ProxyRowOf(list, spared), 0));
    ClickRow(list, ProxyRowOf(list, spared));
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
    QVERIFY(SavedFiles::LoadDatabase(*m_fixture, reloaded));
    QVERIFY(!reloaded.FindPlayer(doomed) && !reloaded.FindPlayer(spared));
    QVERIFY(reloaded.FindPlayer(captain));
    QCOMPARE(reloaded.Players().size(), playersBefore - 2);
}

void ListsTest::findDialogAsksForTextAndKind() {
    QVERIFY(PickLeague());
    const int windows = static_cast<int>(m_frame->MdiArea()->subWindowList().size());
    // Empty text: the first message, and the dialog stays for the text.
    WhenModalShown([this](QDialog* dialog) {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("findText"));
        box->clear();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(m_fixture->prompts,
                 QStringList{QStringLiteral("inform: ") + m_frame->Text("Message_NothingToFind")});
        QVERIFY(dialog->isVisible());
        // Text but no kind ticked: the second message, still open.
        QTest::keyClicks(box, QStringLiteral("ar"));
        for (QCheckBox* check : dialog->findChildren<QCheckBox*>())
            if (check->isChecked())
                QTest::keyClick(check, Qt::Key_Space);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(m_fixture->prompts.size(), 2);
        QCOMPARE(m_fixture->prompts.last(),
                 QStringLiteral("inform: ") + m_frame->Text("Message_SelectSearchInOption"));
        QVERIFY(dialog->isVisible());
        QTest::keyClick(box, Qt::Key_Escape);
    });
    m_fixture->prompts.clear();
    QTest::keyClick(m_frame, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(m_fixture->prompts.size(), 2);
    QCOMPARE(static_cast<int>(m_frame->MdiArea()->subWindowList().size()), windows);
}

void ListsTest::searchFindsEveryCaseAndOpensEachKind() {
    QVERIFY(PickLeague());
    // "ar" typed in each letter case finds the same names: every name holding it in any case.
    QSet<QString> expected;
    for (const auto& [id, league] : Db().Leagues())
        if (QString::fromStdString(league.name).contains(QStringLiteral("ar"), Qt::CaseInsensitive))
            expected.insert(QStringLiteral("League ") + QString::fromStdString(league.name));
    for (const auto& [id, team] : Db().Teams())
        if (QString::fromStdString(team.Name()).contains(QStringLiteral("ar"), Qt::CaseInsensitive))
            expected.insert(QStringLiteral("Team ") + QString::fromStdString(team.Name()));
    for (const auto& [id, player] : Db().Players()) {
        const QString name = QString::fromStdString(Db().PlayerDisplayName(id));
        if (name.contains(QStringLiteral("ar"), Qt::CaseInsensitive))
            expected.insert(QStringLiteral("Player ") + name);
    }
    QVERIFY(expected.size() > 10);
    CSearchResultsFrame* results = nullptr;
    for (const QString& text : {QStringLiteral("ar"), QStringLiteral("AR"), QStringLiteral("Ar"),
                                QStringLiteral("aR")}) {
        FindThroughDialog(text, true, true, true);
        results = qobject_cast<CSearchResultsFrame*>(m_frame->ActiveFrame());
        QVERIFY(results);
        QAbstractItemModel* model = results->List()->model();
        QSet<QString> found;
        QStringList types;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString type = model->index(row, 1).data().toString();
            found.insert(type + u' ' + model->index(row, 0).data().toString());
            // Grouped by type, the groups in order of their text.
            if (types.isEmpty() || types.last() != type) {
                QVERIFY2(!types.contains(type), qPrintable(type));
                types << type;
            }
        }
        QCOMPARE(found, expected);
        // The window opens wide enough for the sample's league and team names.
        QTreeView* list = results->List();
        const int nameRoom = list->columnWidth(0) - list->iconSize().width() - list->indentation();
        QVERIFY2(nameRoom >= list->fontMetrics().horizontalAdvance(
                                 QStringLiteral("England Premier Division")),
                 qPrintable(QString::number(nameRoom)));
        QStringList sorted = types;
        sorted.sort();
        QCOMPARE(types, sorted);
    }
    // Each kind opens its own window on a double click; the sample's league names hold no
    // "ar", so the leagues come from a search of their own.
    const auto openEachKind = [this](CSearchResultsFrame* found) {
        QTreeView* list = found->List();
        QAbstractItemModel* model = list->model();
        QMdiSubWindow* resultsWindow = m_frame->MdiArea()->activeSubWindow();
        QStringList opened;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString type = model->index(row, 1).data().toString();
            if (opened.contains(type))
                continue;
            opened << type;
            m_frame->MdiArea()->setActiveSubWindow(resultsWindow);
            list->scrollTo(model->index(row, 0));
            DoubleClickRow(list, row);
            const QString title = m_frame->MdiArea()->activeSubWindow()->windowTitle();
            if (title != type + QStringLiteral(" - ") + model->index(row, 0).data().toString())
                return QStringList();
        }
        return opened;
    };
    QCOMPARE(openEachKind(results), (QStringList{QStringLiteral("Player"), QStringLiteral("Team")}));
    FindThroughDialog(QStringLiteral("LIGA"), true, false, false);
    results = qobject_cast<CSearchResultsFrame*>(m_frame->ActiveFrame());
    QVERIFY(results);
    QCOMPARE(openEachKind(results), QStringList{QStringLiteral("League")});
    // Only players ticked: no league or team rows.
    FindThroughDialog(QStringLiteral("ar"), false, false, true);
    results = qobject_cast<CSearchResultsFrame*>(m_frame->ActiveFrame());
    QVERIFY(results);
    for (int row = 0; row < results->List()->model()->rowCount(); ++row)
        QCOMPARE(results->List()->model()->index(row, 1).data().toString(),
                 m_frame->Text("Caption_Player"));
    // Letter case of other scripts folds too.
    CPlayer* player = Db().FindPlayer(Db().Players().begin()->first);
    player->SetCommonName("\xC3\xA7" "e\xC5\x9F" "me \xCF\x83");
    FindThroughDialog(QString::fromUtf8("\xC3\x87" "E\xC5\x9E" "ME \xCE\xA3"), false, false, true);
    results = qobject_cast<CSearchResultsFrame*>(m_frame->ActiveFrame());
    QCOMPARE(results->List()->model()->rowCount(), 1);
}

QTEST_MAIN(ListsTest)
#include "ListsTest.moc"
