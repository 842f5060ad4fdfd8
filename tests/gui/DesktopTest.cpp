#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"

#include "UserSteps.h"
#include "editor/app/CAboutDialog.h"
#include "editor/app/CGameLanguages.h"
#include "editor/app/CGameLocator.h"
#include "editor/app/CHelpWindow.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CMainMenus.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CIngameFrame.h"
#include "editor/windows/CPlayersListFrame.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CTeamFrame.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A second installation: the fixture's game copied, its language already chosen.
bool CopyGame(const QString& from, const QString& to, EditorFixture& fixture) {
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target)) {
            return false;
        }
    }
    QSettings settings = fixture.EditorSettings();
    CGameLanguages::Remember(settings, CGameLocator::WithSlash(to), 0);
    return true;
}

// The menu bar's menu its mnemonic opens, as Alt and the letter do.
QMenu* OpenMenu(QWidget* frame, Qt::Key mnemonic) {
    if (!UserSteps::Activate(frame)) {
        return nullptr;
    }
    QTest::keyClick(frame, mnemonic, Qt::AltModifier);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Add Player without a team window asks for the team; the question is cancelled.
void MakeUnsavedWork(CMainFrame& frame) {
    WhenModalShown([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QVERIFY(frame.AddPlayer() > 0);
    QVERIFY(frame.Document().IsModified());
}

} // namespace

class DesktopTest : public FreshEditorTest {
    Q_OBJECT

public:
    DesktopTest() : FreshEditorTest(QSize(1100, 760)) {}

private slots:
    void openGameFolderAsksAboutUnsavedWorkAndRemembersFolders();
    void aboutNamesVersionLicenceAndDocumentation();
    void f1OpensTheDocumentation();
    void menusUseTheStandardKeysAndNoKeysInTheirTexts();
    void ctrlF4ClosesTheActiveWindowOnly();
    void ingameTextWindowSavesItsTextsAndOpensInTheirFolder();
    void firstStartSpeaksTheSystemLanguage();
};

void DesktopTest::openGameFolderAsksAboutUnsavedWorkAndRemembersFolders() {
    CKestrelApp* app = m_fixture->App();
    const QString first = CGameLocator::WithSlash(m_fixture->GameFolder());
    QCOMPARE(app->RecentGameFolders(), QStringList{first});
    QTemporaryDir dir;
    const QString second = CGameLocator::WithSlash(dir.filePath(QStringLiteral("other game")));
    QVERIFY(CopyGame(m_fixture->GameFolder(), second, *m_fixture));
    const QByteArray before = SavedFiles::Bytes(m_fixture->DatabasePath());

    MakeUnsavedWork(*m_frame);
    // File › Open Game Folder…, the other game chosen; the question about the unsaved player
    // is cancelled: the editor stays on its game with the player.
    const auto openByKeys = [this, &second] {
        QMenu* file = OpenMenu(m_frame, Qt::Key_F);
        QVERIFY(file);
        WhenModalShown([&second](QDialog* dialog) { AnswerFileDialog(dialog, second); });
        QTest::keyClick(file, Qt::Key_G);
    };
    m_fixture->answer = CUserPrompts::Answer::Cancel;
    openByKeys();
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().startsWith(QStringLiteral("save: ")));
    QApplication::processEvents();
    QCOMPARE(app->MainFrame(), m_frame);
    QCOMPARE(app->InstallFolder(), first);
    QVERIFY(m_frame->Document().IsModified());

    // Discarded: the other game's database in a new window, nothing written to the first.
    m_fixture->answer = CUserPrompts::Answer::Discard;
    openByKeys();
    QTRY_VERIFY(app->MainFrame() != m_frame);
    m_frame = app->MainFrame();
    QCOMPARE(app->InstallFolder(), second);
    QVERIFY(m_frame->Database());
    QCOMPARE(m_frame->Document().FilePath(), CGameLocator::DatabasePath(second));
    QVERIFY(!m_frame->Document().IsModified());
    QVERIFY(m_frame->isVisible());
    QCOMPARE(SavedFiles::Bytes(m_fixture->DatabasePath()), before);
    QCOMPARE(app->RecentGameFolders(), (QStringList{second, first}));

    // File › Recent Game Folders › 2: back to the first, nothing unsaved, no question.
    m_fixture->prompts.clear();
    QVERIFY(QTest::qWaitForWindowActive(m_frame));
    QMenu* file = OpenMenu(m_frame, Qt::Key_F);
    QVERIFY(file);
    QTest::keyClick(file, Qt::Key_T);
    auto* recent = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(recent && recent != file);
    QCOMPARE(recent->actions().size(), 2);
    QCOMPARE(recent->actions().at(1)->text(),
             QStringLiteral("&2 ") + QDir::toNativeSeparators(first));
    QTest::keyClick(recent, Qt::Key_2);
    QTRY_VERIFY(app->MainFrame() != m_frame);
    m_frame = app->MainFrame();
    QCOMPARE(app->InstallFolder(), first);
    QVERIFY(m_fixture->prompts.isEmpty());
    QCOMPARE(app->RecentGameFolders(), (QStringList{first, second}));

    // A recent folder that went away says so and leaves the list.
    QVERIFY(QDir(second).removeRecursively());
    QVERIFY(!app->SwitchGame(second));
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().contains(QDir::toNativeSeparators(second)));
    QCOMPARE(app->RecentGameFolders(), QStringList{first});
    QCOMPARE(app->MainFrame(), m_frame);
}

void DesktopTest::aboutNamesVersionLicenceAndDocumentation() {
    CKestrelApp* app = m_fixture->App();
    QMenu* help = OpenMenu(m_frame, Qt::Key_H);
    QVERIFY(help);
    QString said;
    WhenModalShown([&said](QDialog* dialog) {
        auto* about = qobject_cast<CAboutDialog*>(dialog);
        QVERIFY(about);
        said = about->Text();
        const QString path = qEnvironmentVariable("KESTREL_ABOUT_SCREENSHOT");
        if (!path.isEmpty()) {
            QVERIFY(about->grab().save(path));
        }
        auto* documentation = about->findChild<QPushButton*>(QStringLiteral("DocumentationButton"));
        QVERIFY(documentation);
        QTest::mouseClick(documentation, Qt::LeftButton);
    });
    QTest::keyClick(help, Qt::Key_A);
    // The one version of the programs, the package and the manual pages.
    QVERIFY2(said.contains(QStringLiteral("Version ") + QStringLiteral(KESTREL_PROJECT_VERSION)),
             qPrintable(said));
    QCOMPARE(CKestrelApp::VersionText(), QStringLiteral(KESTREL_PROJECT_VERSION));
    QVERIFY2(said.contains(QStringLiteral("GPL-3.0-or-later")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("https://")), qPrintable(said));
    // Its Documentation button opened the help window.
    QVERIFY(app->HelpWindow());
    QVERIFY(app->HelpWindow()->isVisible());
    app->HelpWindow()->close();

    // Help › About Qt: Qt's own box.
    QVERIFY(UserSteps::Activate(m_frame));
    help = OpenMenu(m_frame, Qt::Key_H);
    QVERIFY(help);
    QString title;
    WhenModalShown([&title](QDialog* dialog) {
        QVERIFY(qobject_cast<QMessageBox*>(dialog));
        title = dialog->windowTitle();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::keyClick(help, Qt::Key_Q);
    QVERIFY2(title.contains(QStringLiteral("Qt")), qPrintable(title));
}

void DesktopTest::f1OpensTheDocumentation() {
    CKestrelApp* app = m_fixture->App();
    QVERIFY(!app->HelpWindow());
    QTest::keyClick(m_frame, Qt::Key_F1);
    CHelpWindow* help = app->HelpWindow();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(help));
    // The README, rendered: its headings without their Markdown marks, its pictures found.
    const QString text = help->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("Backups and checks")), qPrintable(text.left(200)));
    QVERIFY(!text.contains(QStringLiteral("## ")));
    QVERIFY(!help->document()
                 ->resource(QTextDocument::ImageResource,
                            QUrl(QStringLiteral("qrc:/help/docs/main-window.png")))
                 .isNull());
    // A link to another page of the documentation opens it in the same window.
    help->setSource(QUrl(QStringLiteral("qrc:/help/docs/filters.md")));
    QVERIFY(!help->toPlainText().isEmpty());
    QVERIFY(help->toPlainText() != text);
    QTest::keyClick(help, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(help->toPlainText(), text);

    // F1 again brings the same window forward.
    help->close();
    QVERIFY(UserSteps::Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_F1);
    QCOMPARE(app->HelpWindow(), help);
    QVERIFY(help->isVisible());
}

void DesktopTest::menusUseTheStandardKeysAndNoKeysInTheirTexts() {
    const auto keysOf = [this](const char* key) {
        return m_frame->ActionForKey(QString::fromLatin1(key))->shortcuts();
    };
    const auto standard = [](QKeySequence::StandardKey key) {
        return QKeySequence::keyBindings(key);
    };
    QCOMPARE(keysOf("Menu_FileSaveDB"), standard(QKeySequence::Save));
    QCOMPARE(keysOf("Menu_FileOpenIngameText"), standard(QKeySequence::Open));
    QCOMPARE(keysOf("Menu_EditCut"), standard(QKeySequence::Cut));
    QCOMPARE(keysOf("Menu_EditCopy"), standard(QKeySequence::Copy));
    QCOMPARE(keysOf("Menu_EditPaste"), standard(QKeySequence::Paste));
    QCOMPARE(keysOf("Menu_EditFind"), standard(QKeySequence::Find));
    QCOMPARE(keysOf("Menu_EditAddPlayer"), standard(QKeySequence::New));
    QCOMPARE(keysOf("Menu_HelpContents"), standard(QKeySequence::HelpContents));
    for (const auto& [action, key] : {std::pair{"Menu_EditUndo", QKeySequence::Undo},
                                      std::pair{"Menu_EditRedo", QKeySequence::Redo},
                                      std::pair{"Menu_FileExit", QKeySequence::Quit},
                                      std::pair{"Menu_ViewCloseWindow", QKeySequence::Close}}) {
        for (const QKeySequence& sequence : standard(key)) {
            QVERIFY2(keysOf(action).contains(sequence), action);
        }
    }
    QVERIFY(keysOf("Menu_ViewCloseWindow").contains(QKeySequence(Qt::CTRL | Qt::Key_F4)));

    // No menu entry names its key in its text: the key is the action's.
    const std::function<void(QMenu*)> check = [&check](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            QVERIFY2(!action->text().contains(u'\t'), qPrintable(action->text()));
            if (action->menu()) {
                check(action->menu());
            }
        }
    };
    for (QAction* top : m_frame->menuBar()->actions()) {
        check(top->menu());
    }

    // The squad list's menu, opened with the menu key: the keys of Cut, Copy and Paste as
    // shortcuts; the same in the list of players without a team, with Delete.
    CTeamFrame* team = nullptr;
    for (const auto& [id, league] : m_frame->Database()->Leagues()) {
        for (const int32_t teamId : m_frame->Database()->TeamsOfLeague(id)) {
            if (!m_frame->Database()->PlayersOfTeam(teamId).empty()) {
                team = UserSteps::OpenTeamFromLeague(*m_frame, id, teamId);
                break;
            }
        }
        if (team) {
            break;
        }
    }
    QVERIFY(team);
    UserSteps::ClickRow(team->SquadList(), 0);
    QMenu* menu = UserSteps::OpenContextMenu(team->SquadList());
    QVERIFY(menu);
    for (const auto& [name, key] : {std::pair{"Menu_EditCut", QKeySequence::Cut},
                                    std::pair{"Menu_EditCopy", QKeySequence::Copy},
                                    std::pair{"Menu_EditPaste", QKeySequence::Paste}}) {
        auto* action = menu->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action, name);
        QVERIFY2(!action->text().contains(u'\t'), qPrintable(action->text()));
        QCOMPARE(action->shortcut(), QKeySequence(key));
    }
    check(menu);
    menu->close();

    QVERIFY(UserSteps::Activate(m_frame));
    QMenu* view = OpenMenu(m_frame, Qt::Key_V);
    QVERIFY(view);
    QTest::keyClick(view, Qt::Key_W);
    auto* free = qobject_cast<CPlayersListFrame*>(m_frame->ActiveFrame());
    QVERIFY(free);
    UserSteps::ClickRow(free->List(), 0);
    menu = UserSteps::OpenContextMenu(free->List());
    QVERIFY(menu);
    auto* remove = menu->findChild<QAction*>(QStringLiteral("Menu_EditDeletePlayer"));
    QVERIFY(remove);
    QCOMPARE(remove->text(), QStringLiteral("&Delete Player"));
    QCOMPARE(remove->shortcut(), QKeySequence(QKeySequence::Delete));
    menu->close();
}

void DesktopTest::ctrlF4ClosesTheActiveWindowOnly() {
    // Two owners of the key would make Qt refuse it with this warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Ambiguous")));
    const auto leagues = m_frame->Database()->Leagues();
    QVERIFY(leagues.size() >= 2);
    QVERIFY(UserSteps::OpenLeagueAtRow(*m_frame, 0));
    QVERIFY(UserSteps::OpenLeagueAtRow(*m_frame, 1));
    QMdiArea* area = m_frame->MdiArea();
    QCOMPARE(area->subWindowList().size(), 2);
    QMdiSubWindow* second = area->activeSubWindow();
    QVERIFY(second);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus && second->isAncestorOf(focus));
    QTest::keyClick(focus, Qt::Key_F4, Qt::ControlModifier);
    QTRY_COMPARE(area->subWindowList().size(), 1);
    QVERIFY(area->subWindowList().first() != second);
    QVERIFY(area->activeSubWindow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
    QTRY_COMPARE(area->subWindowList().size(), 0);
    // Nothing left to close: the command is off, and the editor stays.
    QVERIFY(!m_frame->ActionForKey(QStringLiteral("Menu_ViewCloseWindow"))->isEnabled());
    QTest::keyClick(m_frame, Qt::Key_F4, Qt::ControlModifier);
    QVERIFY(m_frame->isVisible());
}

void DesktopTest::ingameTextWindowSavesItsTextsAndOpensInTheirFolder() {
    const QString folder = QFileInfo(m_fixture->TextDbPath()).canonicalPath();
    QString started;
    WhenModalShown([&started, this](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(files);
        started = QFileInfo(files->directory().absolutePath()).canonicalFilePath();
        AnswerFileDialog(dialog, m_fixture->TextDbPath());
    });
    QTest::keyClick(m_frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(started, folder);
    QVERIFY(qobject_cast<CIngameFrame*>(m_frame->ActiveFrame()));
    QAction* save = m_frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"));
    QMenu* file = OpenMenu(m_frame, Qt::Key_F);
    QVERIFY(file);
    QCOMPARE(save->text(), QStringLiteral("&Save In-game Texts"));
    file->close();

    // Another window active: the database again.
    QVERIFY(UserSteps::Activate(m_frame));
    QVERIFY(UserSteps::OpenLeagueAtRow(*m_frame, 0));
    QCOMPARE(save->text(), QStringLiteral("&Save Database"));
}

void DesktopTest::firstStartSpeaksTheSystemLanguage() {
    // The program itself, as a first start on machines set to French, to Italian (no texts),
    // and to French with English chosen before.
    QTemporaryDir home;
    const auto languageAt = [&](const QString& locale) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.insert(QStringLiteral("LANG"), locale);
        environment.insert(QStringLiteral("LANGUAGE"), QString());
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("WINEPREFIX"), home.filePath(QStringLiteral("wine")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kestrel")),
            {QStringLiteral("--check"), QStringLiteral("--game"), m_fixture->GameFolder(),
             QStringLiteral("--game-language"), QStringLiteral("0")});
        if (!program.waitForFinished(60000)) {
            return QStringLiteral("(did not finish)");
        }
        const QString report = QString::fromUtf8(program.readAllStandardOutput());
        const auto match = QRegularExpression(QStringLiteral("localisation: (\\S+)")).match(report);
        return match.hasMatch() ? match.captured(1) : report;
    };
    QCOMPARE(languageAt(QStringLiteral("fr_FR.UTF-8")), QStringLiteral("French"));
    QCOMPARE(languageAt(QStringLiteral("de_AT.UTF-8")), QStringLiteral("German"));
    QCOMPARE(languageAt(QStringLiteral("it_IT.UTF-8")), QStringLiteral("English_UK"));
    QSettings chosen(home.filePath(QStringLiteral("config/Brackwater/Kestrel.conf")),
                     QSettings::IniFormat);
    chosen.setValue(QStringLiteral("Editor Language"), QStringLiteral("English_UK"));
    chosen.sync();
    QCOMPARE(languageAt(QStringLiteral("fr_FR.UTF-8")), QStringLiteral("English_UK"));
}

QTEST_MAIN(DesktopTest)
#include "DesktopTest.moc"
