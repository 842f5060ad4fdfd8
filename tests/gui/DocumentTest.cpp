#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"
#include "UserSteps.h"

#include "editor/app/CDatabaseCommands.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/database/CMessageSink.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CLineUp.h"
#include "editor/toolkit/CErrorLineEdit.h"
#include "editor/toolkit/CFormationView.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CBulkEditDialog.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CPicturePreviewDialog.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayerPage.h"
#include "editor/windows/CPlayersListModel.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CPlayersTableView.h"
#include "editor/windows/CTeamFormationForm.h"
#include "editor/windows/CTeamFrame.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUndoView>

#include <memory>
#include <set>

using namespace UserSteps;

namespace {

template <typename TView> int ProxyRowOf(const TView* view, int32_t id) {
    const int row = view->Model()->RowOf(id);
    return row < 0 ? -1 : view->Proxy()->mapFromSource(view->Model()->index(row, 0)).row();
}

// A plain drag of the players list's selection onto a team's row of the teams list.
bool DropSelection(CPlayersListView* source, CTeamsListView* target, int32_t teamId) {
    std::unique_ptr<QMimeData> data(source->SelectionMimeData());
    if (!data) {
        return false;
    }
    const QPoint at = RowCentre(target, ProxyRowOf(target, teamId));
    const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &enter);
    QDragMoveEvent move(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &move);
    QDropEvent drop(at, actions, data.get(), Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target->viewport(), &drop);
    return drop.isAccepted();
}

// The crest the teams list shows for the team, as an image.
QImage ListedCrest(CTeamsListView* list, int32_t teamId) {
    QAbstractItemModel* model = list->model();
    const QModelIndexList rows = model->match(model->index(0, 0), CTeamsListModel::kTeamIdRole,
                                              teamId, 1, Qt::MatchExactly);
    if (rows.isEmpty()) {
        return {};
    }
    const QIcon icon = rows.first().data(Qt::DecorationRole).value<QIcon>();
    return icon.isNull() ? QImage() : icon.pixmap(icon.availableSizes().value(0)).toImage();
}

QString CrestPicture(const QString& path) {
    QImage image(96, 96, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(16, 10, 64, 76, QColor(200, 30, 40));
    painter.end();
    return image.save(path) ? path : QString();
}

template <typename T> T* Named(QWidget* parent, const QString& name) {
    for (T* child : parent->findChildren<T*>()) {
        if (child->accessibleName() == name) {
            return child;
        }
    }
    return nullptr;
}

} // namespace

class DocumentTest : public FreshEditorTest {
    Q_OBJECT

public:
    DocumentTest() : FreshEditorTest(QSize(1280, 900)) {}

private:
    CGameDatabase& Db() { return *m_frame->Database(); }
    CDatabaseDocument& Document() { return m_frame->Document(); }
    QAction* Action(const char* key) { return m_frame->ActionForKey(QString::fromLatin1(key)); }
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
    // The source team's window and the league window, the teams list of which has the focus.
    bool OpenLeagueAndSourceTeam() {
        CTeamFrame* team = OpenTeamFromLeague(*m_frame, m_league, m_from);
        QMdiSubWindow* league = m_frame->FindChild(CChildFrame::Kind::League, m_league);
        if (!team || !league) {
            return false;
        }
        m_squad = team->SquadList();
        m_teams = qobject_cast<CLeagueFrame*>(league->widget())->TeamsList();
        const QRect area = m_frame->MdiArea()->viewport()->rect();
        m_frame->FindChild(CChildFrame::Kind::Team, m_from)
            ->setGeometry(0, 0, area.width() / 2, area.height());
        league->setGeometry(area.width() / 2, 0, area.width() / 2, area.height());
        return m_squad->isVisible() && m_teams->isVisible();
    }
    // Three rows of the squad picked with the mouse.
    QList<int32_t> PickThree() {
        ClickRow(m_squad, 0);
        ClickRow(m_squad, 2, Qt::ControlModifier);
        ClickRow(m_squad, 4, Qt::ControlModifier);
        return m_squad->SelectedPlayerIds();
    }
    // The teams list has the focus: the main window's Undo is the document's.
    void FocusTeamsList() {
        m_frame->MdiArea()->setActiveSubWindow(
            m_frame->FindChild(CChildFrame::Kind::League, m_league));
        ClickRow(m_teams, ProxyRowOf(m_teams, m_to));
    }

    int32_t m_league = 0;
    int32_t m_from = 0;
    int32_t m_to = 0;
    CPlayersListView* m_squad = nullptr;
    CTeamsListView* m_teams = nullptr;

private slots:
    void dropOfThreePlayersIsOneStepNamedInTheMenu();
    void cutAndPasteMoveThePlayersAndUndo();
    void bulkEditIsUndoneFromTheMainWindow();
    void undoToTheSavedStateClearsTheMark();
    void restoringAnArchiveShowsItsCrestInTheLeagueWindow();
    void aChangeInOneWindowShowsInEveryOther();
    void listsKeepSelectionAndScrollThroughChangesElsewhere();
    void undoingASquadStepKeepsLaterMovesOnThePitch();
    void anotherProgramsSaveIsNeverOverwrittenSilently();
};

void DocumentTest::dropOfThreePlayersIsOneStepNamedInTheMenu() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    const auto fromBefore = Db().PlayersOfTeam(m_from);
    const auto toBefore = Db().PlayersOfTeam(m_to);
    std::map<int32_t, CTeamPlayerLink> links;
    const QList<int32_t> picked = PickThree();
    QCOMPARE(picked.size(), 3);
    for (int32_t id : picked) {
        links[id] = *Db().FindTeamPlayerLink(id, m_from);
    }
    QVERIFY(DropSelection(m_squad, m_teams, m_to));
    for (int32_t id : picked) {
        QVERIFY(!Db().FindTeamPlayerLink(id, m_from));
        QVERIFY(Db().FindTeamPlayerLink(id, m_to));
    }
    QCOMPARE(Document().UndoStack().count(), 1);

    // The teams list has no history of its own: the menu names the document's step.
    FocusTeamsList();
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("main"));
    QAction* undo = Action("Menu_EditUndo");
    const QString team = QString::fromStdString(Db().FindTeam(m_to)->Name());
    QVERIFY(undo->isVisible() && undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("&Undo Move 3 Players to %1").arg(team));
    QTest::keyClick(m_teams, Qt::Key_Z, Qt::ControlModifier);
    // All three back in one step, with their places and numbers; the squad list shows them.
    QCOMPARE(Db().PlayersOfTeam(m_from), fromBefore);
    QCOMPARE(Db().PlayersOfTeam(m_to), toBefore);
    for (int32_t id : picked) {
        QCOMPARE(*Db().FindTeamPlayerLink(id, m_from), links[id]);
        QCOMPARE(Db().FindPlayer(id)->Teams(), std::vector<int32_t>{m_from});
        QVERIFY(m_squad->Model()->RowOf(id) >= 0);
    }
    QVERIFY(!undo->isEnabled());
    QAction* redo = Action("Menu_EditRedo");
    QCOMPARE(redo->text(), QStringLiteral("&Redo Move 3 Players to %1").arg(team));
    QTest::keyClick(m_teams, Qt::Key_Y, Qt::ControlModifier);
    for (int32_t id : picked) {
        QVERIFY(!Db().FindTeamPlayerLink(id, m_from));
        QVERIFY(Db().FindTeamPlayerLink(id, m_to));
        QCOMPARE(m_squad->Model()->RowOf(id), -1);
    }

    // The team window's own fields keep the window's history; its squad list is the document's.
    m_frame->MdiArea()->setActiveSubWindow(m_frame->FindChild(CChildFrame::Kind::Team, m_from));
    ClickRow(m_squad, 0);
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("main"));
    qobject_cast<CTeamFrame*>(m_frame->ActiveFrame())->Tabs()->setFocus();
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("record"));
}

void DocumentTest::cutAndPasteMoveThePlayersAndUndo() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    CTeamFrame* target = OpenTeamFromLeague(*m_frame, m_league, m_to);
    QVERIFY(target);
    const std::size_t playersBefore = Db().Players().size();
    const auto fromBefore = Db().PlayersOfTeam(m_from);
    m_frame->MdiArea()->setActiveSubWindow(m_frame->FindChild(CChildFrame::Kind::Team, m_from));
    ClickRow(m_squad, 1);
    ClickRow(m_squad, 3, Qt::ControlModifier);
    const QList<int32_t> cut = m_squad->SelectedPlayerIds();
    QCOMPARE(cut.size(), 2);
    QTest::keyClick(m_squad, Qt::Key_X, Qt::ControlModifier);
    for (int32_t id : cut) {
        QVERIFY(!Db().FindTeamPlayerLink(id, m_from));
    }

    // Pasted into the other team's squad: the same players, nobody copied.
    m_frame->MdiArea()->setActiveSubWindow(m_frame->FindChild(CChildFrame::Kind::Team, m_to));
    ClickRow(target->SquadList(), 0);
    QTest::keyClick(target->SquadList(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Db().Players().size(), playersBefore);
    for (int32_t id : cut) {
        QVERIFY(Db().FindTeamPlayerLink(id, m_to));
        QCOMPARE(Db().FindPlayer(id)->Teams(), std::vector<int32_t>{m_to});
        QVERIFY(target->SquadList()->Model()->RowOf(id) >= 0);
    }
    const QString name = QString::fromStdString(Db().FindTeam(m_to)->Name());
    QCOMPARE(Action("Menu_EditUndo")->text(),
             QStringLiteral("&Undo Paste 2 Players into %1").arg(name));

    // Undo twice: out of the target, back into the source where they were.
    QTest::keyClick(target->SquadList(), Qt::Key_Z, Qt::ControlModifier);
    for (int32_t id : cut) {
        QVERIFY(!Db().FindTeamPlayerLink(id, m_to));
        QVERIFY(Db().FindPlayer(id)->Teams().empty());
    }
    QTest::keyClick(target->SquadList(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Db().PlayersOfTeam(m_from), fromBefore);
    for (int32_t id : cut) {
        QVERIFY(m_squad->Model()->RowOf(id) >= 0);
    }
    QVERIFY(!m_frame->isWindowModified());
    // Redo both steps: the move again.
    QTest::keyClick(target->SquadList(), Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(target->SquadList(), Qt::Key_Y, Qt::ControlModifier);
    for (int32_t id : cut) {
        QVERIFY(Db().FindTeamPlayerLink(id, m_to));
        QVERIFY(!Db().FindTeamPlayerLink(id, m_from));
    }
}

void DocumentTest::bulkEditIsUndoneFromTheMainWindow() {
    Action("Menu_ViewAllPlayers")->trigger();
    auto* table = qobject_cast<CAllPlayersFrame*>(m_frame->ActiveFrame());
    QVERIFY(table);
    table->FilterEdit()->setText(QStringLiteral("team<50"));
    table->ApplyFilter();
    const std::vector<int32_t> rows = table->Model()->Players();
    QVERIFY(rows.size() > 3);
    std::map<int32_t, int32_t> before;
    for (int32_t id : rows) {
        before[id] = Db().FindPlayer(id)->Value(EPlayerColumn::Reflexes);
    }
    table->View()->setFocus();
    QTest::keyClick(table->View(), Qt::Key_A, Qt::ControlModifier);
    WhenModalShown([](QDialog* dialog) {
        auto* bulk = qobject_cast<CBulkEditDialog*>(dialog);
        QVERIFY(bulk);
        const CBulkEditDialog::SRow& row = bulk->Rows().front();
        row.field->setFocus();
        QTest::keyClicks(row.field, QStringLiteral("reflexes"));
        QTest::keyClick(row.operation, Qt::Key_Down);
        QTest::keyClicks(row.value, QStringLiteral("3"));
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    QTest::keyClick(table->View(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(Document().UndoStack().count(), 1);
    QVERIFY(Db().FindPlayer(rows.front())->Value(EPlayerColumn::Reflexes) != before[rows.front()] ||
            before[rows.front()] >= 98);

    // All Players closed, no window at all: Ctrl+Z in the main window takes the edit back.
    m_frame->MdiArea()->closeAllSubWindows();
    QVERIFY(Activate(m_frame));
    QVERIFY(!m_frame->ActiveFrame());
    QVERIFY(Action("Menu_EditUndo")->isVisible());
    const QString step = Document().UndoStack().undoText();
    QVERIFY(!step.isEmpty());
    QCOMPARE(Action("Menu_EditUndo")->text(), QStringLiteral("&Undo %1").arg(step));
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    for (int32_t id : rows) {
        QCOMPARE(Db().FindPlayer(id)->Value(EPlayerColumn::Reflexes), before[id]);
    }
    QVERIFY(!m_frame->isWindowModified());
}

void DocumentTest::undoToTheSavedStateClearsTheMark() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    QVERIFY(!m_frame->isWindowModified());
    PickThree();
    QVERIFY(DropSelection(m_squad, m_teams, m_to));
    QVERIFY(m_frame->isWindowModified());
    QVERIFY(m_frame->windowTitle().contains(QStringLiteral("[*]")));
    FocusTeamsList();
    QTest::keyClick(m_teams, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());
    QVERIFY(!Db().IsDirty());

    // Saved after a second drop: undoing past the save marks it again, redoing clears it.
    ClickRow(m_squad, 1);
    QVERIFY(DropSelection(m_squad, m_teams, m_to));
    QTest::keyClick(m_teams, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());
    QTest::keyClick(m_teams, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(m_frame->isWindowModified());
    QTest::keyClick(m_teams, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());

    // View › History lists the steps; a click on the first row goes back to the start.
    Action("Menu_ViewHistory")->trigger();
    QUndoView* history = m_frame->Commands().HistoryView();
    QVERIFY(history && history->isVisible());
    // The start and the one step left (the undone drop's step went with the new one).
    QCOMPARE(history->model()->rowCount(), 2);
    QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                      history->visualRect(history->model()->index(0, 0)).center());
    QCOMPARE(Document().UndoStack().index(), 0);
    QVERIFY(m_frame->isWindowModified());

    // A record window's Apply has no step in the document's history: undoing every step
    // leaves the mark.
    QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                      history->visualRect(history->model()->index(1, 0)).center());
    QVERIFY(!m_frame->isWindowModified());
    history->close();
    QVERIFY(m_frame->OpenPlayer(Db().PlayersOfTeam(m_from).front()));
    auto* player = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QLineEdit* last = Named<QLineEdit>(player->Page(0), QStringLiteral("Last name"));
    QVERIFY(last);
    Retype(last, QStringLiteral("Applied"));
    QTest::mouseClick(player->Page(0)->ApplyButton(), Qt::LeftButton);
    QVERIFY(m_frame->isWindowModified());
    Document().UndoStack().setIndex(0);
    Document().UndoStack().setIndex(1);
    QVERIFY(m_frame->isWindowModified());
}

void DocumentTest::restoringAnArchiveShowsItsCrestInTheLeagueWindow() {
    if (!m_frame->Pictures()) {
        QSKIP("the picture library is not built");
    }
    QVERIFY(PickLeague());
    const QString archive = m_fixture->GameFolder() + QStringLiteral("/data/zdata_05.big");
    CTeamFrame* window = OpenTeamFromLeague(*m_frame, m_league, m_from);
    QVERIFY(window);
    CLeagueFrame* league = qobject_cast<CLeagueFrame*>(
        m_frame->FindChild(CChildFrame::Kind::League, m_league)->widget());
    const QImage before = ListedCrest(league->TeamsList(), m_from);

    // A new crest through the team window's banner: the league window shows it at once.
    QTemporaryDir files;
    const QString crest = CrestPicture(files.filePath(QStringLiteral("crest.png")));
    bool menuSeen = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menuSeen = true;
        WhenModalShown([&](QDialog* dialog) {
            WhenModalShown([](QDialog* preview) {
                QTest::mouseClick(qobject_cast<CPicturePreviewDialog*>(preview)
                                      ->Buttons()
                                      ->button(QDialogButtonBox::Ok),
                                  Qt::LeftButton);
            });
            AnswerFileDialog(dialog, crest);
        });
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions().at(0)).center());
    });
    m_frame->MdiArea()->setActiveSubWindow(m_frame->FindChild(CChildFrame::Kind::Team, m_from));
    QVERIFY(Activate(m_frame));
    window->Banner()->setFocus();
    QTest::keyClick(window->Banner(), Qt::Key_Menu);
    QVERIFY(menuSeen);
    const QImage imported = ListedCrest(league->TeamsList(), m_from);
    QVERIFY(!imported.isNull());
    QVERIFY(imported != before);

    // File › Restore Backup of the archive as it was before the import: the league window
    // shows the old crest again, without being reopened.
    const auto copies = CBackupStore(m_frame->BackupFolder()).List("zdata_05.big");
    QCOMPARE(copies.size(), size_t{1});
    WhenModalShown([](QDialog* dialog) {
        auto* view = dialog->findChild<QTableView*>(QStringLiteral("backupsView"));
        QVERIFY(view);
        int row = 0;
        while (row < view->model()->rowCount() &&
               view->model()->index(row, 1).data() != QStringLiteral("zdata_05.big"))
            ++row;
        QVERIFY(row < view->model()->rowCount());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("restoreButton")),
                          Qt::LeftButton);
    });
    Action("Menu_FileRestoreBackup")->trigger();
    QCOMPARE(ListedCrest(league->TeamsList(), m_from), before);
    QVERIFY(window->Banner()->Picture().toImage() != imported);
}

void DocumentTest::aChangeInOneWindowShowsInEveryOther() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    Action("Menu_ViewAllPlayers")->trigger();
    auto* table = qobject_cast<CAllPlayersFrame*>(m_frame->ActiveFrame());
    QVERIFY(table);
    const int32_t id = Db().PlayersOfTeam(m_from).front();
    QVERIFY(m_frame->OpenPlayer(id));
    auto* player = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QLineEdit* last = Named<QLineEdit>(player->Page(0), QStringLiteral("Last name"));
    QLineEdit* common = Named<QLineEdit>(player->Page(0), QStringLiteral("Common name"));
    QVERIFY(last && common);
    Retype(common, QString());
    Retype(last, QStringLiteral("Everywhere"));
    QTest::mouseClick(player->Page(0)->ApplyButton(), Qt::LeftButton);

    // The squad list, the table of all players and the window's title follow.
    const int squadRow = m_squad->Model()->RowOf(id);
    QVERIFY(squadRow >= 0);
    QVERIFY(m_squad->Model()
                ->index(squadRow, CPlayersListModel::NameColumn)
                .data()
                .toString()
                .contains(QStringLiteral("Everywhere")));
    const auto& shown = table->Model()->Players();
    const auto at = std::find(shown.begin(), shown.end(), id);
    QVERIFY(at != shown.end());
    bool named = false;
    for (int column = 0; column < table->Model()->columnCount(); ++column) {
        named = named || table->Model()
                             ->index(static_cast<int>(at - shown.begin()), column)
                             .data()
                             .toString()
                             .contains(QStringLiteral("Everywhere"));
    }
    QVERIFY(named);
    QVERIFY(m_frame->FindChild(CChildFrame::Kind::Player, id)
                ->windowTitle()
                .contains(QStringLiteral("Everywhere")));
}

void DocumentTest::listsKeepSelectionAndScrollThroughChangesElsewhere() {
    QVERIFY(PickLeague());
    QTreeWidget* leagues = m_frame->WorkspaceBar()->LeaguesList();
    QTreeWidgetItem* leagueItem = nullptr;
    for (int row = 0; row < leagues->topLevelItemCount(); ++row) {
        if (leagues->topLevelItem(row)->data(0, Qt::UserRole + 1).toInt() == m_league) {
            leagueItem = leagues->topLevelItem(row);
        }
    }
    QVERIFY(leagueItem);
    QVERIFY(OpenLeagueAndSourceTeam());
    Action("Menu_ViewAllPlayers")->trigger();
    auto* table = qobject_cast<CAllPlayersFrame*>(m_frame->ActiveFrame());
    QVERIFY(table);
    m_frame->MdiArea()->activeSubWindow()->setGeometry(0, 0, 600, 300);

    // A row picked in every list, the table scrolled down to its row.
    QTest::mouseClick(leagues->viewport(), Qt::LeftButton, {},
                      leagues->visualItemRect(leagueItem).center());
    QCOMPARE(leagues->currentItem(), leagueItem);
    ClickRow(m_teams, ProxyRowOf(m_teams, m_from));
    const int tableRow = table->Model()->rowCount() * 2 / 3;
    QVERIFY(tableRow > 20);
    table->View()->scrollTo(table->Model()->index(tableRow, 0));
    ClickRow(table->View(), tableRow);
    const int32_t tablePlayer = table->Model()->PlayerAt(tableRow);
    const int scrolled = table->View()->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    ClickRow(m_squad, 1);
    ClickRow(m_squad, 3, Qt::ControlModifier);
    const QList<int32_t> squadPicked = m_squad->SelectedPlayerIds();
    QCOMPARE(squadPicked.size(), 2);

    QSignalSpy squadReset(m_squad->Model(), &QAbstractItemModel::modelReset);
    QSignalSpy teamsReset(m_teams->Model(), &QAbstractItemModel::modelReset);
    QSignalSpy tableReset(table->Model(), &QAbstractItemModel::modelReset);
    QSignalSpy leaguesReset(leagues->model(), &QAbstractItemModel::modelReset);
    QSignalSpy squadRowChanged(m_squad->Model(), &QAbstractItemModel::dataChanged);

    // A player of the squad renamed in his own window: his row shows it, nothing else moves.
    const int32_t renamed = squadPicked.front();
    QVERIFY(m_frame->OpenPlayer(renamed));
    auto* player = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QLineEdit* last = Named<QLineEdit>(player->Page(0), QStringLiteral("Last name"));
    QLineEdit* common = Named<QLineEdit>(player->Page(0), QStringLiteral("Common name"));
    QVERIFY(last && common);
    Retype(common, QString());
    Retype(last, QStringLiteral("Renamed"));
    QTest::mouseClick(player->Page(0)->ApplyButton(), Qt::LeftButton);
    QCOMPARE(squadRowChanged.size(), 1);
    const int renamedRow = m_squad->Model()->RowOf(renamed);
    QVERIFY(m_squad->Model()
                ->index(renamedRow, 0)
                .data()
                .toString()
                .contains(QStringLiteral("Renamed")));
    QCOMPARE(m_squad->SelectedPlayerIds(), squadPicked);

    // A player dragged from the squad onto the other team: the squad loses his row, the teams
    // list counts him elsewhere; every list keeps its pick and the table its scroll position.
    ClickRow(m_squad, 0);
    const int32_t moved = m_squad->SelectedPlayerIds().front();
    const int squadSize = m_squad->Model()->rowCount();
    QVERIFY(DropSelection(m_squad, m_teams, m_to));
    QCOMPARE(m_squad->Model()->rowCount(), squadSize - 1);
    QCOMPARE(m_squad->Model()->RowOf(moved), -1);
    const QModelIndex toRow =
        m_teams->Model()->index(m_teams->Model()->RowOf(m_to), CTeamsListModel::PlayerCountColumn);
    QCOMPARE(toRow.data().toString(), QString::number(Db().PlayersOfTeam(m_to).size()));
    QCOMPARE(m_teams->currentIndex().data(CTeamsListModel::kTeamIdRole).toInt(), m_from);
    QCOMPARE(leagues->currentItem(), leagueItem);
    QCOMPARE(table->Model()->PlayerAt(table->View()->currentIndex().row()), tablePlayer);
    QCOMPARE(table->View()->verticalScrollBar()->value(), scrolled);

    // Undone from the main window: the row comes back in its place.
    FocusTeamsList();
    QTest::keyClick(m_teams, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_squad->Model()->RowOf(moved), 0);
    QCOMPARE(leagues->currentItem(), leagueItem);
    QCOMPARE(table->View()->verticalScrollBar()->value(), scrolled);

    QCOMPARE(squadReset.size(), 0);
    QCOMPARE(teamsReset.size(), 0);
    QCOMPARE(tableReset.size(), 0);
    QCOMPARE(leaguesReset.size(), 0);
}

void DocumentTest::undoingASquadStepKeepsLaterMovesOnThePitch() {
    QVERIFY(PickLeague());
    QVERIFY(OpenLeagueAndSourceTeam());
    auto* window =
        qobject_cast<CTeamFrame*>(m_frame->FindChild(CChildFrame::Kind::Team, m_from)->widget());
    const auto positionOf = [&](int32_t player, int32_t team) {
        const CTeamPlayerLink* link = Db().FindTeamPlayerLink(player, team);
        return link ? link->formationPosition : -1;
    };
    // A player on the pitch (not the goalkeeper) and a pitch place nobody holds.
    int32_t mover = 0;
    std::set<int32_t> held;
    for (const CTeamPlayerLink& link : Db().FindTeam(m_from)->Links()) {
        held.insert(link.formationPosition);
        if (link.formationPosition > 0 && link.formationPosition < CLineUp::kPitchSlots) {
            mover = link.playerId;
        }
    }
    int empty = 1;
    while (empty < CLineUp::kPitchSlots && held.contains(empty)) {
        ++empty;
    }
    QVERIFY(mover != 0 && empty < CLineUp::kPitchSlots);

    // First step, the document's: a squad player dragged onto the other team.
    int dropped = 0;
    for (int row = 0; row < m_squad->Model()->rowCount() && dropped == 0; ++row) {
        const int32_t id = m_squad->Model()->IdAt(row);
        dropped = id != mover && positionOf(id, m_from) >= CLineUp::kFirstBenchSlot ? id : 0;
    }
    QVERIFY(dropped != 0);
    const int32_t droppedAt = positionOf(dropped, m_from);
    m_squad->scrollTo(m_squad->model()->index(ProxyRowOf(m_squad, dropped), 0));
    ClickRow(m_squad, ProxyRowOf(m_squad, dropped));
    QCOMPARE(m_squad->SelectedPlayerIds(), QList<int32_t>{dropped});
    QVERIFY(DropSelection(m_squad, m_teams, m_to));
    QCOMPARE(positionOf(dropped, m_from), -1);

    // Then, in the team window, a marker moved on the pitch and applied.
    m_frame->MdiArea()->setActiveSubWindow(m_frame->FindChild(CChildFrame::Kind::Team, m_from));
    ClickTab(window->Tabs(), 1);
    CTeamFormationForm* page = window->FormationForm();
    CFormationView* pitch = page->Pitch();
    QVERIFY(pitch->isVisible());
    const int moverSlot =
        page->LineUp().Markers()[static_cast<size_t>(page->LineUp().MarkerOfPlayer(mover))].slot;
    const QPoint from = pitch->CellRect(CLineUp::CellOfSlot(moverSlot)).center();
    const QPoint to = pitch->CellRect(CLineUp::CellOfSlot(empty)).center();
    QTest::mousePress(pitch, Qt::LeftButton, {}, from);
    QTest::mouseMove(pitch, pitch->rect().center());
    QTest::mouseMove(pitch, to);
    QTest::mouseRelease(pitch, Qt::LeftButton, {}, to);
    QTest::mouseClick(page->ApplyButton(), Qt::LeftButton);
    QCOMPARE(positionOf(mover, m_from), empty);
    const std::vector<CTeamPlayerLink> afterMove = Db().FindTeam(m_from)->Links();

    // Edit › Undo from the teams list takes back the drop, the document's latest step: the
    // player comes back to his place; the move on the pitch, not part of that step, stays.
    FocusTeamsList();
    QCOMPARE(Action("Menu_EditUndo")->text(),
             QStringLiteral("&Undo Move %1 to %2")
                 .arg(QString::fromStdString(Db().PlayerDisplayName(dropped)),
                      QString::fromStdString(Db().FindTeam(m_to)->Name())));
    QTest::keyClick(m_teams, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(positionOf(dropped, m_from), droppedAt);
    QCOMPARE(positionOf(dropped, m_to), -1);
    QCOMPARE(positionOf(mover, m_from), empty);
    for (const CTeamPlayerLink& link : afterMove) {
        QCOMPARE(*Db().FindTeamPlayerLink(link.playerId, m_from), link);
    }
    QCOMPARE(
        page->LineUp().Markers()[static_cast<size_t>(page->LineUp().MarkerOfPlayer(mover))].slot,
        empty);
    // Redo drops him again, the move still kept.
    QTest::keyClick(m_teams, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(positionOf(dropped, m_from), -1);
    QCOMPARE(positionOf(mover, m_from), empty);

    // The team window's own Undo takes back its move; the drop stays.
    m_frame->MdiArea()->setActiveSubWindow(m_frame->FindChild(CChildFrame::Kind::Team, m_from));
    window->Tabs()->setFocus();
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("record"));
    QTest::keyClick(window->Tabs(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(positionOf(mover, m_from) != empty);
    QCOMPARE(positionOf(dropped, m_from), -1);
    QVERIFY(positionOf(dropped, m_to) >= 0);
}

void DocumentTest::anotherProgramsSaveIsNeverOverwrittenSilently() {
    const QString path = m_fixture->DatabasePath();
    const int32_t id = Db().Players().begin()->first;
    const int pace = Db().FindPlayer(id)->Value(EPlayerColumn::Pace);
    const QByteArray original = SavedFiles::Bytes(path);
    // Ctrl+S with nothing modified writes nothing and says so.
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(SavedFiles::Bytes(path), original);
    QVERIFY(m_frame->statusBar()
                ->findChild<QLabel*>(QStringLiteral("StatusPane"))
                ->text()
                .contains(QStringLiteral("Nothing to save")));
    QVERIFY(m_frame->OpenPlayer(id));

    // Another program saves: asked, the editor reloads; the player's window stays, showing
    // the new value.
    const auto writeElsewhere = [&](int value) {
        CGameDatabase other;
        CIgnoringSink sink;
        QVERIFY(other.LoadGameDatabase(path.toStdString(), {}, sink));
        other.FindPlayer(id)->SetValue(EPlayerColumn::Pace, value);
        other.MarkDirty();
        QVERIFY(other.SaveGameDatabase(path.toStdString(), {}, sink));
    };
    m_fixture->answer = CUserPrompts::Answer::Yes;
    writeElsewhere(pace == 77 ? 76 : 77);
    const int outside = pace == 77 ? 76 : 77;
    QTRY_COMPARE(m_fixture->prompts.size(), 1);
    QVERIFY2(m_fixture->prompts.first().startsWith(QStringLiteral("action: Another program")),
             qPrintable(m_fixture->prompts.first()));
    QCOMPARE(Db().FindPlayer(id)->Value(EPlayerColumn::Pace), outside);
    QVERIFY(m_frame->FindChild(CChildFrame::Kind::Player, id));
    QVERIFY(!m_frame->isWindowModified());

    // With unsaved edits: Cancel keeps them and the file; Ctrl+S asks again; Overwrite saves.
    m_fixture->answer = CUserPrompts::Answer::Cancel;
    Db().FindPlayer(id)->SetLastName("Edited");
    Db().MarkDirty();
    writeElsewhere(outside + 1);
    QTRY_COMPARE(m_fixture->prompts.size(), 2);
    QVERIFY(m_fixture->prompts.last().contains(QStringLiteral("Overwrite")));
    QVERIFY(Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_fixture->prompts.size(), 3);
    CGameDatabase check;
    CIgnoringSink sink;
    QVERIFY(check.LoadGameDatabase(path.toStdString(), {}, sink));
    QCOMPARE(check.FindPlayer(id)->Value(EPlayerColumn::Pace), outside + 1);
    QVERIFY(m_frame->isWindowModified());
    m_fixture->answer = CUserPrompts::Answer::Yes;
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());
    QVERIFY(check.LoadGameDatabase(path.toStdString(), {}, sink));
    QCOMPARE(check.FindPlayer(id)->LastName(), std::string("Edited"));
    // The editor's own save is not another program's.
    QTest::qWait(200);
    QCOMPARE(m_fixture->prompts.size(), 4);
}

QTEST_MAIN(DocumentTest)
#include "DocumentTest.moc"
