#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"

#include "editor/app/CChildPlacement.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CSplashWindow.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CTeamFrame.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

using SavedFiles::Bytes;

// The first team of the sample that has players.
int SomeTeam(const CGameDatabase& db) {
    for (const auto& [id, team] : db.Teams()) {
        if (!db.PlayersOfTeam(id).empty()) {
            return id;
        }
    }
    return 0;
}

// Add Player without a team window asks for the team; the question is cancelled.
int AddPlayerOfNoTeam(CMainFrame& frame) {
    WhenModalShown([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    return frame.AddPlayer();
}

} // namespace

class MainFrameTest : public FreshEditorTest {
    Q_OBJECT

private slots:
    void leaguesListShowsNamesAndCounts();
    void menusAreLocalisedAndSwitchWithTheChild();
    void openingTheSameRecordTwiceActivatesOneWindow();
    void addPlayerGoesToTheActiveTeam();
    void placementIsStoredAndRestored();
    void saveWritesBothDatabasesAndClearsTheMark();
    void closingWithUnsavedChangesAsks();
    void findDialogRefusesEmptyQueries();
    void leagueAndTeamWindowsShowInTheMainWindow();
};

void MainFrameTest::leaguesListShowsNamesAndCounts() {
    CKestrelApp* app = m_fixture->App();
    CGameDatabase* db = m_frame->Database();
    QVERIFY(db);
    QTreeWidget* list = m_frame->WorkspaceBar()->LeaguesList();
    QCOMPARE(list->topLevelItemCount(), static_cast<int>(db->Leagues().size()));
    QVERIFY(list->topLevelItemCount() > 3);
    QCOMPARE(list->headerItem()->text(3), QStringLiteral("No. of Players"));
    QVERIFY(m_frame->WorkspaceBar()->widget()->width() <=
            m_frame->WorkspaceBar()->ContentWidth() + 20);

    QStringList names;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        names << item->text(0);
        const auto league =
            std::find_if(db->Leagues().begin(), db->Leagues().end(), [&](const auto& entry) {
                return QString::fromStdString(entry.second.name) == item->text(0);
            });
        QVERIFY2(league != db->Leagues().end(), qPrintable(item->text(0)));
        const auto teams = db->TeamsOfLeague(league->first);
        int players = 0;
        for (int32_t team : teams) {
            players += static_cast<int>(db->PlayersOfTeam(team).size());
        }
        QCOMPARE(item->text(1).toInt(), league->second.Level());
        QCOMPARE(item->text(2).toInt(), static_cast<int>(teams.size()));
        QCOMPARE(item->text(3).toInt(), players);
    }
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    QCOMPARE(names.first(), sorted.first());
    QVERIFY(m_fixture->prompts.isEmpty());
    // The splash window went through the loading steps to the end.
    QCOMPARE(app->Splash().Text(), QStringLiteral("Ready"));
    QCOMPARE(app->Splash().Progress(), 100);
    // The asset library beside the program is bound, so no notice is shown.
    QVERIFY(app->Pictures());
    QCOMPARE(m_frame->statusBar()->findChild<QLabel*>()->text(), QStringLiteral("Ready"));
}

void MainFrameTest::menusAreLocalisedAndSwitchWithTheChild() {
    QCOMPARE(m_frame->menuBar()->actions().first()->text(), QStringLiteral("&File"));
    const QString save = m_frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"))->text();
    QCOMPARE(save, QStringLiteral("&Save Database"));
    // Screen readers hear the command and its key apart, not "Save Database tab Ctrl+S".
    QMenu* fileMenu = m_frame->menuBar()->actions().first()->menu();
    QAccessibleInterface* menuItems = QAccessible::queryAccessibleInterface(fileMenu);
    QAccessibleInterface* saveItem = nullptr;
    for (int i = 0; i < menuItems->childCount() && !saveItem; ++i) {
        if (menuItems->child(i)->text(QAccessible::Name).startsWith(QStringLiteral("Save"))) {
            saveItem = menuItems->child(i);
        }
    }
    QVERIFY(saveItem);
    QCOMPARE(saveItem->text(QAccessible::Name), QStringLiteral("Save Database"));
    QVERIFY(!saveItem->text(QAccessible::Accelerator).isEmpty());
    QVERIFY(m_frame->ActionForKey(QStringLiteral("Menu_FileExit"))
                ->shortcuts()
                .contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    QCOMPARE(m_frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"))->shortcut(),
             QKeySequence(QKeySequence::Save));
    QCOMPARE(m_frame->ActionForKey(QStringLiteral("Menu_EditFind"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_F));

    // Main menu: the document's Undo, with nothing to undo yet; a team window brings its own.
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("main"));
    QVERIFY(m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isVisible());
    QVERIFY(!m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isEnabled());
    QVERIFY(m_frame->OpenTeam(SomeTeam(*m_frame->Database())));
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("record"));
    QVERIFY(m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isVisible());
    QVERIFY(m_frame->ActionForKey(QStringLiteral("Menu_EditAddPlayer"))->isVisible());
    QVERIFY(!m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isEnabled());
    QVERIFY(m_frame->OpenIngameText(m_fixture->TextDbPath()));
    QCOMPARE(m_frame->MenuKind(), QStringLiteral("noplayer"));
    QVERIFY(!m_frame->ActionForKey(QStringLiteral("Menu_EditAddPlayer"))->isVisible());
    QVERIFY(!m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isVisible());

    // The language menu lists the shipped files and checks the current one.
    QCOMPARE(m_frame->Languages(), QStringList({"English_UK", "French", "German", "Spanish"}));
    const auto items = m_frame->LanguageMenu()->actions();
    QCOMPARE(items.size(), 4);
    QVERIFY(items.at(0)->isChecked());
    QVERIFY(!items.at(1)->isChecked());
    QCOMPARE(items.at(1)->text(), QString::fromUtf8("Fran\xC3\xA7"
                                                    "ais"));
    m_fixture->Stop();

    // A French start shows French menus.
    m_fixture->EditorSettings().setValue(QStringLiteral("Editor Language"),
                                         QStringLiteral("French"));
    m_frame = m_fixture->Start()->MainFrame();
    QCOMPARE(m_frame->menuBar()->actions().first()->text(), QStringLiteral("&Fichier"));
    QCOMPARE(m_frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"))->text(),
             QStringLiteral("&Enregistrer la base"));
    QVERIFY(m_frame->LanguageMenu()->actions().at(1)->isChecked());
}

void MainFrameTest::openingTheSameRecordTwiceActivatesOneWindow() {
    CGameDatabase* db = m_frame->Database();
    const int team = SomeTeam(*db);
    QVERIFY(m_frame->OpenTeam(team));
    QMdiSubWindow* first = m_frame->MdiArea()->activeSubWindow();
    QVERIFY(first);
    QCOMPARE(first->windowTitle(),
             QStringLiteral("Team - ") + QString::fromStdString(db->FindTeam(team)->Name()));
    // The size its content asks for, as far as the area has room (lists' columns settle by a
    // scroll bar's width once shown).
    const QSize content =
        CChildPlacement::ContentSize(*first).boundedTo(m_frame->MdiArea()->viewport()->size());
    QVERIFY(std::abs(first->width() - content.width()) <= 24);
    QVERIFY(std::abs(first->height() - content.height()) <= 24);
    QVERIFY(qobject_cast<CTeamFrame*>(first->widget()));

    const int player = db->PlayersOfTeam(team).front();
    QVERIFY(m_frame->OpenPlayer(player));
    QVERIFY(m_frame->MdiArea()->activeSubWindow() != first);
    QVERIFY(m_frame->OpenTeam(team));
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 2);
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), first);
    QVERIFY(m_frame->windowTitle().startsWith(first->windowTitle()));

    // Windows are found by kind and id; records that do not exist open nothing.
    QVERIFY(m_frame->FindChild(CChildFrame::Kind::Team, team));
    QVERIFY(m_frame->FindChild(CChildFrame::Kind::Player, player));
    QVERIFY(!m_frame->FindChild(CChildFrame::Kind::League, db->Leagues().begin()->first));
    QVERIFY(!m_frame->OpenTeam(-5));
    QVERIFY(!m_frame->OpenPlayer(0));
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 2);
    // The players without a team have a window of their own.
    QVERIFY(m_frame->OpenTeam(CGameDatabase::kNoTeamId));
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 3);
}

void MainFrameTest::addPlayerGoesToTheActiveTeam() {
    CGameDatabase* db = m_frame->Database();
    const int team = SomeTeam(*db);
    const auto before = db->PlayersOfTeam(team).size();
    QVERIFY(m_frame->OpenTeam(team));
    const auto playersShown = [&] {
        int sum = 0;
        QTreeWidget* list = m_frame->WorkspaceBar()->LeaguesList();
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            sum += list->topLevelItem(row)->text(3).toInt();
        }
        return sum;
    };
    const int shownBefore = playersShown();
    const int added = m_frame->AddPlayer();
    QVERIFY(added > 0);
    QCOMPARE(db->PlayersOfTeam(team).size(), before + 1);
    // The leagues list counts the new player in every league of the team.
    QCOMPARE(playersShown(), shownBefore + static_cast<int>(db->FindTeam(team)->Leagues().size()));
    QVERIFY(qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame()));
    QVERIFY(m_frame->isWindowModified());

    // With a player window active the editor asks for the team; cancelled, the new player
    // gets none.
    const int loose = AddPlayerOfNoTeam(*m_frame);
    QVERIFY(loose > 0);
    QVERIFY(db->FindPlayer(loose)->Teams().empty());
    QCOMPARE(db->PlayersOfTeam(team).size(), before + 1);
}

void MainFrameTest::placementIsStoredAndRestored() {
    const QRect wanted(70, 60, 900, 640);
    m_frame->setGeometry(wanted);
    m_frame->WorkspaceBar()->hide();
    QVERIFY(m_frame->close());
    QSettings settings = m_fixture->EditorSettings();
    QCOMPARE(settings.value(QStringLiteral("WindowLeft")).toInt(), m_frame->geometry().left());
    QCOMPARE(settings.value(QStringLiteral("WindowRight")).toInt(),
             m_frame->geometry().left() + m_frame->geometry().width());
    QCOMPARE(settings.value(QStringLiteral("Maximised")).toInt(), 0);
    QVERIFY(!settings.value(QStringLiteral("BarState")).toByteArray().isEmpty());
    const QRect stored = m_frame->geometry();
    m_fixture->Stop();

    m_frame = m_fixture->Start()->MainFrame();
    QCOMPARE(m_frame->geometry(), stored);
    QVERIFY(!m_frame->WorkspaceBar()->isVisible());
    QVERIFY(!m_frame->ActionForKey(QStringLiteral("Menu_ViewLeaguesList"))->isChecked());

    // Maximised: the window returns maximised, over the rectangle it had before.
    m_frame->showMaximized();
    QTRY_VERIFY(m_frame->isMaximized());
    QVERIFY(m_frame->close());
    m_fixture->Stop();
    QCOMPARE(m_fixture->EditorSettings().value(QStringLiteral("Maximised")).toInt(), 1);
    m_frame = m_fixture->Start()->MainFrame();
    QVERIFY(m_frame->windowState() & Qt::WindowMaximized);

    // A zero left edge, or a rectangle on no screen, leaves the window where it is.
    m_fixture->Stop();
    settings.setValue(QStringLiteral("Maximised"), 0);
    settings.setValue(QStringLiteral("WindowLeft"), 0);
    settings.sync();
    m_frame = m_fixture->Start()->MainFrame();
    QVERIFY(m_frame->geometry() != stored);
    m_fixture->Stop();
    settings.setValue(QStringLiteral("WindowLeft"), 90000);
    settings.setValue(QStringLiteral("WindowRight"), 90800);
    settings.sync();
    m_frame = m_fixture->Start()->MainFrame();
    QVERIFY(m_frame->geometry().left() < 90000);
}

void MainFrameTest::saveWritesBothDatabasesAndClearsTheMark() {
    CGameDatabase* db = m_frame->Database();
    const QByteArray databaseBefore = Bytes(m_fixture->DatabasePath());
    const QByteArray textsBefore = Bytes(m_fixture->TextDbPath());
    QVERIFY(!databaseBefore.isEmpty());
    QVERIFY(!m_frame->isWindowModified());

    const int team = SomeTeam(*db);
    db->FindTeam(team)->SetName("Kestrel Athletic");
    db->MarkDirty();
    QVERIFY(m_frame->isWindowModified());
    QVERIFY(m_frame->windowTitle().contains(QStringLiteral("[*]")));

    QAction* save = m_frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"));
    save->trigger();
    QVERIFY2(m_fixture->prompts.isEmpty(), qPrintable(m_fixture->prompts.join(u'\n')));
    QVERIFY(!m_frame->isWindowModified());
    QVERIFY(Bytes(m_fixture->TextDbPath()) != textsBefore);
    QVERIFY(Bytes(m_fixture->TextDbPath()).contains("Kestrel Athletic"));

    CGameDatabase reloaded;
    QVERIFY(SavedFiles::LoadDatabase(*m_fixture, reloaded));
    QCOMPARE(QString::fromStdString(reloaded.FindTeam(team)->Name()),
             QStringLiteral("Kestrel Athletic"));
    QCOMPARE(reloaded.Players().size(), db->Players().size());
}

void MainFrameTest::closingWithUnsavedChangesAsks() {
    const QByteArray before = Bytes(m_fixture->DatabasePath());
    // No changes: no question.
    QVERIFY(m_frame->close());
    QVERIFY(m_fixture->prompts.isEmpty());
    m_frame = m_fixture->Start()->MainFrame();
    m_frame->show();

    QVERIFY(AddPlayerOfNoTeam(*m_frame) > 0);
    m_fixture->answer = CUserPrompts::Answer::Cancel;
    QVERIFY(!m_frame->close());
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(
        m_fixture->prompts.first().startsWith(QStringLiteral("save: The database has unsaved")));
    QVERIFY(m_frame->isVisible());
    QVERIFY(m_frame->Database()->IsDirty());

    m_fixture->answer = CUserPrompts::Answer::Discard;
    QVERIFY(m_frame->close());
    QCOMPARE(Bytes(m_fixture->DatabasePath()), before);

    m_frame = m_fixture->Start()->MainFrame();
    const int added = AddPlayerOfNoTeam(*m_frame);
    m_fixture->answer = CUserPrompts::Answer::Save;
    QVERIFY(m_frame->close());
    QVERIFY(Bytes(m_fixture->DatabasePath()) != before);
    m_fixture->Stop();
    m_frame = m_fixture->Start()->MainFrame();
    QVERIFY(m_frame->Database()->FindPlayer(added));

    // A save that fails keeps the editor open with its changes: here a folder stands where
    // the database file was, so nothing can be renamed over it.
    QVERIFY(AddPlayerOfNoTeam(*m_frame) > 0);
    QVERIFY(QFile::remove(m_fixture->DatabasePath()));
    QVERIFY(QDir().mkpath(m_fixture->DatabasePath() + QStringLiteral("/blocked")));
    // The file is no longer what was loaded: the save asks before overwriting; yes.
    m_fixture->prompts.clear();
    CUserPrompts::SetHandler([this](const QString& kind, const QString& text) {
        m_fixture->prompts.append(kind + QStringLiteral(": ") + text);
        return kind == QStringLiteral("action") ? CUserPrompts::Answer::Yes
                                                : CUserPrompts::Answer::Save;
    });
    QVERIFY(!m_frame->close());
    QVERIFY(m_frame->Database()->IsDirty());
    QCOMPARE(m_fixture->prompts.size(), 3);
    QVERIFY(m_fixture->prompts.at(1).startsWith(QStringLiteral("action: ")));
    QVERIFY(m_fixture->prompts.at(2).startsWith(QStringLiteral("warn: ")));
    QVERIFY(m_frame->statusBar()->currentMessage().isEmpty());
}

void MainFrameTest::findDialogRefusesEmptyQueries() {
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
        auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("findText"));
        text->clear();
        dialog->accept();
        QVERIFY(dialog->isVisible());
        text->setText(QStringLiteral("ar"));
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
            box->setChecked(false);
        }
        dialog->accept();
        QVERIFY(dialog->isVisible());
        dialog->findChildren<QCheckBox*>().first()->setChecked(true);
        dialog->accept();
        checked = true;
    });
    m_frame->ActionForKey(QStringLiteral("Menu_EditFind"))->trigger();
    QVERIFY(checked);
    QCOMPARE(m_fixture->prompts.size(), 2);
    QCOMPARE(m_fixture->prompts.at(0), QStringLiteral("inform: Please enter the text to find."));
    QVERIFY(m_fixture->prompts.at(1).contains(QStringLiteral("choose where to search")));
    QCOMPARE(m_frame->MdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("Find - ar"));
}

// Also writes the picture of the main window to $KESTREL_SCREENSHOT when that is set.
void MainFrameTest::leagueAndTeamWindowsShowInTheMainWindow() {
    m_frame->resize(1280, 800);
    m_frame->show();
    CGameDatabase* db = m_frame->Database();
    QTreeWidget* list = m_frame->WorkspaceBar()->LeaguesList();
    list->setCurrentItem(list->topLevelItem(2));
    emit list->itemActivated(list->topLevelItem(2), 0);
    QMdiSubWindow* league = m_frame->MdiArea()->activeSubWindow();
    QVERIFY(league);
    QCOMPARE(league->windowTitle(), QStringLiteral("League - ") + list->topLevelItem(2)->text(0));
    int team = 0;
    for (const auto& [id, entry] : db->Leagues()) {
        if (QString::fromStdString(entry.name) == list->topLevelItem(2)->text(0)) {
            team = db->TeamsOfLeague(id).front();
        }
    }
    QVERIFY(m_frame->OpenTeam(team));
    QMdiSubWindow* teamWindow = m_frame->MdiArea()->activeSubWindow();
    teamWindow->move(140, 90);
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 2);
    QVERIFY(league->geometry().intersects(m_frame->MdiArea()->rect()));
    QVERIFY(teamWindow->geometry().intersects(m_frame->MdiArea()->rect()));
    QTest::qWait(50);
    const QPixmap picture = m_frame->grab();
    QCOMPARE(picture.size(), m_frame->size());
    const QString path = qEnvironmentVariable("KESTREL_SCREENSHOT");
    if (!path.isEmpty()) {
        QVERIFY(picture.save(path));
    }
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
