#include "EditorFixture.h"
#include "ModalDialogs.h"

#include "editor/app/CDatabaseSafety.h"
#include "editor/app/CFindingsWindow.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CTeamFrame.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Breaks one team of the sample: its stadium does not exist.
int BreakATeam(CGameDatabase& db) {
    const int team = db.Teams().begin()->first;
    db.FindTeam(team)->SetValue(ETeamColumn::StadiumId, 1000);
    db.MarkDirty();
    return team;
}

void DoubleClickRow(QTableView* view, int row) {
    const QRect rect = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class SafetyTest : public QObject {
    Q_OBJECT

private slots:
    void checkDatabaseListsFindingsAndOpensTheirRecords();
    void saveWithErrorsAsksFirst();
    void restoreDialogShowsDifferencesAndRestores();
};

void SafetyTest::checkDatabaseListsFindingsAndOpensTheirRecords() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));

    QTest::keyClick(frame, Qt::Key_F7);
    CFindingsWindow* window = frame->Safety()->FindingsWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->View()->model()->rowCount(), 0); // the sample is sound

    const int team = BreakATeam(*frame->Database());
    QTest::keyClick(frame, Qt::Key_F7);
    QTableView* view = window->View();
    QCOMPARE(view->model()->rowCount(), 1);
    QCOMPARE(view->model()->index(0, 2).data().toString(),
             QString::fromStdString(frame->Database()->FindTeam(team)->Name()));
    QVERIFY(view->model()->index(0, 3).data().toString().contains(QStringLiteral("1000")));
    QVERIFY(!view->accessibleName().isEmpty());

    DoubleClickRow(view, 0);
    const auto teams = frame->findChildren<CTeamFrame*>();
    QVERIFY(std::any_of(teams.begin(), teams.end(),
                        [&](const CTeamFrame* f) { return f->TeamId() == team; }));
}

void SafetyTest::saveWithErrorsAsksFirst() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    const QByteArray before = ReadFile(fixture.DatabasePath());
    BreakATeam(*frame->Database());
    QAction* save = frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"));

    fixture.answer = CUserPrompts::Answer::Cancel;
    save->trigger();
    QCOMPARE(fixture.prompts.size(), 1);
    QVERIFY(fixture.prompts.last().startsWith(QStringLiteral("saveanyway: ")));
    QCOMPARE(ReadFile(fixture.DatabasePath()), before);
    QVERIFY(frame->isWindowModified());

    fixture.answer = CUserPrompts::Answer::ShowProblems;
    save->trigger();
    QVERIFY(frame->Safety()->FindingsWindow() && frame->Safety()->FindingsWindow()->isVisible());
    QCOMPARE(frame->Safety()->FindingsWindow()->View()->model()->rowCount(), 1);
    QCOMPARE(ReadFile(fixture.DatabasePath()), before);

    fixture.answer = CUserPrompts::Answer::Save;
    save->trigger();
    QVERIFY(ReadFile(fixture.DatabasePath()) != before);
    QVERIFY(!frame->isWindowModified());
    // The file as it was went to the backups first.
    const CBackupStore store(CBackupStore::FolderFor(fixture.DatabasePath().toStdString()));
    const auto copies = store.List("corvid.db");
    QCOMPARE(copies.size(), size_t{1});
    QCOMPARE(ReadFile(QString::fromStdString((store.Folder() / copies[0].name).string())), before);
}

void SafetyTest::restoreDialogShowsDifferencesAndRestores() {
    EditorFixture fixture;
    QVERIFY(fixture.IsValid());
    CMainFrame* frame = fixture.Start()->MainFrame();
    CGameDatabase* db = frame->Database();
    const QByteArray original = ReadFile(fixture.DatabasePath());
    const int player = db->Players().begin()->first;
    const std::string name = db->FindPlayer(player)->LastName();
    db->FindPlayer(player)->SetLastName("Restorable");
    db->MarkDirty();
    QVERIFY(frame->SaveDatabase());
    db->FindPlayer(player)->SetLastName("Unsaved");
    db->MarkDirty();

    QString differences;
    bool restoreEnabledBefore = true;
    WhenModalShown([&](QDialog* dialog) {
        auto* view = dialog->findChild<QTableView*>(QStringLiteral("backupsView"));
        auto* restore = dialog->findChild<QPushButton*>(QStringLiteral("restoreButton"));
        QVERIFY(view && restore);
        restoreEnabledBefore = restore->isEnabled();
        // Newest first: the copy of the database, then that of the texts.
        int row = 0;
        while (row < view->model()->rowCount() &&
               view->model()->index(row, 1).data().toString() != QStringLiteral("corvid.db"))
            ++row;
        QVERIFY(row < view->model()->rowCount());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
        differences = dialog->findChild<QLabel*>(QStringLiteral("backupDifferences"))->text();
        QTest::mouseClick(restore, Qt::LeftButton);
    });
    fixture.answer = CUserPrompts::Answer::Discard;
    frame->ActionForKey(QStringLiteral("Menu_FileRestoreBackup"))->trigger();

    QVERIFY(!restoreEnabledBefore);
    QVERIFY2(differences.contains(QStringLiteral("0 added, 0 removed, 1 changed")),
             qPrintable(differences));
    QVERIFY(fixture.prompts.size() >= 2);
    QVERIFY(fixture.prompts[fixture.prompts.size() - 2].startsWith(QStringLiteral("save: ")));
    QVERIFY(fixture.prompts.last().startsWith(QStringLiteral("inform: ")));
    QCOMPARE(ReadFile(fixture.DatabasePath()), original);
    db = frame->Database();
    QCOMPARE(db->FindPlayer(player)->LastName(), name);
    QVERIFY(!frame->isWindowModified());
}

QTEST_MAIN(SafetyTest)
#include "SafetyTest.moc"
