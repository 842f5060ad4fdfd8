#include "EditorFixture.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CMainMenus.h"
#include "editor/app/CWorkspaceBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

using SavedFiles::Bytes;

// While it lives, every modal dialog that opens is counted and rejected, so a question that
// should not come fails the test instead of hanging it.
class UnexpectedDialogs {
public:
    UnexpectedDialogs() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++count;
                dialog->reject();
            }
        });
        m_timer.start(20);
    }
    int count = 0;

private:
    QTimer m_timer;
};

// The game language question answered with the `downs`-th entry after the first.
void ChooseLanguage(QInputDialog* dialog, int downs) {
    // The question says what it is and why it is asked.
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Game language"));
    QVERIFY(dialog->labelText().contains(QStringLiteral("Team and league names are saved")));
    auto* combo = dialog->findChild<QComboBox*>();
    QVERIFY(combo);
    for (int i = 0; i < downs; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
    QTest::keyClick(combo, Qt::Key_Return);
}

QString TextDatabasePane(CKestrelApp& app) {
    auto* pane =
        app.MainFrame()->statusBar()->findChild<QLabel*>(QStringLiteral("TextDatabasePane"));
    return pane ? pane->text() : QString();
}

// Registers `folder` as the game's installation in the fixture's Wine prefix.
bool RegisterGame(const QString& folder, int language) {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    QDir().mkpath(prefix + QStringLiteral("/dosdevices"));
    QFile::link(QStringLiteral("/"), prefix + QStringLiteral("/dosdevices/z:"));
    QFile reg(prefix + QStringLiteral("/system.reg"));
    if (!reg.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray windowsPath = "Z:" + QDir::cleanPath(folder).toUtf8().replace('/', "\\\\");
    reg.write("WINE REGISTRY Version 2\n\n[Software\\\\Brackwater\\\\Corvid 2004] 1\n"
              "\"Install Dir\"=\"" +
              windowsPath + "\"\n\"Language\"=dword:" +
              QByteArray::number(language, 16).rightJustified(8, '0') + "\n");
    return true;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void gameFolderOnTheCommandLineIsCheckedLikeAChosenOne();
    void gameLanguageIsRememberedForEachInstallation();
    void registeredLanguageServesItsOwnFolder();
    void qtDialogsSpeakTheEditorLanguage();
    void languageChoiceIsStoredAndAsksForRestart();
    void missingGameOffersTheFolderChoice();
    void unreadableDatabaseOpensAnEmptyEditorAfterSayingWhy();
    void helpVersionAndWrongArgumentsAnswerWithoutAWindow();
};

void StartupTest::gameFolderOnTheCommandLineIsCheckedLikeAChosenOne() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    QTemporaryDir empty;
    fixture.answer = CUserPrompts::Answer::No;
    QVERIFY(!fixture.Start({QStringLiteral("--no-game"), QStringLiteral("--game"), empty.path()}));
    QCOMPARE(fixture.prompts.size(), 2);
    QVERIFY(fixture.prompts[0].startsWith(QStringLiteral("warn: This folder holds no game")));
    QVERIFY(fixture.prompts[0].contains(QDir::toNativeSeparators(empty.path())));
    QVERIFY(fixture.prompts[1].startsWith(QStringLiteral("yesno: ")));

    // Yes: the folder chooser opens, and the game chosen there is loaded.
    fixture.prompts.clear();
    fixture.answer = CUserPrompts::Answer::Yes;
    WhenModalShown([&](QDialog* dialog) { AnswerFileDialog(dialog, fixture.GameFolder()); });
    CKestrelApp* app =
        fixture.Start({QStringLiteral("--no-game"), QStringLiteral("--game"), empty.path()});
    QVERIFY(app);
    QVERIFY(app->MainFrame()->Database());
    QCOMPARE(QDir(app->InstallFolder()).canonicalPath(),
             QDir(fixture.GameFolder()).canonicalPath());
}

void StartupTest::gameLanguageIsRememberedForEachInstallation() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.giveGameLanguage = false;
    // The sample holds texts in several languages: the editor asks which one is the game's.
    WhenModalShown([](QDialog* dialog) {
        auto* question = qobject_cast<QInputDialog*>(dialog);
        QVERIFY(question);
        QVERIFY(question->comboBoxItems().first().startsWith(QStringLiteral("English")));
        ChooseLanguage(question, 1);
    });
    CKestrelApp* app = fixture.Start();
    QVERIFY(app);
    QCOMPARE(app->GameLanguage(), 2u);
    QVERIFY(app->IngameTextDbPath().endsWith(QStringLiteral("data/cmn/fe/fre.db")));
    QVERIFY2(TextDatabasePane(*app).contains(QStringLiteral("data/cmn/fe/fre.db")),
             qPrintable(TextDatabasePane(*app)));
    QVERIFY(TextDatabasePane(*app).contains(QStringLiteral("Fran\u00e7ais")));

    // Only once for that folder, however it is written.
    UnexpectedDialogs asked;
    fixture.Stop();
    app = fixture.Start({QStringLiteral("--no-game"), QStringLiteral("--game"),
                         fixture.GameFolder() + QStringLiteral("/data/..")});
    QVERIFY(app);
    QCOMPARE(asked.count, 0);
    QCOMPARE(app->GameLanguage(), 2u);

    // Another installation has its own language.
    fixture.Stop();
    QTemporaryDir other;
    QVERIFY(QDir().mkpath(other.filePath(QStringLiteral("data/cmn/fe"))));
    QVERIFY(
        QFile::copy(fixture.DatabasePath(), other.filePath(QStringLiteral("data/cmn/corvid.db"))));
    QVERIFY(QFile::copy(QDir(fixture.GameFolder()).filePath(QStringLiteral("data/cmn/fe/ger.db")),
                        other.filePath(QStringLiteral("data/cmn/fe/ger.db"))));
    // With one language's texts there is nothing to ask.
    app = fixture.Start({QStringLiteral("--no-game"), QStringLiteral("--game"), other.path()});
    QVERIFY(app);
    QCOMPARE(asked.count, 0);
    QCOMPARE(app->GameLanguage(), 3u);

    // A language given on the command line wins and is kept for the folder.
    fixture.Stop();
    QVERIFY(fixture.Start({QStringLiteral("--game-language"), QStringLiteral("5")}));
    fixture.Stop();
    app = fixture.Start();
    QCOMPARE(asked.count, 0);
    QCOMPARE(app->GameLanguage(), 5u);
    QVERIFY2(fixture.prompts.isEmpty(), qPrintable(fixture.prompts.join(u'\n')));

    // A folder without the language's file says so in the status bar.
    fixture.Stop();
    app = fixture.Start({QStringLiteral("--no-game"), QStringLiteral("--game"), other.path(),
                         QStringLiteral("--game-language"), QStringLiteral("2")});
    QVERIFY(app);
    QVERIFY2(
        TextDatabasePane(*app).contains(QStringLiteral("fre.db (Fran\u00e7ais) - file missing")),
        qPrintable(TextDatabasePane(*app)));
}

void StartupTest::registeredLanguageServesItsOwnFolder() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.giveGameLanguage = false;
    QVERIFY(RegisterGame(fixture.GameFolder(), 3));
    UnexpectedDialogs asked;
    // Given on the command line, the registered folder keeps its registered language.
    CKestrelApp* app = fixture.Start();
    QVERIFY(app);
    QCOMPARE(asked.count, 0);
    QCOMPARE(app->GameLanguage(), 3u);
    QVERIFY(TextDatabasePane(*app).contains(QStringLiteral("ger.db")));
}

void StartupTest::qtDialogsSpeakTheEditorLanguage() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    fixture.EditorSettings().setValue(QStringLiteral("Editor Language"), QStringLiteral("French"));
    QVERIFY(fixture.Start());
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
    QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text().remove(u'&'), QStringLiteral("Oui"));
    fixture.Stop();

    fixture.EditorSettings().setValue(QStringLiteral("Editor Language"), QStringLiteral("German"));
    QVERIFY(fixture.Start());
    QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
             QStringLiteral("Abbrechen"));
    // Shut down, the program's translation goes with it.
    fixture.Stop();
    QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
             QStringLiteral("Cancel"));
}

void StartupTest::languageChoiceIsStoredAndAsksForRestart() {
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
    QCOMPARE(frame->Languages().size(), CMainMenus::kMaxLanguages);
    QCOMPARE(frame->LanguageMenu()->actions().size(), CMainMenus::kMaxLanguages);
}

void StartupTest::missingGameOffersTheFolderChoice() {
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

void StartupTest::unreadableDatabaseOpensAnEmptyEditorAfterSayingWhy() {
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

QTEST_MAIN(StartupTest)
// The editor as a user starts it from a terminal: --help and --version print and end, a wrong
// argument is said on standard error with status 2; none of them opens a window.
void StartupTest::helpVersionAndWrongArgumentsAnswerWithoutAWindow() {
    const QString program = QDir(qEnvironmentVariable("KESTREL_BIN_DIR")).filePath(QStringLiteral("kestrel"));
    QVERIFY2(QFile::exists(program), qPrintable(program));
    QTemporaryDir home;
    const auto run = [&](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        // A window or a message box would wait for a user: the process would not end.
        const bool ended = process.waitForFinished(20000);
        if (!ended) {
            process.kill();
            process.waitForFinished();
        }
        struct {
            bool ended;
            int status;
            QString out;
            QString err;
        } result{ended, process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                 QString::fromLocal8Bit(process.readAllStandardError())};
        return result;
    };
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const auto help = run({option});
        QVERIFY(help.ended);
        QCOMPARE(help.status, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Usage: kestrel ")), qPrintable(help.out));
        QVERIFY(help.out.contains(QStringLiteral("--game DIR")));
        QCOMPARE(help.err, QString());
    }
    const auto version = run({QStringLiteral("--version")});
    QVERIFY(version.ended);
    QCOMPARE(version.status, 0);
    QCOMPARE(version.out, QStringLiteral("Kestrel %1\n").arg(CKestrelApp::VersionText()));

    for (const QStringList& wrong :
         {QStringList{QStringLiteral("--frobnicate")},
          QStringList{QStringLiteral("--game-language"), QStringLiteral("x")},
          QStringList{QStringLiteral("stray")}}) {
        const auto result = run(wrong);
        QVERIFY2(result.ended, qPrintable(wrong.join(' ')));
        QCOMPARE(result.status, 2);
        QCOMPARE(result.out, QString());
        // Qt may warn first (no XDG_RUNTIME_DIR on a headless machine).
        QVERIFY2(result.err.contains(QStringLiteral("kestrel: ")), qPrintable(result.err));
        QVERIFY(result.err.contains(QStringLiteral("kestrel --help")));
    }
}

#include "StartupTest.moc"
