#include "EditorFixture.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CSplashWindow.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CTeamFrame.h"

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

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void leaguesListShowsNamesAndCounts();
    void menusAreLocalisedAndSwitchWithTheChild();
    void languageChoiceIsStoredAndAsksForRestart();
    void openingTheSameRecordTwiceActivatesOneWindow();
    void addPlayerGoesToTheActiveTeam();
    void placementIsStoredAndRestored();
    void saveWritesBothDatabasesAndClearsTheMark();
    void closingWithUnsavedChangesAsks();
    void findDialogRefusesEmptyQueries();
    void missingGameOffersTheFolderChoice();
    void leagueAndTeamWindowsShowInTheMainWindow();
    void aboutShowsTheVersionAndClosesOnAKey();
    void unreadableDatabaseOpensAnEmptyEditorAfterSayingWhy();
};

void MainFrameTest::leaguesListShowsNamesAndCounts() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CKestrelApp* app = fixture.Start();
    QVERIFY(app);
    CMainFrame* frame = app->MainFrame();
    CGameDatabase* db = frame->Database();
    QVERIFY(db);
    QTreeWidget* list = frame->WorkspaceBar()->LeaguesList();
    QCOMPARE(list->topLevelItemCount(), static_cast<int>(db->Leagues().size()));
    QVERIFY(list->topLevelItemCount() > 3);
    QCOMPARE(list->headerItem()->text(3), QStringLiteral("No. of Players"));
    QCOMPARE(frame->WorkspaceBar()->widget()->width() <= CWorkspaceBar::kWidth + 20, true);

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
    QVERIFY(fixture.prompts.isEmpty());
    // The splash window went through the loading steps to the end.
    QCOMPARE(app->Splash().Text(), QStringLiteral("Ready"));
    QCOMPARE(app->Splash().Progress(), 100);
    // The asset library beside the program is bound, so no notice is shown.
    QVERIFY(app->Pictures());
    QCOMPARE(frame->statusBar()->findChild<QLabel*>()->text(), QStringLiteral("Ready"));
}

void MainFrameTest::menusAreLocalisedAndSwitchWithTheChild() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    QCOMPARE(frame->menuBar()->actions().first()->text(), QStringLiteral("&File"));
    const QString save = frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"))->text();
    QCOMPARE(save, QStringLiteral("&Save Database\tCtrl+S"));
    QCOMPARE(frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"))->shortcut(),
             QKeySequence(QKeySequence::Save));
    QCOMPARE(frame->ActionForKey(QStringLiteral("Menu_EditFind"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_F));

    // Main menu: no Undo; a team window brings Undo and Redo.
    QCOMPARE(frame->MenuKind(), QStringLiteral("main"));
    QVERIFY(!frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isVisible());
    QVERIFY(frame->OpenTeam(SomeTeam(*frame->Database())));
    QCOMPARE(frame->MenuKind(), QStringLiteral("record"));
    QVERIFY(frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isVisible());
    QVERIFY(frame->ActionForKey(QStringLiteral("Menu_EditAddPlayer"))->isVisible());
    QVERIFY(!frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isEnabled());
    QVERIFY(frame->OpenIngameText(fixture.TextDbPath()));
    QCOMPARE(frame->MenuKind(), QStringLiteral("noplayer"));
    QVERIFY(!frame->ActionForKey(QStringLiteral("Menu_EditAddPlayer"))->isVisible());
    QVERIFY(!frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isVisible());

    // The language menu lists the shipped files and checks the current one.
    QCOMPARE(frame->Languages(), QStringList({"English_UK", "French", "German", "Spanish"}));
    const auto items = frame->LanguageMenu()->actions();
    QCOMPARE(items.size(), 4);
    QVERIFY(items.at(0)->isChecked());
    QVERIFY(!items.at(1)->isChecked());
    QCOMPARE(items.at(1)->text(), QString::fromUtf8("Fran\xC3\xA7"
                                                    "ais"));
    fixture.Stop();

    // A French start shows French menus.
    fixture.EditorSettings().setValue(QStringLiteral("Editor Language"), QStringLiteral("French"));
    frame = fixture.Start()->MainFrame();
    QCOMPARE(frame->menuBar()->actions().first()->text(), QStringLiteral("&Fichier"));
    QCOMPARE(frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"))->text(),
             QStringLiteral("&Enregistrer la base\tCtrl+S"));
    QVERIFY(frame->LanguageMenu()->actions().at(1)->isChecked());
}

void MainFrameTest::languageChoiceIsStoredAndAsksForRestart() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    // A further file dropped beside the program is offered under its base name.
    QFile::copy(QDir(fixture.EditorFolder()).filePath(QStringLiteral("English_UK.qtx")),
                QDir(fixture.EditorFolder()).filePath(QStringLiteral("Pirate.qtx")));
    CMainFrame* frame = fixture.Start()->MainFrame();
    QVERIFY(frame->Languages().contains(QStringLiteral("Pirate")));
    QAction* german = frame->findChild<QAction*>(QStringLiteral("Language_German"));
    QVERIFY(german);
    german->trigger();
    QCOMPARE(fixture.prompts.size(), 1);
    QCOMPARE(fixture.prompts.first(),
             QStringLiteral("inform: The new language is used when Kestrel is started again."));
    QVERIFY(german->isChecked());
    QCOMPARE(frame->LanguageMenu()->actions().size(), 5);
    // Nothing changes in this run; the setting is written at shut-down.
    QCOMPARE(frame->menuBar()->actions().first()->text(), QStringLiteral("&File"));
    QCOMPARE(fixture.EditorSettings().value(QStringLiteral("Editor Language")).toString(),
             QString());
    fixture.Stop();
    QCOMPARE(fixture.EditorSettings().value(QStringLiteral("Editor Language")).toString(),
             QStringLiteral("German"));
    frame = fixture.Start()->MainFrame();
    QCOMPARE(frame->menuBar()->actions().first()->text(), QStringLiteral("&Datei"));

    // A language whose file has gone falls back to English texts after saying so.
    fixture.EditorSettings().setValue(QStringLiteral("Editor Language"), QStringLiteral("Klingon"));
    fixture.prompts.clear();
    frame = fixture.Start()->MainFrame();
    QCOMPARE(fixture.prompts.size(), 1);
    QVERIFY(fixture.prompts.first().contains(QStringLiteral("Klingon.qtx")));
    QCOMPARE(frame->menuBar()->actions().first()->text(), QStringLiteral("&File"));

    // No more than twenty languages are offered.
    for (int n = 0; n < 20; ++n) {
        QFile::copy(QDir(fixture.EditorFolder()).filePath(QStringLiteral("English_UK.qtx")),
                    QDir(fixture.EditorFolder()).filePath(QStringLiteral("Extra%1.QTX").arg(n)));
    }
    frame = fixture.Start()->MainFrame();
    QCOMPARE(frame->Languages().size(), CMainFrame::kMaxLanguages);
    QCOMPARE(frame->LanguageMenu()->actions().size(), CMainFrame::kMaxLanguages);
}

void MainFrameTest::openingTheSameRecordTwiceActivatesOneWindow() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    const int team = SomeTeam(*db);
    QVERIFY(frame->OpenTeam(team));
    QMdiSubWindow* first = frame->MdiArea()->activeSubWindow();
    QVERIFY(first);
    QCOMPARE(first->windowTitle(),
             QStringLiteral("Team - ") + QString::fromStdString(db->FindTeam(team)->Name()));
    QCOMPARE(first->size(), QSize(CMainFrame::kChildWidth, CMainFrame::kChildHeight));
    QVERIFY(qobject_cast<CTeamFrame*>(first->widget()));

    const int player = db->PlayersOfTeam(team).front();
    QVERIFY(frame->OpenPlayer(player));
    QVERIFY(frame->MdiArea()->activeSubWindow() != first);
    QVERIFY(frame->OpenTeam(team));
    QCOMPARE(frame->MdiArea()->subWindowList().size(), 2);
    QCOMPARE(frame->MdiArea()->activeSubWindow(), first);
    QVERIFY(frame->windowTitle().startsWith(first->windowTitle()));

    // Refreshing finds windows by kind and id; records that do not exist open nothing.
    QVERIFY(frame->RefreshTeam(team));
    QVERIFY(frame->RefreshPlayer(player));
    QVERIFY(!frame->RefreshLeague(db->Leagues().begin()->first));
    QVERIFY(!frame->OpenTeam(-5));
    QVERIFY(!frame->OpenPlayer(0));
    QCOMPARE(frame->MdiArea()->subWindowList().size(), 2);
    // The players without a team have a window of their own.
    QVERIFY(frame->OpenTeam(CGameDatabase::kNoTeamId));
    QCOMPARE(frame->MdiArea()->subWindowList().size(), 3);
}

void MainFrameTest::addPlayerGoesToTheActiveTeam() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    const int team = SomeTeam(*db);
    const auto before = db->PlayersOfTeam(team).size();
    QVERIFY(frame->OpenTeam(team));
    const auto playersShown = [&] {
        int sum = 0;
        QTreeWidget* list = frame->WorkspaceBar()->LeaguesList();
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            sum += list->topLevelItem(row)->text(3).toInt();
        }
        return sum;
    };
    const int shownBefore = playersShown();
    const int added = frame->AddPlayer();
    QVERIFY(added > 0);
    QCOMPARE(db->PlayersOfTeam(team).size(), before + 1);
    // The leagues list counts the new player in every league of the team.
    QCOMPARE(playersShown(), shownBefore + static_cast<int>(db->FindTeam(team)->Leagues().size()));
    QVERIFY(qobject_cast<CPlayerFrame*>(frame->ActiveFrame()));
    QVERIFY(frame->isWindowModified());

    // With a player window active the editor asks for the team; cancelled, the new player
    // gets none.
    const int loose = AddPlayerOfNoTeam(*frame);
    QVERIFY(loose > 0);
    QVERIFY(db->FindPlayer(loose)->Teams().empty());
    QCOMPARE(db->PlayersOfTeam(team).size(), before + 1);
}

void MainFrameTest::placementIsStoredAndRestored() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    const QRect wanted(70, 60, 900, 640);
    frame->setGeometry(wanted);
    frame->WorkspaceBar()->hide();
    QVERIFY(frame->close());
    QSettings settings = fixture.EditorSettings();
    QCOMPARE(settings.value(QStringLiteral("WindowLeft")).toInt(), frame->geometry().left());
    QCOMPARE(settings.value(QStringLiteral("WindowRight")).toInt(),
             frame->geometry().left() + frame->geometry().width());
    QCOMPARE(settings.value(QStringLiteral("Maximised")).toInt(), 0);
    QVERIFY(!settings.value(QStringLiteral("BarState")).toByteArray().isEmpty());
    const QRect stored = frame->geometry();
    fixture.Stop();

    frame = fixture.Start()->MainFrame();
    QCOMPARE(frame->geometry(), stored);
    QVERIFY(!frame->WorkspaceBar()->isVisible());
    QVERIFY(!frame->ActionForKey(QStringLiteral("Menu_ViewLeaguesList"))->isChecked());

    // Maximised: the window returns maximised, over the rectangle it had before.
    frame->showMaximized();
    QTRY_VERIFY(frame->isMaximized());
    QVERIFY(frame->close());
    fixture.Stop();
    QCOMPARE(fixture.EditorSettings().value(QStringLiteral("Maximised")).toInt(), 1);
    frame = fixture.Start()->MainFrame();
    QVERIFY(frame->windowState() & Qt::WindowMaximized);

    // A zero left edge, or a rectangle on no screen, leaves the window where it is.
    fixture.Stop();
    settings.setValue(QStringLiteral("Maximised"), 0);
    settings.setValue(QStringLiteral("WindowLeft"), 0);
    settings.sync();
    frame = fixture.Start()->MainFrame();
    QVERIFY(frame->geometry() != stored);
    fixture.Stop();
    settings.setValue(QStringLiteral("WindowLeft"), 90000);
    settings.setValue(QStringLiteral("WindowRight"), 90800);
    settings.sync();
    frame = fixture.Start()->MainFrame();
    QVERIFY(frame->geometry().left() < 90000);
}

void MainFrameTest::saveWritesBothDatabasesAndClearsTheMark() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    const QByteArray databaseBefore = Bytes(fixture.DatabasePath());
    const QByteArray textsBefore = Bytes(fixture.TextDbPath());
    QVERIFY(!databaseBefore.isEmpty());
    QVERIFY(!frame->isWindowModified());

    const int team = SomeTeam(*db);
    db->FindTeam(team)->SetName("Kestrel Athletic");
    db->MarkDirty();
    QVERIFY(frame->isWindowModified());
    QVERIFY(frame->windowTitle().contains(QStringLiteral("[*]")));

    QAction* save = frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"));
    save->trigger();
    QVERIFY2(fixture.prompts.isEmpty(), qPrintable(fixture.prompts.join(u'\n')));
    QVERIFY(!frame->isWindowModified());
    QVERIFY(Bytes(fixture.TextDbPath()) != textsBefore);
    QVERIFY(Bytes(fixture.TextDbPath()).contains("Kestrel Athletic"));

    CGameDatabase reloaded;
    QVERIFY(SavedFiles::LoadDatabase(fixture, reloaded));
    QCOMPARE(QString::fromStdString(reloaded.FindTeam(team)->Name()),
             QStringLiteral("Kestrel Athletic"));
    QCOMPARE(reloaded.Players().size(), db->Players().size());
}

void MainFrameTest::closingWithUnsavedChangesAsks() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    const QByteArray before = Bytes(fixture.DatabasePath());
    // No changes: no question.
    QVERIFY(frame->close());
    QVERIFY(fixture.prompts.isEmpty());
    frame = fixture.Start()->MainFrame();
    frame->show();

    QVERIFY(AddPlayerOfNoTeam(*frame) > 0);
    fixture.answer = CUserPrompts::Answer::Cancel;
    QVERIFY(!frame->close());
    QCOMPARE(fixture.prompts.size(), 1);
    QVERIFY(fixture.prompts.first().startsWith(QStringLiteral("save: The database has unsaved")));
    QVERIFY(frame->isVisible());
    QVERIFY(frame->Database()->IsDirty());

    fixture.answer = CUserPrompts::Answer::Discard;
    QVERIFY(frame->close());
    QCOMPARE(Bytes(fixture.DatabasePath()), before);

    frame = fixture.Start()->MainFrame();
    const int added = AddPlayerOfNoTeam(*frame);
    fixture.answer = CUserPrompts::Answer::Save;
    QVERIFY(frame->close());
    QVERIFY(Bytes(fixture.DatabasePath()) != before);
    fixture.Stop();
    frame = fixture.Start()->MainFrame();
    QVERIFY(frame->Database()->FindPlayer(added));

    // A save that fails keeps the editor open with its changes: here a folder stands where
    // the database file was, so nothing can be renamed over it.
    QVERIFY(AddPlayerOfNoTeam(*frame) > 0);
    QVERIFY(QFile::remove(fixture.DatabasePath()));
    QVERIFY(QDir().mkpath(fixture.DatabasePath() + QStringLiteral("/blocked")));
    fixture.prompts.clear();
    fixture.answer = CUserPrompts::Answer::Save;
    QVERIFY(!frame->close());
    QVERIFY(frame->Database()->IsDirty());
    QCOMPARE(fixture.prompts.size(), 2);
    QVERIFY(fixture.prompts.at(1).startsWith(QStringLiteral("warn: ")));
    QVERIFY(frame->statusBar()->currentMessage().isEmpty());
}

void MainFrameTest::findDialogRefusesEmptyQueries() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
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
    frame->ActionForKey(QStringLiteral("Menu_EditFind"))->trigger();
    QVERIFY(checked);
    QCOMPARE(fixture.prompts.size(), 2);
    QCOMPARE(fixture.prompts.at(0), QStringLiteral("inform: Please enter the text to find."));
    QVERIFY(fixture.prompts.at(1).contains(QStringLiteral("choose where to search")));
    QCOMPARE(frame->MdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("Find - ar"));
}

void MainFrameTest::missingGameOffersTheFolderChoice() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.answer = CUserPrompts::Answer::No;
    QVERIFY(!fixture.Start({QStringLiteral("--no-game")}));
    QCOMPARE(fixture.prompts.size(), 1);
    QVERIFY(fixture.prompts.first().startsWith(
        QStringLiteral("yesno: Corvid 2004 does not seem to be installed")));
    // A failed start-up does not write the editor language.
    QVERIFY(!fixture.EditorSettings().contains(QStringLiteral("Editor Language")));

    // Once a game was opened, its folder is remembered for the next start.
    QVERIFY(fixture.Start());
    fixture.Stop();
    fixture.prompts.clear();
    QVERIFY(fixture.Start({QStringLiteral("--no-game")}));
    QVERIFY(fixture.prompts.isEmpty());
}

// Also writes the picture of the main window to $KESTREL_SCREENSHOT when that is set.
void MainFrameTest::leagueAndTeamWindowsShowInTheMainWindow() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    frame->resize(1280, 800);
    frame->show();
    CGameDatabase* db = frame->Database();
    QTreeWidget* list = frame->WorkspaceBar()->LeaguesList();
    list->setCurrentItem(list->topLevelItem(2));
    emit list->itemActivated(list->topLevelItem(2), 0);
    QMdiSubWindow* league = frame->MdiArea()->activeSubWindow();
    QVERIFY(league);
    QCOMPARE(league->windowTitle(), QStringLiteral("League - ") + list->topLevelItem(2)->text(0));
    int team = 0;
    for (const auto& [id, entry] : db->Leagues()) {
        if (QString::fromStdString(entry.name) == list->topLevelItem(2)->text(0)) {
            team = db->TeamsOfLeague(id).front();
        }
    }
    QVERIFY(frame->OpenTeam(team));
    QMdiSubWindow* teamWindow = frame->MdiArea()->activeSubWindow();
    teamWindow->move(140, 90);
    QCOMPARE(frame->MdiArea()->subWindowList().size(), 2);
    QVERIFY(league->geometry().intersects(frame->MdiArea()->rect()));
    QVERIFY(teamWindow->geometry().intersects(frame->MdiArea()->rect()));
    QTest::qWait(50);
    const QPixmap picture = frame->grab();
    QCOMPARE(picture.size(), frame->size());
    const QString path = qEnvironmentVariable("KESTREL_SCREENSHOT");
    if (!path.isEmpty()) {
        QVERIFY(picture.save(path));
    }
}

void MainFrameTest::aboutShowsTheVersionAndClosesOnAKey() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CKestrelApp* app = fixture.Start();
    QVERIFY(!app->Splash().isVisible());
    app->MainFrame()->ActionForKey(QStringLiteral("Menu_HelpAbout"))->trigger();
    CSplashWindow& splash = app->Splash();
    QVERIFY(splash.isVisible());
    QVERIFY(splash.Text().contains(QStringLiteral("Version ") + CKestrelApp::VersionText()));
    QCOMPARE(CKestrelApp::VersionText().count(u'.'), 3);
    const QString path = qEnvironmentVariable("KESTREL_ABOUT_SCREENSHOT");
    if (!path.isEmpty()) {
        QVERIFY(splash.grab().save(path));
    }
    QTest::keyClick(&splash, Qt::Key_Space);
    QTRY_VERIFY(!splash.isVisible());
}

void MainFrameTest::unreadableDatabaseOpensAnEmptyEditorAfterSayingWhy() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    QFile database(fixture.DatabasePath());
    QVERIFY(database.open(QIODevice::WriteOnly | QIODevice::Truncate));
    database.write("not a database at all");
    database.close();
    CKestrelApp* app = fixture.Start();
    QVERIFY(app);
    CMainFrame* frame = app->MainFrame();
    QCOMPARE(fixture.prompts.size(), 1);
    QVERIFY(fixture.prompts.first().startsWith(QStringLiteral("warn: ")));
    QVERIFY2(fixture.prompts.first().contains(QStringLiteral("corvid.db")),
             qPrintable(fixture.prompts.first()));
    QVERIFY(!frame->Database());
    QCOMPARE(frame->WorkspaceBar()->LeaguesList()->topLevelItemCount(), 0);
    QVERIFY(!frame->OpenTeam(1));
    QCOMPARE(frame->AddPlayer(), 0);
    // Saving has nothing to write and says so instead of touching the file.
    fixture.prompts.clear();
    QVERIFY(!frame->SaveDatabase());
    QCOMPARE(fixture.prompts.size(), 1);
    QCOMPARE(Bytes(fixture.DatabasePath()), QByteArray("not a database at all"));
    QVERIFY(frame->close());
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
