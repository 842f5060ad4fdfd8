#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"
#include "UserSteps.h"

#include "editor/app/CDatabaseSafety.h"
#include "editor/app/CFindingsWindow.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/database/CInstallationLock.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CTeamFrame.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using SavedFiles::Bytes;

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

// In the restore dialog: clicks the first (newest) backup of file and Restore; the text shown
// about it.
QString RestoreNewestCopyOf(QDialog* dialog, const QString& file) {
    auto* view = dialog->findChild<QTableView*>(QStringLiteral("backupsView"));
    auto* restore = dialog->findChild<QPushButton*>(QStringLiteral("restoreButton"));
    if (!view || !restore)
        return {};
    int row = 0;
    while (row < view->model()->rowCount() && view->model()->index(row, 1).data() != file)
        ++row;
    if (row == view->model()->rowCount())
        return {};
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(row, 0)).center());
    const QString differences =
        dialog->findChild<QLabel*>(QStringLiteral("backupDifferences"))->text();
    QTest::mouseClick(restore, Qt::LeftButton);
    return differences;
}

} // namespace

class SafetyTest : public FreshEditorTest {
    Q_OBJECT

private slots:
    void checkDatabaseListsFindingsAndOpensTheirRecords();
    void saveWithErrorsAsksFirst();
    void restoreDialogShowsDifferencesAndRestores();
    void restoreDialogRestoresAnArchiveAndKeepsUnsavedEdits();
    void saveWaitsBrieflyForAnotherWriterThenSaysSo();
    void backupWarningsShowWithTheSaveAndTheRestore();
};

void SafetyTest::checkDatabaseListsFindingsAndOpensTheirRecords() {
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));

    QTest::keyClick(m_frame, Qt::Key_F7);
    CFindingsWindow* window = m_frame->Safety()->FindingsWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->View()->model()->rowCount(), 0); // the sample is sound

    const int team = BreakATeam(*m_frame->Database());
    QTest::keyClick(m_frame, Qt::Key_F7);
    QTableView* view = window->View();
    QCOMPARE(view->model()->rowCount(), 1);
    QCOMPARE(view->model()->index(0, 2).data().toString(),
             QString::fromStdString(m_frame->Database()->FindTeam(team)->Name()));
    QVERIFY(view->model()->index(0, 4).data().toString().contains(QStringLiteral("1000")));
    QCOMPARE(view->model()->index(0, 3).data().toString(), QString());
    QVERIFY(!view->accessibleName().isEmpty());

    // A player's value out of its column's range names the field as users know it.
    CGameDatabase& db = *m_frame->Database();
    const int height = static_cast<int>(EPlayerColumn::Height);
    const int32_t player = db.Players().begin()->first;
    const int32_t before = db.FindPlayer(player)->ColumnValue(height);
    db.FindPlayer(player)->SetValue(EPlayerColumn::Height,
                                    db.Catalogue().FindTable("players")->ColumnHigh(height) + 1);
    QTest::keyClick(m_frame, Qt::Key_F7);
    QCOMPARE(view->model()->rowCount(), 2);
    QCOMPARE(view->model()->index(0, 3).data().toString(), QStringLiteral("Height"));
    db.FindPlayer(player)->SetValue(EPlayerColumn::Height, before);
    QTest::keyClick(m_frame, Qt::Key_F7);
    QCOMPARE(view->model()->rowCount(), 1);

    DoubleClickRow(view, 0);
    const auto teams = m_frame->findChildren<CTeamFrame*>();
    QVERIFY(std::any_of(teams.begin(), teams.end(),
                        [&](const CTeamFrame* f) { return f->TeamId() == team; }));
}

void SafetyTest::saveWithErrorsAsksFirst() {
    const QByteArray before = Bytes(m_fixture->DatabasePath());
    BreakATeam(*m_frame->Database());
    QAction* save = m_frame->ActionForKey(QStringLiteral("Menu_FileSaveDB"));

    m_fixture->answer = CUserPrompts::Answer::Cancel;
    save->trigger();
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.last().startsWith(QStringLiteral("saveanyway: ")));
    QCOMPARE(Bytes(m_fixture->DatabasePath()), before);
    QVERIFY(m_frame->isWindowModified());

    m_fixture->answer = CUserPrompts::Answer::ShowProblems;
    save->trigger();
    QVERIFY(m_frame->Safety()->FindingsWindow() &&
            m_frame->Safety()->FindingsWindow()->isVisible());
    QCOMPARE(m_frame->Safety()->FindingsWindow()->View()->model()->rowCount(), 1);
    QCOMPARE(Bytes(m_fixture->DatabasePath()), before);

    m_fixture->answer = CUserPrompts::Answer::Save;
    save->trigger();
    QVERIFY(Bytes(m_fixture->DatabasePath()) != before);
    QVERIFY(!m_frame->isWindowModified());
    // The file as it was went to the backups first.
    const CBackupStore store(CBackupStore::FolderFor(m_fixture->DatabasePath().toStdString()));
    const auto copies = store.List("corvid.db");
    QCOMPARE(copies.size(), size_t{1});
    QCOMPARE(Bytes(QString::fromStdString((store.Folder() / copies[0].name).string())), before);
}

void SafetyTest::restoreDialogShowsDifferencesAndRestores() {
    CGameDatabase* db = m_frame->Database();
    const QByteArray original = Bytes(m_fixture->DatabasePath());
    const int player = db->Players().begin()->first;
    const std::string name = db->FindPlayer(player)->LastName();
    db->FindPlayer(player)->SetLastName("Restorable");
    db->MarkDirty();
    QVERIFY(m_frame->SaveDatabase());
    db->FindPlayer(player)->SetLastName("Unsaved");
    db->MarkDirty();

    QString differences;
    bool restoreEnabledBefore = true;
    WhenModalShown([&](QDialog* dialog) {
        auto* restore = dialog->findChild<QPushButton*>(QStringLiteral("restoreButton"));
        QVERIFY(restore);
        restoreEnabledBefore = restore->isEnabled();
        // Newest first: the copy of the database, then that of the texts.
        differences = RestoreNewestCopyOf(dialog, QStringLiteral("corvid.db"));
    });
    m_fixture->answer = CUserPrompts::Answer::Discard;
    m_frame->ActionForKey(QStringLiteral("Menu_FileRestoreBackup"))->trigger();

    QVERIFY(!restoreEnabledBefore);
    QVERIFY2(differences.contains(QStringLiteral("0 added, 0 removed, 1 changed")),
             qPrintable(differences));
    QVERIFY(m_fixture->prompts.size() >= 2);
    QVERIFY(m_fixture->prompts[m_fixture->prompts.size() - 2].startsWith(QStringLiteral("save: ")));
    QVERIFY(m_fixture->prompts.last().startsWith(QStringLiteral("inform: ")));
    QCOMPARE(Bytes(m_fixture->DatabasePath()), original);
    db = m_frame->Database();
    QCOMPARE(db->FindPlayer(player)->LastName(), name);
    QVERIFY(!m_frame->isWindowModified());
}

// An archive's copy is listed with the database's; restoring it touches no record, so the
// unsaved edits stay and nothing is asked about them.
void SafetyTest::restoreDialogRestoresAnArchiveAndKeepsUnsavedEdits() {
    CGameDatabase* db = m_frame->Database();
    const QString archive = m_fixture->GameFolder() + QStringLiteral("/data/zdata_05.big");
    const QByteArray original = Bytes(archive);
    QVERIFY(!original.isEmpty());
    const CBackupStore store(m_frame->BackupFolder());
    std::string made, error;
    QVERIFY2(store.Backup(archive.toStdString(), m_frame->BackupCount(), made, error),
             error.c_str());
    QFile changed(archive);
    QVERIFY(changed.open(QIODevice::Append));
    changed.write("later import");
    changed.close();
    const int player = db->Players().begin()->first;
    db->FindPlayer(player)->SetLastName("Unsaved");
    db->MarkDirty();

    QString differences;
    WhenModalShown([&](QDialog* dialog) {
        differences = RestoreNewestCopyOf(dialog, QStringLiteral("zdata_05.big"));
    });
    m_frame->ActionForKey(QStringLiteral("Menu_FileRestoreBackup"))->trigger();

    QVERIFY2(differences.contains(QStringLiteral("zdata_05.big")), qPrintable(differences));
    QCOMPARE(Bytes(archive), original);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY2(m_fixture->prompts.last().startsWith(QStringLiteral("inform: ")),
             qPrintable(m_fixture->prompts.last()));
    // The archive as it was before the restore is a backup of its own, to undo the restore.
    QCOMPARE(store.List("zdata_05.big").size(), size_t{2});
    QCOMPARE(m_frame->Database(), db);
    QCOMPARE(db->FindPlayer(player)->LastName(), std::string("Unsaved"));
    QVERIFY(db->IsDirty());
}

// Another program (here another thread) writes the game: Ctrl+S waits a moment, then says so
// and writes nothing; the edits stay unsaved until a later save goes through.
void SafetyTest::saveWaitsBrieflyForAnotherWriterThenSaysSo() {
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
    const QByteArray before = Bytes(m_fixture->DatabasePath());
    CGameDatabase* db = m_frame->Database();
    db->FindPlayer(db->Players().begin()->first)->SetLastName("Locked Out");
    db->MarkDirty();

    const std::filesystem::path folder =
        std::filesystem::path(m_fixture->DatabasePath().toStdString()).parent_path();
    std::atomic<int> state = 0; // 1: held, 2: let go
    std::thread holder([&] {
        CInstallationLock lock;
        std::string error;
        if (!lock.Acquire(folder, std::chrono::milliseconds(0), error))
            return;
        state = 1;
        while (state != 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    while (state == 0 && holder.joinable())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto wait = CInstallationLock::DefaultWait();
    CInstallationLock::SetDefaultWait(std::chrono::milliseconds(200));

    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    state = 2;
    holder.join();
    CInstallationLock::SetDefaultWait(wait);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY2(m_fixture->prompts.last().startsWith(
                 QStringLiteral("warn: Another program is writing the game's files, so nothing "
                                "was saved.")),
             qPrintable(m_fixture->prompts.last()));
    QVERIFY(m_fixture->prompts.last().contains(QStringLiteral("within 0.2 seconds")));
    QCOMPARE(Bytes(m_fixture->DatabasePath()), before);
    QVERIFY(m_frame->isWindowModified());

    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(Bytes(m_fixture->DatabasePath()) != before);
    QVERIFY(!m_frame->isWindowModified());
}

// A stray side file too large to be a backup's: the save and the restore go through and say so
// with their outcome, in the status bar (its tool tip lists the warnings) and the message.
void SafetyTest::backupWarningsShowWithTheSaveAndTheRestore() {
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame));
    const std::filesystem::path backups = m_frame->BackupFolder();
    std::filesystem::create_directories(backups);
    std::ofstream(backups / "stray_corvid.db", std::ios::binary) << "x";
    std::ofstream(backups / "stray_corvid.db.json", std::ios::binary)
        << std::string(CBackupStore::kMaxSideFileBytes + 1, ' ');
    CGameDatabase* db = m_frame->Database();
    db->FindPlayer(db->Players().begin()->first)->SetLastName("Warned");
    db->MarkDirty();

    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());
    QVERIFY(m_fixture->prompts.isEmpty());
    const QLabel* status = m_frame->statusBar()->findChild<QLabel*>(QStringLiteral("StatusPane"));
    QVERIFY(status);
    QVERIFY2(status->text().startsWith(
                 QStringLiteral("The database has been saved, but the backups folder needs "
                                "attention: skipped the backup side file")),
             qPrintable(status->text()));
    QVERIFY(status->text().contains(QStringLiteral("stray_corvid.db.json")));
    QVERIFY(status->toolTip().contains(QStringLiteral("stray_corvid.db.json: it is larger than")));

    WhenModalShown(
        [](QDialog* dialog) { RestoreNewestCopyOf(dialog, QStringLiteral("corvid.db")); });
    m_frame->ActionForKey(QStringLiteral("Menu_FileRestoreBackup"))->trigger();
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY2(
        m_fixture->prompts.last().startsWith(QStringLiteral("inform: The backup was restored")),
        qPrintable(m_fixture->prompts.last()));
    QVERIFY(m_fixture->prompts.last().contains(
        QStringLiteral("The backups folder needs attention:\nskipped the backup side file")));

    // The stray file gone, a save says no more than that it saved.
    std::filesystem::remove(backups / "stray_corvid.db.json");
    db = m_frame->Database();
    db->FindPlayer(db->Players().begin()->first)->SetLastName("Quiet");
    db->MarkDirty();
    QVERIFY(UserSteps::Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(status->text(), m_frame->Text("Message_Saved"));
    QVERIFY(status->toolTip().isEmpty());
}

QTEST_MAIN(SafetyTest)
#include "SafetyTest.moc"
