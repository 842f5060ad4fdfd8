#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "UserSteps.h"

#include "editor/app/CCompareSourceDialog.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/assets/CPictureImport.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/assets/InstallPath.h"
#include "editor/database/CMessageSink.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"
#include "editor/model/COtherInstallation.h"
#include "editor/model/CTeamKit.h"
#include "editor/toolkit/CBaseChoice.h"
#include "editor/windows/CCompareFrame.h"
#include "editor/windows/CCompareModel.h"
#include "editor/windows/CImportTeamDialog.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QUndoStack>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

using namespace UserSteps;

namespace {

const QString kImportedName = QStringLiteral("Wrenfield Rovers");

// A copy of the fixture's installation beside it, changed by `edit` and saved with our own
// loader and saver.
QString EditedCopy(EditorFixture& fixture, QTemporaryDir& dir,
                   const std::function<void(CGameDatabase&)>& edit) {
    const std::filesystem::path to = dir.filePath(QStringLiteral("other")).toStdString();
    std::error_code ec;
    std::filesystem::copy(fixture.GameFolder().toStdString(), to,
                          std::filesystem::copy_options::recursive, ec);
    if (ec) {
        return {};
    }
    CGameDatabase db;
    CIgnoringSink sink;
    if (!COtherInstallation::Load(to.string(), 0, db, sink).Ok()) {
        return {};
    }
    edit(db);
    const CGameInstallation installation(to, 0);
    if (!db.SaveGameDatabase(installation.DatabasePath()->string(),
                             installation.TextDatabasePath()->string(), sink)) {
        return {};
    }
    return QString::fromStdString(to.string());
}

// A player of a team, the first the database lists.
int32_t SquadPlayer(const CGameDatabase& db) {
    for (const auto& [id, team] : db.Teams()) {
        if (!team.Links().empty()) {
            return team.Links().front().playerId;
        }
    }
    return -1;
}

int32_t FirstLeague(const CGameDatabase& db) {
    return db.Leagues().begin()->first;
}

QModelIndex FindRow(QAbstractItemModel* model, const QString& text, const QModelIndex& parent = {}) {
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString().contains(text)) {
            return index;
        }
        if (const QModelIndex inner = FindRow(model, text, index); inner.isValid()) {
            return inner;
        }
    }
    return {};
}

void DoubleClick(QTreeView* tree, const QModelIndex& index) {
    tree->scrollTo(index);
    const QPoint at = tree->visualRect(index).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

// Sends a drag of `data` over the widget to `at` and drops it there.
bool Drop(QWidget* target, const QPoint& at, const QMimeData* data) {
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted();
}

// Opaque blocks of pure colours (never the magenta the game makes transparent), different for
// each seed and far apart, so a picture read back tells which it was.
QImage Blocks(int seed) {
    QImage image(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int block = x / 16 + y / 16 * 4 + seed;
            const int red = (block & 1) * 255;
            const int green = (block >> 1 & 1) * 255;
            const int blue = (block >> 2 & 1) * 255;
            const bool magenta = red && blue && !green;
            image.setPixel(x, y, magenta ? qRgb(0, 0, 0) : qRgb(red, green, blue));
        }
    }
    return image;
}

// The largest difference of a colour channel between two pictures of the same size; 256 when
// their sizes differ. DXT compression moves even pure colours a little.
int Difference(const QImage& first, const QImage& second) {
    if (first.size() != second.size() || first.isNull()) {
        return 256;
    }
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    int most = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return most;
}

constexpr int kCompressionSlack = 12;

// Puts a crest (Blocks(0)) and a picture of each of the team's kits (Blocks(1 + slot)) into the
// other installation's archives, as the editor's picture import writes them.
bool PutPictures(const QString& folder, const CTeam& team) {
    const CBackupStore backups(std::filesystem::path(folder.toStdString()) / "backups");
    const auto put = [&](const CPictureImport::STarget& target, const QImage& picture) {
        QString error;
        const auto prepared = CPictureImport::Prepare(target, picture, {}, error);
        CPictureImport::SWritten written;
        return prepared && CPictureImport::Write(*prepared, backups, 1, written, error);
    };
    bool ok = put(CPictureImport::CrestTarget(folder, team.Id()), Blocks(0));
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
        if (team.FindKit(slot)) {
            ok = put(CPictureImport::KitTarget(folder, team.Id(), slot), Blocks(1 + slot)) && ok;
        }
    }
    return ok;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int32_t TeamNamed(const CGameDatabase& db, const QString& name, int32_t other = -1) {
    for (const auto& [id, team] : db.Teams()) {
        if (id != other && QString::fromStdString(team.Name()) == name) {
            return id;
        }
    }
    return -1;
}

} // namespace

class CompareTest : public FreshEditorTest {
    Q_OBJECT

public:
    CompareTest() : FreshEditorTest(QSize(1180, 760)) {}

private slots:
    void compareWithAnEditedCopy();
    void importTeamFromAddsTheTeamAndUndoRemovesIt();
    void teamsWithoutPicturesThereOrLeftBehindAreStillCopied();
    void draggedTeamsAreCopiedIntoTheLeague();
    void withoutTheAssetLibraryTeamsComeAlone();
    void unreadableInstallationsAreRefusedWithAMessage();
    void anEditChangesOnlyItsRowsKeepingTheOthersAsTheyWere();
    void importTeamPicturesInEnglishAndFrench();
    void foldedRecordsAreFoundByTheirFieldsAndOpenWithTheKeyboard();

private:
    // File › Compare With… on the folder, answered as a user does; the window it opened.
    CCompareFrame* CompareWith(const QString& folder);
    // A copy of the installation with one team renamed; its id in `teamId`.
    QString CopyWithRenamedTeam(QTemporaryDir& dir, int32_t& teamId);
    // File › Import Team From… on the folder, the renamed team typed into the filter; `choose`
    // sees the dialog before Copy is clicked.
    void ImportTeam(const QString& folder, const std::function<void(CImportTeamDialog*)>& choose);
    // The status bar's text and tool tip.
    QString StatusText() const;
    QString StatusDetail() const;
    // The archive here that receives pictures added for a new team.
    QString NewerArchive() const;
};

CCompareFrame* CompareTest::CompareWith(const QString& folder) {
    bool answered = false;
    WhenModalShown([&](QDialog* dialog) {
        auto* source = qobject_cast<CCompareSourceDialog*>(dialog);
        QVERIFY(source);
        QVERIFY(source->BaseChoice()->InstallationChoice()->isChecked());
        Retype(source->BaseChoice()->FolderEdit(), folder);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        answered = true;
    });
    if (!UserSteps::ChooseMenuCommand(*m_frame, "Menu_FileCompareWith") || !answered) {
        return nullptr;
    }
    QMdiSubWindow* window = m_frame->MdiArea()->activeSubWindow();
    return window ? qobject_cast<CCompareFrame*>(window->widget()) : nullptr;
}

QString CompareTest::CopyWithRenamedTeam(QTemporaryDir& dir, int32_t& teamId) {
    teamId = -1;
    return EditedCopy(*m_fixture, dir, [&](CGameDatabase& db) {
        for (auto& [id, team] : db.Teams()) {
            if (team.Links().size() >= 11) {
                team.SetName(kImportedName.toStdString());
                teamId = id;
                return;
            }
        }
    });
}

void CompareTest::compareWithAnEditedCopy() {
    CGameDatabase& db = *m_frame->Database();
    const int32_t player = SquadPlayer(db);
    const int here = db.FindPlayer(player)->Value(EPlayerColumn::Stamina);
    const int there = here == 40 ? 41 : 40;
    QTemporaryDir dir;
    const QString other = EditedCopy(*m_fixture, dir, [&](CGameDatabase& copy) {
        copy.FindPlayer(player)->SetValue(EPlayerColumn::Stamina, there);
    });
    QVERIFY(!other.isEmpty());

    CCompareFrame* compare = CompareWith(other);
    QVERIFY(compare);
    QVERIFY(m_fixture->prompts.isEmpty());
    QCOMPARE(compare->Model()->RecordCount(), 1);
    QTreeView* tree = compare->Tree();
    QVERIFY(!tree->accessibleName().isEmpty() && !compare->Filter()->accessibleName().isEmpty());
    QAbstractItemModel* rows = tree->model();
    QCOMPARE(rows->rowCount(), 1);
    QVERIFY(rows->index(0, 0).data().toString().startsWith(QStringLiteral("Players (1)")));
    const QModelIndex record = rows->index(0, 0, rows->index(0, 0));
    QVERIFY(record.data().toString().startsWith(QString::number(player)));
    QVERIFY(record.data().toString().contains(QString::fromStdString(db.PlayerDisplayName(player))));
    const QModelIndex field = rows->index(0, 0, record);
    QVERIFY(tree->isExpanded(record));
    QCOMPARE(field.data().toString(), QStringLiteral("Stamina"));
    QCOMPARE(field.siblingAtColumn(CCompareModel::OldColumn).data().toString(), QString::number(there));
    QCOMPARE(field.siblingAtColumn(CCompareModel::NewColumn).data().toString(), QString::number(here));

    // The filter looks at every column; nothing matching leaves nothing.
    Retype(compare->Filter(), QStringLiteral("no such value"));
    QCOMPARE(rows->rowCount(), 0);
    Retype(compare->Filter(), QString::number(there));
    QVERIFY(FindRow(rows, QStringLiteral("Stamina")).isValid());
    Retype(compare->Filter(), QStringLiteral("stamina"));
    const QModelIndex shown = FindRow(rows, QStringLiteral("Stamina"));
    QVERIFY(shown.isValid());

    DoubleClick(tree, shown);
    QVERIFY(m_frame->FindChild(CChildFrame::Kind::Player, player));
    QCOMPARE(m_frame->ActiveFrame()->FrameKind(), CChildFrame::Kind::Player);

    // An edit here that makes both sides agree leaves nothing to list.
    CGameDatabase& live = *m_frame->Database();
    live.FindPlayer(player)->SetValue(EPlayerColumn::Stamina, there);
    SChange change;
    change.what = SChange::Fields;
    change.players = {player};
    m_frame->Document().NotifyChanged(change);
    QTRY_COMPARE(compare->Model()->RecordCount(), 0);

}

void CompareTest::ImportTeam(const QString& folder,
                             const std::function<void(CImportTeamDialog*)>& choose) {
    bool chosen = false;
    WhenModalShown([&](QDialog* dialog) {
        AnswerFileDialog(dialog, folder);
        WhenModalShown([&](QDialog* teams) {
            auto* import = qobject_cast<CImportTeamDialog*>(teams);
            QVERIFY(import);
            auto* copy = teams->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            QVERIFY(!copy->isEnabled());
            QTest::keyClicks(import->Filter(), QStringLiteral("wrenfield"));
            QCOMPARE(import->Teams()->model()->rowCount(), 1);
            QVERIFY(copy->isEnabled());
            choose(import);
            QTest::mouseClick(copy, Qt::LeftButton);
            chosen = true;
        });
    });
    QVERIFY(UserSteps::ChooseMenuCommand(*m_frame, "Menu_FileImportTeam"));
    QVERIFY(chosen);
}

QString CompareTest::StatusText() const {
    return m_frame->findChild<QLabel*>(QStringLiteral("StatusPane"))->text();
}

QString CompareTest::StatusDetail() const {
    return m_frame->findChild<QLabel*>(QStringLiteral("StatusPane"))->toolTip();
}

QString CompareTest::NewerArchive() const {
    return ResolveInstallPath(m_frame->Pictures()->InstallFolder(),
                              QStringLiteral("data/zdata_05.big"));
}

void CompareTest::importTeamFromAddsTheTeamAndUndoRemovesIt() {
    QTemporaryDir dir;
    int32_t source = -1;
    const QString other = CopyWithRenamedTeam(dir, source);
    QVERIFY(!other.isEmpty() && source >= 0);
    CGameDatabase& db = *m_frame->Database();
    const int32_t league = FirstLeague(db);
    const std::vector<int32_t> leagueTeams = db.TeamsOfLeague(league);
    const size_t teams = db.Teams().size();
    const size_t players = db.Players().size();
    QVERIFY(TeamNamed(db, kImportedName) < 0);

    QVERIFY(PutPictures(other, *db.FindTeam(source)));
    const QByteArray archiveBefore = ReadFile(NewerArchive());
    const CBackupStore backups(m_frame->BackupFolder());
    QVERIFY(backups.List("zdata_05.big").empty());

    // The installation's folder, then the team by typing part of its name, into a league here.
    ImportTeam(other, [&](CImportTeamDialog* import) {
        QVERIFY(import->WithPlayersBox()->isChecked());
        QCheckBox* pictures = import->WithPicturesBox();
        QVERIFY(pictures->isChecked() && pictures->isEnabled());
        QCOMPARE(pictures->accessibleName(),
                 m_frame->Text("Caption_ImportWithPictures").remove(u'&'));
        import->LeagueBox()->setFocus();
        const int index = import->LeagueBox()->findData(league);
        QVERIFY(index > 0);
        import->LeagueBox()->setCurrentIndex(index);
    });
    const int32_t copied = TeamNamed(db, kImportedName);
    QVERIFY(copied >= 0);
    // The id is taken here by the team the copy came from: the copy gets a new one.
    QVERIFY(copied != source);
    QCOMPARE(db.Teams().size(), teams + 1);
    QCOMPARE(db.FindTeam(copied)->Links().size(), db.FindTeam(source)->Links().size());
    // The squad's players are the same records here: used, not copied again.
    QCOMPARE(db.Players().size(), players);
    QCOMPARE(db.TeamsOfLeague(league).size(), leagueTeams.size() + 1);
    QCOMPARE(m_frame->Document().UndoStack().count(), 1);
    QVERIFY(m_frame->Document().IsModified());
    QVERIFY(m_fixture->prompts.isEmpty());

    // The crest and every kit came along under the new id, as the other installation has them.
    CPictureRequests* here = m_frame->Pictures();
    const CPictureRequests there(*m_fixture->App()->Assets(), other);
    QVERIFY(Difference(there.Logo(source), Blocks(0)) <= kCompressionSlack);
    QVERIFY(Difference(here->Logo(copied), there.Logo(source)) <= kCompressionSlack);
    int kits = 0;
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
        if (db.FindTeam(copied)->FindKit(slot)) {
            QVERIFY(Difference(there.KitImage(source, slot), Blocks(1 + slot)) <=
                    kCompressionSlack);
            QVERIFY(Difference(here->KitImage(copied, slot), there.KitImage(source, slot)) <=
                    kCompressionSlack);
            ++kits;
        }
    }
    QVERIFY(kits >= 2);
    // One backup of the archive as it was, however many pictures went into it.
    const auto copies = backups.List("zdata_05.big");
    QCOMPARE(copies.size(), size_t{1});
    QCOMPARE(ReadFile(QString::fromStdString((backups.Folder() / copies.front().name).string())),
             archiveBefore);
    QVERIFY2(StatusText().contains(m_frame->Text("Message_ImportPicturesCopied").arg(1 + kits)),
             qPrintable(StatusText()));
    QVERIFY(StatusDetail().contains(
        m_frame->Text("Caption_CopiedCrest") + QStringLiteral(", ") +
        m_frame->Text("Caption_CopiedKit").arg(m_frame->Text("Caption_Home"))));
    QVERIFY(StatusDetail().contains(QString::fromStdString(copies.front().name)));
    QVERIFY(StatusDetail().contains(QDir::toNativeSeparators(other)));
    const QByteArray archiveAfter = ReadFile(NewerArchive());
    QVERIFY(archiveAfter != archiveBefore);

    // Undo takes the team back, not the pictures; redo writes none again.
    QVERIFY(Activate(m_frame));
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ReadFile(NewerArchive()), archiveAfter);
    QVERIFY(Difference(here->Logo(copied), there.Logo(source)) <= kCompressionSlack);
    QCOMPARE(TeamNamed(db, kImportedName), -1);
    QCOMPARE(db.Teams().size(), teams);
    QCOMPARE(db.TeamsOfLeague(league), leagueTeams);
    for (const CTeamPlayerLink& link : db.FindTeam(source)->Links()) {
        QVERIFY(!db.FindPlayer(link.playerId)->Teams().empty());
        for (int32_t team : db.FindPlayer(link.playerId)->Teams()) {
            QVERIFY(team != copied);
        }
    }
    QVERIFY(!m_frame->Document().IsModified());
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(TeamNamed(db, kImportedName), copied);
    QCOMPARE(ReadFile(NewerArchive()), archiveAfter);
    QCOMPARE(backups.List("zdata_05.big").size(), size_t{1});
}

void CompareTest::teamsWithoutPicturesThereOrLeftBehindAreStillCopied() {
    QTemporaryDir dir;
    int32_t source = -1;
    const QString other = CopyWithRenamedTeam(dir, source);
    QVERIFY(!other.isEmpty());
    for (const char* archive : {"data/zdata_05.big", "data/zdata_04.big"}) {
        QVERIFY(QFile::remove(ResolveInstallPath(other, QString::fromLatin1(archive))));
    }
    CGameDatabase& db = *m_frame->Database();
    const QByteArray archiveBefore = ReadFile(NewerArchive());

    ImportTeam(other,
               [](CImportTeamDialog* import) { QVERIFY(import->WithPicturesBox()->isChecked()); });
    const int32_t copied = TeamNamed(db, kImportedName);
    QVERIFY(copied >= 0);
    QVERIFY(m_fixture->prompts.isEmpty());
    QVERIFY2(
        StatusText().contains(m_frame->Text("Message_ImportPicturesAbsent").section(u'%', 0, 0) +
                              m_frame->Text("Caption_CopiedCrest")),
        qPrintable(StatusText()));
    QVERIFY(
        !StatusText().contains(m_frame->Text("Message_ImportPicturesCopied").section(u'%', 0, 0)));
    QCOMPARE(ReadFile(NewerArchive()), archiveBefore);
    QVERIFY(CBackupStore(m_frame->BackupFolder()).List("zdata_05.big").empty());

    // Unticked by the user: the team comes alone, and the note says so.
    QVERIFY(Activate(m_frame));
    ImportTeam(other, [](CImportTeamDialog* import) {
        QTest::mouseClick(import->WithPicturesBox(), Qt::LeftButton, {},
                          QPoint(4, import->WithPicturesBox()->height() / 2));
        QVERIFY(!import->WithPicturesBox()->isChecked());
    });
    QVERIFY(TeamNamed(db, kImportedName, copied) >= 0);
    QVERIFY(StatusText().endsWith(m_frame->Text("Message_ImportPicturesLeftBehind")));
    QCOMPARE(ReadFile(NewerArchive()), archiveBefore);
}

void CompareTest::draggedTeamsAreCopiedIntoTheLeague() {
    QTemporaryDir dir;
    int32_t source = -1;
    const QString other = CopyWithRenamedTeam(dir, source);
    QVERIFY(!other.isEmpty());
    CGameDatabase& db = *m_frame->Database();
    QVERIFY(PutPictures(other, *db.FindTeam(source)));
    const int32_t league = FirstLeague(db);
    const size_t inLeague = db.TeamsOfLeague(league).size();
    CLeagueFrame* leagueWindow = OpenLeagueFromList(*m_frame, league);
    QVERIFY(leagueWindow);

    CCompareFrame* compare = CompareWith(other);
    QVERIFY(compare);
    QAbstractItemModel* rows = compare->Tree()->model();
    // The record shows the name here; its field rows the name there.
    const QModelIndex teams = FindRow(rows, QStringLiteral("Teams ("));
    QVERIFY(teams.isValid());
    QModelIndex team;
    for (int row = 0; row < rows->rowCount(teams); ++row) {
        if (rows->index(row, 0, teams).data(CCompareModel::kIdRole).toInt() == source) {
            team = rows->index(row, 0, teams);
        }
    }
    QVERIFY(team.isValid());
    QVERIFY(team.data().toString().contains(QString::fromStdString(db.FindTeam(source)->Name())));
    QCOMPARE(team.data(CCompareModel::kLevelRole).toInt(), int(CCompareModel::RecordLevel));
    QVERIFY(team.flags().testFlag(Qt::ItemIsDragEnabled));
    // Field rows are no teams to drag.
    QVERIFY(!rows->index(0, 0, team).flags().testFlag(Qt::ItemIsDragEnabled));
    // Fields go by the names the team window gives them; the name patches use is the tip.
    const QModelIndex name = FindRow(rows, QStringLiteral("Team name"), team);
    QVERIFY(name.isValid());
    QCOMPARE(name.data().toString(), QStringLiteral("Team name"));
    QCOMPARE(name.data(Qt::ToolTipRole).toString(), QStringLiteral("team_name"));
    QCOMPARE(name.siblingAtColumn(CCompareModel::OldColumn).data().toString(), kImportedName);
    QVERIFY(!FindRow(rows, QStringLiteral("team_name"), team).isValid());
    std::unique_ptr<QMimeData> data(rows->mimeData({team}));
    QVERIFY(data);

    // Onto the league window's teams list: the team joins that league.
    CTeamsListView* list = leagueWindow->TeamsList();
    QVERIFY(Drop(list->viewport(), QPoint(10, 10), data.get()));
    QTRY_VERIFY(TeamNamed(db, kImportedName) >= 0);
    const int32_t copied = TeamNamed(db, kImportedName);
    QCOMPARE(db.TeamsOfLeague(league).size(), inLeague + 1);
    QVERIFY(list->Model()->RowOf(copied) >= 0);
    QCOMPARE(m_frame->Document().UndoStack().count(), 1);
    // The pictures come along as with Import Team.
    QVERIFY(Difference(m_frame->Pictures()->Logo(copied), Blocks(0)) <= 2 * kCompressionSlack);
    QVERIFY(Difference(m_frame->Pictures()->KitImage(copied, 0), Blocks(1)) <=
            2 * kCompressionSlack);

    // Onto a league's row of the leagues bar: the team joins that league.
    QTreeWidget* bar = m_frame->WorkspaceBar()->LeaguesList();
    const QTreeWidgetItem* item = bar->topLevelItem(bar->topLevelItemCount() - 1);
    bar->scrollToItem(item);
    int32_t barLeague = -1;
    for (const auto& [id, entry] : db.Leagues()) {
        if (QString::fromStdString(entry.name) == item->text(0)) {
            barLeague = id;
        }
    }
    QVERIFY(barLeague >= 0 && barLeague != league);
    const size_t inBarLeague = db.TeamsOfLeague(barLeague).size();
    QVERIFY(Drop(bar->viewport(), bar->visualItemRect(item).center(), data.get()));
    QTRY_COMPARE(m_frame->Document().UndoStack().count(), 2);
    const int32_t second = TeamNamed(db, kImportedName, copied);
    QVERIFY(second >= 0 && second != copied);
    QCOMPARE(db.TeamsOfLeague(barLeague).size(), inBarLeague + 1);
    QCOMPARE(db.TeamsOfLeague(barLeague).back(), second);

    m_frame->Document().UndoStack().undo();
    m_frame->Document().UndoStack().undo();
    QCOMPARE(TeamNamed(db, kImportedName), -1);
    QCOMPARE(db.TeamsOfLeague(league).size(), inLeague);
    QCOMPARE(db.TeamsOfLeague(barLeague).size(), inBarLeague);
    QVERIFY(list->Model()->RowOf(copied) < 0);
}

void CompareTest::withoutTheAssetLibraryTeamsComeAlone() {
    m_fixture->Stop();
    const QDir editor(m_fixture->EditorFolder());
    for (const QString& name : editor.entryList({QStringLiteral("*Wren_Utils*")}, QDir::Files)) {
        QVERIFY(QFile::remove(editor.filePath(name)));
    }
    m_frame = StartShown(*m_fixture, QSize(1180, 760));
    QVERIFY(m_frame && !m_frame->Pictures());
    QTemporaryDir dir;
    int32_t source = -1;
    const QString other = CopyWithRenamedTeam(dir, source);
    QVERIFY(!other.isEmpty());
    CGameDatabase& db = *m_frame->Database();
    const QString archive =
        ResolveInstallPath(m_fixture->GameFolder(), QStringLiteral("data/zdata_05.big"));
    const QByteArray archiveBefore = ReadFile(archive);
    QVERIFY(!archiveBefore.isEmpty());

    // Nothing to read or write pictures with: the choice is off and cannot be made.
    ImportTeam(other, [](CImportTeamDialog* import) {
        QVERIFY(!import->WithPicturesBox()->isEnabled());
        QVERIFY(!import->WithPicturesBox()->isChecked());
    });
    const int32_t copied = TeamNamed(db, kImportedName);
    QVERIFY(copied >= 0);
    QVERIFY(StatusText().endsWith(m_frame->Text("Message_ImportPicturesLeftBehind")));

    // A dragged team comes alone, and the note says why.
    CLeagueFrame* leagueWindow = OpenLeagueFromList(*m_frame, FirstLeague(db));
    QVERIFY(leagueWindow);
    CCompareFrame* compare = CompareWith(other);
    QVERIFY(compare);
    QAbstractItemModel* rows = compare->Tree()->model();
    const QModelIndex teams = FindRow(rows, QStringLiteral("Teams ("));
    QModelIndex team;
    for (int row = 0; row < rows->rowCount(teams); ++row) {
        if (rows->index(row, 0, teams).data(CCompareModel::kIdRole).toInt() == source) {
            team = rows->index(row, 0, teams);
        }
    }
    QVERIFY(team.isValid());
    std::unique_ptr<QMimeData> data(rows->mimeData({team}));
    QVERIFY(Drop(leagueWindow->TeamsList()->viewport(), QPoint(10, 10), data.get()));
    QTRY_VERIFY(TeamNamed(db, kImportedName, copied) >= 0);
    QVERIFY(m_fixture->prompts.isEmpty());
    QVERIFY2(StatusText().endsWith(m_frame->Text("Message_ImportPicturesNoLibrary")),
             qPrintable(StatusText()));
    QCOMPARE(ReadFile(archive), archiveBefore);
}

void CompareTest::unreadableInstallationsAreRefusedWithAMessage() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("empty")));
    const QString empty = dir.filePath(QStringLiteral("empty"));
    m_fixture->answer = CUserPrompts::Answer::Yes;
    QVERIFY(!CompareWith(empty));
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().contains(QDir::toNativeSeparators(empty)));
    QVERIFY(m_fixture->prompts.first().contains(QStringLiteral("data/cmn/corvid.db")));
    QVERIFY(!m_frame->MdiArea()->activeSubWindow());

    // A damaged database is named with the reason; nothing opens either.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("damaged/data/cmn")));
    QFile file(dir.filePath(QStringLiteral("damaged/data/cmn/corvid.db")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a database at all");
    file.close();
    m_fixture->prompts.clear();
    QVERIFY(!CompareWith(dir.filePath(QStringLiteral("damaged"))));
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().contains(QStringLiteral("corvid.db")));
    QVERIFY(!m_frame->MdiArea()->activeSubWindow());
}

void CompareTest::anEditChangesOnlyItsRowsKeepingTheOthersAsTheyWere() {
    CGameDatabase& db = *m_frame->Database();
    // Three players of squads that differ there in their stamina.
    std::vector<int32_t> players;
    for (const auto& [id, team] : db.Teams()) {
        if (!team.Links().empty() && players.size() < 3) {
            players.push_back(team.Links().front().playerId);
        }
    }
    QCOMPARE(players.size(), size_t(3));
    std::sort(players.begin(), players.end());
    const int32_t edited = players[0], collapsed = players[1], selected = players[2];
    const auto stamina = [&db](int32_t id) { return db.FindPlayer(id)->Value(EPlayerColumn::Stamina); };
    const auto other = [](int value) { return value == 40 ? 41 : 40; };
    const int there = other(stamina(edited));
    QTemporaryDir dir;
    const QString folder = EditedCopy(*m_fixture, dir, [&](CGameDatabase& copy) {
        for (int32_t id : players) {
            copy.FindPlayer(id)->SetValue(EPlayerColumn::Stamina, other(stamina(id)));
        }
    });
    QVERIFY(!folder.isEmpty());
    CCompareFrame* compare = CompareWith(folder);
    QVERIFY(compare);
    QCOMPARE(compare->Model()->RecordCount(), 3);
    QTreeView* tree = compare->Tree();
    QAbstractItemModel* rows = tree->model();
    const QModelIndex kind = rows->index(0, 0);
    const auto recordOf = [&](int32_t id) {
        for (int r = 0; r < rows->rowCount(kind); ++r) {
            if (rows->index(r, 0, kind).data(CCompareModel::kIdRole).toInt() == id) {
                return QPersistentModelIndex(rows->index(r, 0, kind));
            }
        }
        return QPersistentModelIndex();
    };
    const QPersistentModelIndex editedRow = recordOf(edited);
    const QPersistentModelIndex collapsedRow = recordOf(collapsed);
    const QPersistentModelIndex selectedRow = recordOf(selected);
    QVERIFY(editedRow.isValid() && collapsedRow.isValid() && selectedRow.isValid());
    QVERIFY(tree->isExpanded(collapsedRow));

    // The user folds one record with the keyboard and selects another with the mouse.
    tree->setFocus();
    tree->scrollTo(collapsedRow);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(collapsedRow).center());
    QTest::keyClick(tree, Qt::Key_Left);
    QVERIFY(!tree->isExpanded(collapsedRow));
    tree->scrollTo(selectedRow);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(selectedRow).center());
    QCOMPARE(tree->currentIndex(), QModelIndex(selectedRow));

    QSignalSpy resets(compare->Model(), &QAbstractItemModel::modelReset);
    const auto notify = [this](int32_t id) {
        SChange change;
        change.what = SChange::Fields;
        change.players = {id};
        m_frame->Document().NotifyChanged(change);
    };
    const auto newValue = [&](const QPersistentModelIndex& record) {
        return rows->index(0, CCompareModel::NewColumn, record).data().toString();
    };
    // A new value here: the row shows it; the other rows stay as they were.
    const int third = stamina(edited) == 50 ? 51 : 50;
    db.FindPlayer(edited)->SetValue(EPlayerColumn::Stamina, third);
    notify(edited);
    QTRY_COMPARE(newValue(editedRow), QString::number(third));
    QCOMPARE(compare->Model()->RecordCount(), 3);
    QVERIFY(collapsedRow.isValid() && !tree->isExpanded(collapsedRow));
    QVERIFY(tree->isExpanded(editedRow));
    QCOMPARE(tree->currentIndex(), QModelIndex(selectedRow));
    QVERIFY(tree->selectionModel()->isRowSelected(selectedRow.row(), selectedRow.parent()));

    // Both sides agree again: only that record goes.
    db.FindPlayer(edited)->SetValue(EPlayerColumn::Stamina, there);
    notify(edited);
    QTRY_COMPARE(compare->Model()->RecordCount(), 2);
    QVERIFY(!editedRow.isValid());
    QVERIFY(collapsedRow.isValid() && !tree->isExpanded(collapsedRow));
    QCOMPARE(tree->currentIndex(), QModelIndex(selectedRow));
    QVERIFY(rows->index(0, 0).data().toString().startsWith(QStringLiteral("Players (2)")));

    // A player that comes to differ gets a row of its own, in id order, open as the others were.
    int32_t added = -1;
    for (const auto& [id, player] : db.Players()) {
        added = added < 0 && id > selected ? id : added;
    }
    QVERIFY(added > 0);
    db.FindPlayer(added)->SetValue(EPlayerColumn::Stamina, other(stamina(added)));
    notify(added);
    QTRY_COMPARE(compare->Model()->RecordCount(), 3);
    const QPersistentModelIndex addedRow = recordOf(added);
    QVERIFY(addedRow.isValid());
    QCOMPARE(addedRow.row(), 2);
    QVERIFY(tree->isExpanded(addedRow));
    QVERIFY(!tree->isExpanded(collapsedRow));
    QCOMPARE(tree->currentIndex(), QModelIndex(selectedRow));
    QCOMPARE(resets.count(), 0);
}

// The Import Team dialog and the status bar after the copy, in English and French, written
// where KESTREL_SCREENSHOT_DIR points.
void CompareTest::importTeamPicturesInEnglishAndFrench() {
    const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        QSKIP("KESTREL_SCREENSHOT_DIR is not set");
    }
    for (const QString& language : {QStringLiteral("English_UK"), QStringLiteral("French")}) {
        m_fixture->Stop();
        m_fixture->EditorSettings().setValue(QStringLiteral("Editor Language"), language);
        m_frame = StartShown(*m_fixture, QSize(1180, 760));
        QVERIFY(m_frame);
        QTemporaryDir dir;
        int32_t source = -1;
        const QString other = CopyWithRenamedTeam(dir, source);
        QVERIFY(PutPictures(other, *m_frame->Database()->FindTeam(source)));
        ImportTeam(other, [&](CImportTeamDialog* import) {
            QVERIFY(import->grab().save(
                QStringLiteral("%1/import-team-dialog-%2.png").arg(folder, language)));
        });
        QVERIFY(TeamNamed(*m_frame->Database(), kImportedName) >= 0);
        QTest::qWait(50);
        QVERIFY(m_frame->grab().save(
            QStringLiteral("%1/import-team-status-%2.png").arg(folder, language)));
        // The details, as the status bar's tool tip shows them.
        auto* pane = m_frame->findChild<QLabel*>(QStringLiteral("StatusPane"));
        QToolTip::showText(pane->mapToGlobal(QPoint(0, 0)), pane->toolTip(), pane);
        const auto shownTip = [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->inherits("QTipLabel") && widget->isVisible()) {
                    return widget;
                }
            }
            return static_cast<QWidget*>(nullptr);
        };
        QWidget* tip = nullptr;
        QTRY_VERIFY((tip = shownTip()) != nullptr);
        QVERIFY(tip->grab().save(
            QStringLiteral("%1/import-team-details-%2.png").arg(folder, language)));
        QToolTip::hideText();
    }
}

void CompareTest::foldedRecordsAreFoundByTheirFieldsAndOpenWithTheKeyboard() {
    CGameDatabase& db = *m_frame->Database();
    // Enough players differing there for their records to start folded; one of them also in
    // its aggression, which no other record lists.
    std::vector<int32_t> players;
    for (const auto& [id, player] : db.Players()) {
        if (players.size() < 250) {
            players.push_back(id);
        }
    }
    QCOMPARE(players.size(), size_t(250));
    const int32_t target = players[100];
    const auto differ = [](int value) { return value == 70 ? 71 : 70; };
    const int aggression = db.FindPlayer(target)->Value(EPlayerColumn::Aggression);
    QTemporaryDir dir;
    const QString folder = EditedCopy(*m_fixture, dir, [&](CGameDatabase& copy) {
        for (int32_t id : players) {
            CPlayer& player = *copy.FindPlayer(id);
            player.SetValue(EPlayerColumn::Stamina, differ(player.Value(EPlayerColumn::Stamina)));
        }
        copy.FindPlayer(target)->SetValue(EPlayerColumn::Aggression, differ(aggression));
    });
    QVERIFY(!folder.isEmpty());
    CCompareFrame* compare = CompareWith(folder);
    QVERIFY(compare);
    QCOMPARE(compare->Model()->RecordCount(), 250);
    QTreeView* tree = compare->Tree();
    QAbstractItemModel* rows = tree->model();
    const auto recordOf = [&](int32_t id) {
        const QModelIndex kind = rows->index(0, 0);
        for (int r = 0; r < rows->rowCount(kind); ++r) {
            if (rows->index(r, 0, kind).data(CCompareModel::kIdRole).toInt() == id) {
                return rows->index(r, 0, kind);
            }
        }
        return QModelIndex();
    };
    QVERIFY(tree->isExpanded(rows->index(0, 0)));
    QVERIFY(!tree->isExpanded(recordOf(target)));

    // The field's name finds the one record, open on that field alone.
    Retype(compare->Filter(), QStringLiteral("aggression"));
    QCOMPARE(rows->rowCount(), 1);
    QCOMPARE(rows->rowCount(rows->index(0, 0)), 1);
    QModelIndex record = recordOf(target);
    QVERIFY(record.isValid() && tree->isExpanded(record));
    QCOMPARE(rows->rowCount(record), 1);
    const QModelIndex field = rows->index(0, 0, record);
    QCOMPARE(field.data().toString(), QStringLiteral("Aggression"));
    QCOMPARE(field.siblingAtColumn(CCompareModel::OldColumn).data().toString(),
             QString::number(differ(aggression)));
    QCOMPARE(field.siblingAtColumn(CCompareModel::NewColumn).data().toString(),
             QString::number(aggression));
    QVERIFY(!tree->visualRect(field).isEmpty());

    // Without the filter every record is back; those it hid folded as before.
    Retype(compare->Filter(), QString());
    QCOMPARE(rows->rowCount(rows->index(0, 0)), 250);
    record = recordOf(players[5]);
    QVERIFY(!tree->isExpanded(record));

    // Right arrow on a record shows its field.
    tree->setFocus();
    tree->scrollTo(record);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(record).center());
    QCOMPARE(tree->currentIndex(), record);
    QTest::keyClick(tree, Qt::Key_Right);
    QVERIFY(tree->isExpanded(record));
    QCOMPARE(rows->rowCount(record), 1);
    const QModelIndex stamina = rows->index(0, 0, record);
    QVERIFY(!tree->visualRect(stamina).isEmpty());
    QVERIFY(!rows->hasChildren(stamina));
    QCOMPARE(stamina.data().toString(), QStringLiteral("Stamina"));
    QCOMPARE(stamina.data(Qt::ToolTipRole).toString(), QStringLiteral("stamina"));
}

QTEST_MAIN(CompareTest)
#include "CompareTest.moc"
