#include "CWarningSink.h"
#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "UserSteps.h"

#include "editor/app/CApplyPatchDialog.h"
#include "editor/app/CExportPatchDialog.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/database/CSha256.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"
#include "editor/model/COtherInstallation.h"
#include "editor/model/CPatch.h"
#include "editor/model/CPatchApply.h"
#include "editor/toolkit/CBaseChoice.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayerPage.h"
#include "editor/windows/CPlayersListModel.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CTeamFrame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

using namespace UserSteps;

namespace {

template <typename T> T* Named(QWidget* parent, const QString& name) {
    for (T* child : parent->findChildren<T*>()) {
        if (child->accessibleName() == name) {
            return child;
        }
    }
    return nullptr;
}

// Every row of a table as "cell|cell|...".
QStringList Rows(const QTableWidget* table) {
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
        }
        rows << cells.join(u'|');
    }
    return rows;
}

// The controls of a dialog a keyboard reaches that have no accessible name.
QStringList Unnamed(QWidget* dialog) {
    QStringList faults;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (widget->focusPolicy() != Qt::NoFocus && widget->isVisibleTo(dialog) &&
            widget->accessibleName().isEmpty()) {
            faults << widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName();
        }
    }
    return faults;
}

} // namespace

// File › Export Changes As Patch and File › Apply Patch as a user goes through them.
class PatchTest : public FreshEditorTest {
    Q_OBJECT

public:
    PatchTest() : FreshEditorTest(QSize(1100, 760)) {}

private:
    CGameDatabase& Db() { return *m_frame->Database(); }
    QAction* Action(const char* key) { return m_frame->ActionForKey(QString::fromLatin1(key)); }

    // The first team of a league with players: its window, opened from the league's list.
    CTeamFrame* OpenSomeTeam() {
        for (const auto& [leagueId, league] : Db().Leagues()) {
            for (int32_t teamId : Db().TeamsOfLeague(leagueId)) {
                if (Db().PlayersOfTeam(teamId).size() >= 2) {
                    m_team = teamId;
                    return OpenTeamFromLeague(*m_frame, leagueId, teamId);
                }
            }
        }
        return nullptr;
    }
    // The player of the squad's first row, opened by a double click.
    CPlayerFrame* OpenFirstPlayer(CTeamFrame* team) {
        DoubleClickRow(team->SquadList(), 0);
        return qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    }
    // Types names into the player window and applies them.
    static bool Rename(CPlayerFrame* player, const QString& first, const QString& last) {
        QLineEdit* firstBox = Named<QLineEdit>(player->Page(0), QStringLiteral("First name"));
        QLineEdit* lastBox = Named<QLineEdit>(player->Page(0), QStringLiteral("Last name"));
        QLineEdit* common = Named<QLineEdit>(player->Page(0), QStringLiteral("Common name"));
        if (!firstBox || !lastBox || !common) {
            return false;
        }
        Retype(common, QString());
        Retype(firstBox, first);
        Retype(lastBox, last);
        QTest::mouseClick(player->Page(0)->ApplyButton(), Qt::LeftButton);
        return true;
    }
    // The squad list's name cell of the player.
    static QString SquadName(CTeamFrame* team, int32_t playerId) {
        CPlayersListModel* model = team->SquadList()->Model();
        return model->index(model->RowOf(playerId), CPlayersListModel::NameColumn).data().toString();
    }
    // A patch giving the player these names (and another player, when given, a new last
    // name), made from the installation's database as saved.
    QString WritePatch(int32_t playerId, const std::string& first, const std::string& last,
                       int32_t otherId = 0) {
        CWarningSink sink;
        CGameDatabase base, changed;
        const std::string db = m_fixture->DatabasePath().toStdString();
        const std::string texts = m_fixture->TextDbPath().toStdString();
        if (!base.LoadGameDatabase(db, texts, sink) || !changed.LoadGameDatabase(db, texts, sink)) {
            return {};
        }
        CPlayer* player = changed.FindPlayer(playerId);
        if (!player) {
            return {};
        }
        player->SetFirstName(first);
        player->SetLastName(last);
        player->SetCommonName({});
        if (CPlayer* other = changed.FindPlayer(otherId)) {
            other->SetLastName("Elsewhere");
        }
        CPatch patch;
        std::string error;
        const QString path = m_dir.filePath(QStringLiteral("names.kpatch"));
        return CPatch::Make(base, db, changed, "names", patch, error) &&
                       patch.WriteFile(path.toStdString(), error)
                   ? path
                   : QString();
    }
    // File › Apply Patch with that file; `preview` acts on the preview when one shows.
    void ApplyPatchFile(const QString& path, const std::function<void(CApplyPatchDialog*)>& preview) {
        WhenModalShown([path, preview](QDialog* dialog) {
            if (preview) {
                WhenModalShown([preview](QDialog* shown) {
                    auto* apply = qobject_cast<CApplyPatchDialog*>(shown);
                    QVERIFY(apply);
                    preview(apply);
                });
            }
            AnswerFileDialog(dialog, path);
        });
        Action("Menu_FileApplyPatch")->trigger();
    }

    // A copy of the installation whose database `edit` changed, saved with our own saver.
    QString EditedInstallation(const QString& name, const std::function<void(CGameDatabase&)>& edit) {
        const QString folder = m_dir.filePath(name);
        if (!EditorFixture::CopyFolder(m_fixture->GameFolder(), folder)) {
            return {};
        }
        CWarningSink sink;
        CGameDatabase db;
        const auto loaded = COtherInstallation::Load(folder.toStdString(), 0, db, sink);
        if (!loaded.Ok()) {
            return {};
        }
        edit(db);
        const CGameInstallation installation(folder.toStdString(), 0);
        return db.SaveGameDatabase(loaded.dbPath, installation.TextDatabasePath()->string(), sink)
                   ? folder
                   : QString();
    }

    QTemporaryDir m_dir;
    int32_t m_team = 0;

private slots:
    void exportedChangesApplyOnAnotherCopyAndUndoAsOneStep();
    void exportAgainstAnotherInstallationHoldsExactlyItsDifferences();
    void conflictsTakeTheChosenSide();
    void aDamagedPatchIsRefusedWithItsLine();
};

void PatchTest::exportedChangesApplyOnAnotherCopyAndUndoAsOneStep() {
    const QString other = m_dir.filePath(QStringLiteral("other"));
    QVERIFY(EditorFixture::CopyFolder(m_fixture->GameFolder(), other));
    QVERIFY(Action("Menu_FileExportPatch")->isEnabled());
    QVERIFY(Action("Menu_FileApplyPatch")->isEnabled());

    CTeamFrame* team = OpenSomeTeam();
    QVERIFY(team);
    CPlayerFrame* player = OpenFirstPlayer(team);
    QVERIFY(player);
    const int32_t id = player->PlayerId();
    const std::string oldLast = Db().FindPlayer(id)->LastName();
    QVERIFY(Rename(player, QStringLiteral("Ansel"), QStringLiteral("Patchwork")));
    // The first save keeps the original: the export's default base.
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!m_frame->isWindowModified());

    const QString file = m_dir.filePath(QStringLiteral("mine"));
    WhenModalShown([file](QDialog* dialog) {
        auto* exporter = qobject_cast<CExportPatchDialog*>(dialog);
        QVERIFY(exporter);
        QVERIFY(exporter->BaseChoice()->OriginalChoice()->isChecked());
        QVERIFY(!exporter->BaseChoice()->FolderEdit()->isEnabled());
        QVERIFY2(Unnamed(exporter).isEmpty(), qPrintable(Unnamed(exporter).join(u'\n')));
        exporter->DescriptionEdit()->setFocus();
        QTest::keyClicks(exporter->DescriptionEdit(), QStringLiteral("New surname"));
        WhenModalShown([file](QDialog* save) { AnswerFileDialog(save, file); });
        QTest::mouseClick(exporter->OkButton(), Qt::LeftButton);
    });
    Action("Menu_FileExportPatch")->trigger();
    // The extension is added; the status bar counts the records.
    const QString written = file + QStringLiteral(".kpatch");
    QVERIFY(QFile::exists(written));
    bool statusSaid = false;
    for (QLabel* label : m_frame->statusBar()->findChildren<QLabel*>()) {
        statusSaid = statusSaid || label->text().contains(QStringLiteral("1 record written"));
    }
    QVERIFY(statusSaid);

    // Another copy of the installation, as it was before the edit.
    CKestrelApp* app = m_fixture->Start({QStringLiteral("--game"), other, QStringLiteral("--no-game")});
    QVERIFY(app);
    m_frame = app->MainFrame();
    m_frame->resize(1100, 760);
    m_frame->show();
    QVERIFY(Activate(m_frame));
    QCOMPARE(Db().FindPlayer(id)->LastName(), oldLast);
    team = OpenSomeTeam();
    QVERIFY(team);
    QVERIFY(!SquadName(team, id).contains(QStringLiteral("Patchwork")));

    bool previewed = false;
    ApplyPatchFile(written, [&previewed](CApplyPatchDialog* preview) {
        previewed = true;
        QVERIFY(!preview->ConflictsTable()->isVisible());
        const QStringList rows = Rows(preview->ChangesTable());
        QVERIFY2(rows.filter(QStringLiteral("Patchwork")).size() == 1, qPrintable(rows.join(u'\n')));
        QVERIFY(rows.filter(QStringLiteral("Ansel")).size() == 1);
        QVERIFY(preview->findChild<QLabel*>(QStringLiteral("patchDescriptionShown"))
                    ->text()
                    .contains(QStringLiteral("New surname")));
        QTest::mouseClick(preview->ApplyButton(), Qt::LeftButton);
    });
    QVERIFY(previewed);
    QCOMPARE(Db().FindPlayer(id)->LastName(), std::string("Patchwork"));
    QCOMPARE(Db().FindPlayer(id)->FirstName(), std::string("Ansel"));
    QVERIFY(SquadName(team, id).contains(QStringLiteral("Patchwork")));
    QCOMPARE(m_frame->Document().UndoStack().count(), 1);
    QVERIFY(m_frame->isWindowModified());
    // Applying does not save.
    CWarningSink sink;
    CGameDatabase onDisk;
    QVERIFY(onDisk.LoadGameDatabase(m_frame->Document().FilePath().toStdString(),
                                    m_frame->Document().TextDbPath().toStdString(), sink));
    QCOMPARE(onDisk.FindPlayer(id)->LastName(), oldLast);

    // Back in the main window once the dialogs are gone, Ctrl+Z in the squad list takes the
    // whole patch back.
    QVERIFY(Activate(m_frame));
    team->SquadList()->setFocus();
    QTest::keyClick(team->SquadList(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Db().FindPlayer(id)->LastName(), oldLast);
    QVERIFY(!SquadName(team, id).contains(QStringLiteral("Patchwork")));
    QVERIFY(!m_frame->isWindowModified());
    QTest::keyClick(team->SquadList(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Db().FindPlayer(id)->LastName(), std::string("Patchwork"));
}

void PatchTest::conflictsTakeTheChosenSide() {
    CTeamFrame* team = OpenSomeTeam();
    QVERIFY(team);
    CPlayerFrame* player = OpenFirstPlayer(team);
    QVERIFY(player);
    const int32_t id = player->PlayerId();
    int32_t otherId = 0;
    for (int32_t squadPlayer : Db().PlayersOfTeam(m_team)) {
        otherId = squadPlayer != id ? squadPlayer : otherId;
    }
    const QString patch = WritePatch(id, "Theirfirst", "Theirlast", otherId);
    QVERIFY(!patch.isEmpty());
    // Both names changed here too, differently: two conflicts.
    QVERIFY(Rename(player, QStringLiteral("Ourfirst"), QStringLiteral("Ourlast")));

    ApplyPatchFile(patch, [](CApplyPatchDialog* preview) {
        QTableWidget* conflicts = preview->ConflictsTable();
        QVERIFY(conflicts->isVisible());
        QCOMPARE(conflicts->rowCount(), 2);
        QVERIFY2(Unnamed(preview).isEmpty(), qPrintable(Unnamed(preview).join(u'\n')));
        // Everything taken as theirs, then the last name kept as ours by keys alone.
        QTest::mouseClick(preview->AllTheirsButton(), Qt::LeftButton);
        int lastRow = -1;
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(preview->Choice(row)->currentIndex(), int(CApplyPatchDialog::Theirs));
            if (conflicts->item(row, 5)->text() == QStringLiteral("Theirlast")) {
                lastRow = row;
            }
        }
        QVERIFY(lastRow >= 0);
        QCOMPARE(conflicts->item(lastRow, 4)->text(), QStringLiteral("Ourlast"));
        QComboBox* keep = preview->Choice(lastRow);
        QVERIFY(!keep->accessibleName().isEmpty());
        keep->setFocus();
        QTest::keyClick(keep, Qt::Key_Up);
        QCOMPARE(keep->currentIndex(), int(CApplyPatchDialog::Ours));
        QVERIFY(Rows(preview->ChangesTable()).filter(QStringLiteral("Elsewhere")).size() == 1);
        QTest::mouseClick(preview->ApplyButton(), Qt::LeftButton);
    });
    QCOMPARE(Db().FindPlayer(id)->FirstName(), std::string("Theirfirst"));
    QCOMPARE(Db().FindPlayer(id)->LastName(), std::string("Ourlast"));
    QCOMPARE(Db().FindPlayer(otherId)->LastName(), std::string("Elsewhere"));
    QVERIFY(SquadName(team, id).contains(QStringLiteral("Ourlast")));

    // Undone: our own edit is back. All ours keeps both names and takes only the clean change.
    m_frame->Document().UndoStack().undo();
    QCOMPARE(Db().FindPlayer(id)->FirstName(), std::string("Ourfirst"));
    QVERIFY(Db().FindPlayer(otherId)->LastName() != "Elsewhere");
    ApplyPatchFile(patch, [](CApplyPatchDialog* preview) {
        QTest::mouseClick(preview->AllOursButton(), Qt::LeftButton);
        QTest::mouseClick(preview->ApplyButton(), Qt::LeftButton);
    });
    QCOMPARE(Db().FindPlayer(id)->FirstName(), std::string("Ourfirst"));
    QCOMPARE(Db().FindPlayer(id)->LastName(), std::string("Ourlast"));
    QCOMPARE(Db().FindPlayer(otherId)->LastName(), std::string("Elsewhere"));
    QCOMPARE(m_frame->Document().UndoStack().count(), 1);
}

void PatchTest::aDamagedPatchIsRefusedWithItsLine() {
    const int32_t id = Db().Players().begin()->first;
    const QString path = WritePatch(id, "Some", "Name");
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    QVERIFY(text.contains("\"last_name\""));
    text.replace("\"last_name\"", "\"no_such_field\"");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();

    m_fixture->prompts.clear();
    ApplyPatchFile(path, {});
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY2(m_fixture->prompts.front().startsWith(QStringLiteral("warn: ")) &&
                 m_fixture->prompts.front().contains(QStringLiteral("line ")) &&
                 m_fixture->prompts.front().contains(QStringLiteral("no_such_field")),
             qPrintable(m_fixture->prompts.front()));
    QVERIFY(!m_frame->Document().UndoStack().canUndo());
    QVERIFY(!m_frame->isWindowModified());
}

void PatchTest::exportAgainstAnotherInstallationHoldsExactlyItsDifferences() {
    // The other installation differs from the loaded one in a player's field, a team's name
    // and a player without a team that it does not have.
    int32_t player = 0, team = 0, missing = 0;
    for (const auto& [id, record] : Db().Players()) {
        (record.Teams().empty() ? missing : player) = id;
    }
    QVERIFY(player && missing);
    team = Db().Teams().begin()->first;
    const QString base = EditedInstallation(QStringLiteral("base"), [&](CGameDatabase& db) {
        CPlayer& p = *db.FindPlayer(player);
        p.SetValue(EPlayerColumn::Stamina, p.Value(EPlayerColumn::Stamina) == 40 ? 41 : 40);
        db.FindTeam(team)->SetName("Basefield Athletic");
        db.DeletePlayers(std::vector<int32_t>{missing});
    });
    QVERIFY(!base.isEmpty());
    CWarningSink sink;
    CGameDatabase there;
    const auto baseLoaded = COtherInstallation::Load(base.toStdString(), 0, there, sink);
    QVERIFY(baseLoaded.Ok());
    QVERIFY(!there.FindPlayer(missing));
    const auto expected = CFieldDiff::Compare(there, Db());
    QCOMPARE(expected.size(), size_t(3));

    // Another installation chosen with the mouse, its folder with Browse.
    const QString file = m_dir.filePath(QStringLiteral("against-base.kpatch"));
    bool exported = false;
    WhenModalShown([&](QDialog* dialog) {
        auto* exporter = qobject_cast<CExportPatchDialog*>(dialog);
        QVERIFY(exporter);
        QRadioButton* other = exporter->BaseChoice()->InstallationChoice();
        QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(8, other->height() / 2));
        QVERIFY(other->isChecked() && exporter->BaseChoice()->FolderEdit()->isEnabled());
        QVERIFY(!exporter->OkButton()->isEnabled());
        WhenModalShown([&](QDialog* folders) { AnswerFileDialog(folders, base); });
        QTest::mouseClick(exporter->BaseChoice()->BrowseButton(), Qt::LeftButton);
        QCOMPARE(QDir::fromNativeSeparators(exporter->BaseChoice()->FolderEdit()->text()), base);
        QVERIFY(exporter->OkButton()->isEnabled());
        WhenModalShown([&](QDialog* save) {
            AnswerFileDialog(save, file);
            exported = true;
        });
        QTest::mouseClick(exporter->OkButton(), Qt::LeftButton);
    });
    QVERIFY(UserSteps::ChooseMenuCommand(*m_frame, "Menu_FileExportPatch"));
    QVERIFY(exported);
    QVERIFY2(m_fixture->prompts.isEmpty(), qPrintable(m_fixture->prompts.join(u'\n')));

    CPatch patch;
    std::string error;
    QVERIFY2(CPatch::ReadFile(file.toStdString(), patch, error), error.c_str());
    QCOMPARE(patch.changes, expected);
    std::string digestError;
    const auto digest = CSha256::OfFile(baseLoaded.dbPath, digestError);
    QVERIFY(digest);
    QCOMPARE(patch.header.baseSha256, digest->sha256);
    // Applied to that installation's database, it gives the loaded one, field by field.
    const CPatchApply::SResult applied = CPatchApply::Apply(there, patch, {});
    QVERIFY(applied.ok && applied.conflicts.empty());
    QVERIFY(CFieldDiff::Compare(there, Db()).empty());
    QCOMPARE(there.FindPlayer(missing)->LastName(), Db().FindPlayer(missing)->LastName());

    // A folder without a game database, typed: refused, saying so, and nothing written.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("empty")));
    const QString empty = m_dir.filePath(QStringLiteral("empty"));
    const auto files = [this] { return QDir(m_dir.path()).entryList(QDir::Files); };
    const QStringList before = files();
    m_fixture->prompts.clear();
    bool asked = false;
    WhenModalShown([&](QDialog* dialog) {
        auto* exporter = qobject_cast<CExportPatchDialog*>(dialog);
        QVERIFY(exporter);
        QRadioButton* other = exporter->BaseChoice()->InstallationChoice();
        QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(8, other->height() / 2));
        Retype(exporter->BaseChoice()->FolderEdit(), empty);
        QTest::mouseClick(exporter->OkButton(), Qt::LeftButton);
        asked = true;
    });
    // A save dialog would mean the export went on: it is closed and remembered.
    bool savePrompted = false;
    QTimer guard;
    connect(&guard, &QTimer::timeout, this, [&savePrompted] {
        if (auto* save = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            savePrompted = true;
            save->reject();
        }
    });
    guard.start(20);
    QVERIFY(UserSteps::ChooseMenuCommand(*m_frame, "Menu_FileExportPatch"));
    guard.stop();
    QVERIFY(asked);
    QVERIFY(!savePrompted);
    QCOMPARE(m_fixture->prompts.size(), 1);
    const QString said = m_fixture->prompts.front();
    QVERIFY2(said.startsWith(QStringLiteral("warn: ")) && said.contains(QDir::toNativeSeparators(empty)) &&
                 said.contains(QStringLiteral("data/cmn/corvid.db")),
             qPrintable(said));
    QCOMPARE(files(), before);
    QVERIFY(QDir(empty).isEmpty());
}

QTEST_MAIN(PatchTest)
#include "PatchTest.moc"
