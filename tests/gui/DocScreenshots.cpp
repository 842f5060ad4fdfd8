// The pictures of the README, taken from the editor as a user drives it. Run by
// scripts/screenshots.sh: KESTREL_DOC_PICTURES names the folder the PNGs go to,
// KESTREL_DOC_LANGUAGE the editor's language (English_UK when unset). The sample installation
// is written under the home folder, so the paths the pictures show look like a user's.
#include "CWarningSink.h"
#include "DrawnPictures.h"
#include "EditorFixture.h"
#include "ModalDialogs.h"
#include "UserSteps.h"

#include "CSampleGenerator.h"
#include "editor/app/CApplyPatchDialog.h"
#include "editor/app/CCompareSourceDialog.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/database/CMessageSink.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CGameInstallation.h"
#include "editor/model/CLineUp.h"
#include "editor/model/COtherInstallation.h"
#include "editor/model/CPatch.h"
#include "editor/toolkit/CBaseChoice.h"
#include "editor/toolkit/CErrorLineEdit.h"
#include "editor/toolkit/CFormationView.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/toolkit/CPropertyList.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CIngameFrame.h"
#include "editor/windows/CIngameTextView.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CPicturePreviewDialog.h"
#include "editor/windows/CPlayerAppearanceForm.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayerInfoForm.h"
#include "editor/windows/CPlayersListModel.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CPlayersTableView.h"
#include "editor/windows/CTeamFormationForm.h"
#include "editor/windows/CTeamFrame.h"
#include "editor/windows/CTeamKitsForm.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>
#include <memory>

using namespace UserSteps;

namespace {

constexpr int32_t kLeague = 1;
constexpr int32_t kTeam = 1;
// The sample's French texts are game language 2.
constexpr quint32 kFrenchGame = 2;

QString Home(const QString& path) {
    return QDir(QDir::homePath()).filePath(path);
}

// Chooses `file` in the next file dialog, then acts on the dialog that follows it.
void ChooseFileThen(const QString& file, const std::function<void(QDialog*)>& next) {
    WhenModalShown([file, next](QDialog* dialog) {
        if (next)
            WhenModalShown(next);
        AnswerFileDialog(dialog, file);
    });
}

} // namespace

class DocScreenshots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void mainWindow();
    void leagueWindow();
    void teamWindow();
    void kitImport();
    void playerWindow();
    void formationPage();
    void allPlayers();
    void searchResults();
    void ingameTextWindow();
    void compareWindow();
    void applyPatch();

private:
    // A fresh copy of the sample in the home folder, fresh settings, the editor shown at `size`.
    bool Start(QSize size);
    void Stop();
    CGameDatabase& Db() { return *m_frame->Database(); }
    QMdiSubWindow* ActiveWindow() { return m_frame->MdiArea()->activeSubWindow(); }
    // Lets pending layouts and pictures settle before a grab.
    static void Settle() { QTest::qWait(100); }
    void Save(const QPixmap& picture, const char* name);
    // The main window with the modal dialog over it, in a title bar of its own: the offscreen
    // platform draws no window frames.
    QPixmap WithDialog(QDialog* dialog);
    // A command of the File menu, chosen as a user does: the menu opened with a click on the
    // menu bar, the command with Return.
    // The squad row of the first player `wanted` accepts, or 0.
    int SquadRow(CTeamFrame* team, const std::function<bool(const CPlayer&)>& wanted);
    // Opens the player of that squad row with a double click, the row scrolled into view.
    void DoubleClickSquadRow(CTeamFrame* team, int row);

    QString m_out;
    QString m_language;
    QString m_game;
    QString m_pristine;
    std::unique_ptr<CKestrelApp> m_app;
    CMainFrame* m_frame = nullptr;
    QStringList m_prompts;
};

void DocScreenshots::initTestCase() {
    m_out = qEnvironmentVariable("KESTREL_DOC_PICTURES");
    QVERIFY2(!m_out.isEmpty(), "KESTREL_DOC_PICTURES names no folder for the pictures");
    QVERIFY(QDir().mkpath(m_out));
    m_language = qEnvironmentVariable("KESTREL_DOC_LANGUAGE", QStringLiteral("English_UK"));
    // One font at 96 dpi on every machine.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QApplication::setOrganizationName(QStringLiteral("Brackwater"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrel"));
    QApplication::setQuitOnLastWindowClosed(false);
    m_game = Home(QStringLiteral("Games/Corvid 2004"));
    m_pristine = Home(QStringLiteral(".cache/kestrel-doc-sample"));
    QDir(m_pristine).removeRecursively();
    CWarningSink sink;
    QVERIFY(WriteSampleInstallation(m_pristine.toStdString(), CSampleGenerator::kDefaultSeed, sink));
    for (const char* folder : {"Documents", "Pictures", "Backups"})
        QVERIFY(QDir().mkpath(Home(QString::fromLatin1(folder))));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Home(QStringLiteral(".config")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Home(QStringLiteral(".config")));
    // No Wine installation of the machine may stand in for the sample.
    qputenv("WINEPREFIX", Home(QStringLiteral(".wine-none")).toUtf8());
    CUserPrompts::SetHandler([this](const QString& kind, const QString& text) {
        m_prompts.append(kind + QStringLiteral(": ") + text);
        return CUserPrompts::Answer::No;
    });
}

void DocScreenshots::cleanup() {
    Stop();
    // A message box in the middle of a scene means the scene is not what the picture shows.
    const QStringList prompts = std::exchange(m_prompts, {});
    QVERIFY2(prompts.isEmpty(), qPrintable(prompts.join(u'\n')));
}

bool DocScreenshots::Start(QSize size) {
    Stop();
    QDir(m_game).removeRecursively();
    QDir(Home(QStringLiteral(".config/Brackwater"))).removeRecursively();
    if (!QDir().mkpath(m_game) ||
        !EditorFixture::CopyFolder(m_pristine, m_game))
        return false;
    QSettings(QStringLiteral("Brackwater"), QStringLiteral("Kestrel"))
        .setValue(QStringLiteral("Editor Language"), m_language);
    const bool french = m_language == QLatin1String("French") &&
                        QFileInfo::exists(m_game + QStringLiteral("/data/cmn/fe/fre.db"));
    m_app = std::make_unique<CKestrelApp>();
    const QStringList arguments{QStringLiteral("kestrel"), QStringLiteral("--game-language"),
                                QString::number(french ? kFrenchGame : 0),
                                QStringLiteral("--game"), m_game};
    if (!m_app->Startup(arguments)) {
        m_app.reset();
        return false;
    }
    m_frame = m_app->MainFrame();
    m_frame->resize(size);
    m_frame->show();
    return Activate(m_frame);
}

void DocScreenshots::Stop() {
    m_frame = nullptr;
    if (m_app) {
        m_app->Shutdown();
        m_app.reset();
    }
}

void DocScreenshots::Save(const QPixmap& picture, const char* name) {
    QVERIFY(!picture.isNull());
    const QString path = QDir(m_out).filePath(QString::fromLatin1(name));
    QVERIFY2(picture.save(path), qPrintable(path));
}

QPixmap DocScreenshots::WithDialog(QDialog* dialog) {
    QPixmap picture = m_frame->grab();
    const QPixmap shown = dialog->grab();
    const QPalette palette = dialog->palette();
    const int titleHeight = 24;
    const QRect inner(QPoint((picture.width() - shown.width()) / 2,
                             qMax(titleHeight, (picture.height() - shown.height() + titleHeight) / 2)),
                      shown.size());
    const QRect outer = inner.adjusted(-1, -titleHeight, 1, 1);
    QPainter painter(&picture);
    painter.fillRect(outer.translated(3, 3), QColor(0, 0, 0, 60));
    painter.fillRect(outer, palette.color(QPalette::Highlight));
    QFont title = dialog->font();
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.drawText(QRect(outer.left(), outer.top(), outer.width(), titleHeight),
                     Qt::AlignCenter, dialog->windowTitle());
    painter.drawPixmap(inner.topLeft(), shown);
    return picture;
}

int DocScreenshots::SquadRow(CTeamFrame* team, const std::function<bool(const CPlayer&)>& wanted) {
    const QAbstractItemModel* squad = team->SquadList()->model();
    for (int row = 0; row < squad->rowCount(); ++row) {
        const CPlayer* player = Db().FindPlayer(
            squad->index(row, 0).data(CPlayersListModel::kPlayerIdRole).toInt());
        if (player && wanted(*player))
            return row;
    }
    return 0;
}

void DocScreenshots::DoubleClickSquadRow(CTeamFrame* team, int row) {
    CPlayersListView* squad = team->SquadList();
    squad->scrollTo(squad->model()->index(row, 0));
    DoubleClickRow(squad, row);
}

// The league and one of its teams side by side, a squad row selected.
void DocScreenshots::mainWindow() {
    QVERIFY(Start(QSize(1280, 800)));
    CTeamFrame* team = OpenTeamFromLeague(*m_frame, kLeague, kTeam);
    QVERIFY(team);
    // Side by side, as a user drags them.
    QMdiSubWindow* league = m_frame->FindChild(CChildFrame::Kind::League, kLeague);
    QMdiSubWindow* teamWindow = m_frame->FindChild(CChildFrame::Kind::Team, kTeam);
    QVERIFY(league && teamWindow);
    const QSize area = m_frame->MdiArea()->viewport()->size();
    const int split = area.width() * 9 / 20;
    league->setGeometry(0, 0, split, area.height());
    teamWindow->setGeometry(split, 0, area.width() - split, area.height());
    ClickRow(team->SquadList(), 0);
    Settle();
    Save(m_frame->grab(), "main-window.png");
}

void DocScreenshots::leagueWindow() {
    QVERIFY(Start(QSize(1100, 760)));
    CLeagueFrame* league = OpenLeagueFromList(*m_frame, kLeague);
    QVERIFY(league);
    Settle();
    Save(ActiveWindow()->grab(), "league-window.png");
    CTeamsListView* teams = league->TeamsList();
    const QModelIndex team =
        teams->Proxy()->mapFromSource(teams->Model()->index(teams->Model()->RowOf(kTeam), 0));
    teams->scrollTo(team);
    QTest::mouseClick(teams->viewport(), Qt::LeftButton, {}, teams->visualRect(team).center());
    Settle();
    Save(ActiveWindow()->grab(), "league-window-teams.png");
}

void DocScreenshots::teamWindow() {
    QVERIFY(Start(QSize(1100, 760)));
    CTeamFrame* team = OpenTeamFromLeague(*m_frame, kLeague, kTeam);
    QVERIFY(team);
    Settle();
    Save(ActiveWindow()->grab(), "team-window-information.png");
    ClickRow(team->SquadList(), 1);
    Settle();
    Save(ActiveWindow()->grab(), "team-window-squad.png");
    ClickTab(team->Tabs(), 2);
    CTeamKitsForm* kits = team->KitsForm();
    kits->Properties()->SelectRow(kits->RowOf("Caption_JerseyColour1"));
    Settle();
    Save(ActiveWindow()->grab(), "team-window-kits.png");
}

// A kit imported through its preview, then a crest through the banner's context menu.
void DocScreenshots::kitImport() {
    QVERIFY(Start(QSize(1100, 760)));
    CTeamFrame* team = OpenTeamFromLeague(*m_frame, kLeague, kTeam);
    QVERIFY(team);
    ClickTab(team->Tabs(), 2);
    const QString kit = DrawnPictures::Kit(Home(QStringLiteral("Pictures/hoops.png")));
    const QString crest = DrawnPictures::Crest(Home(QStringLiteral("Pictures/crest.png")));
    QVERIFY(!kit.isEmpty() && !crest.isEmpty());
    bool previewed = false;
    ChooseFileThen(kit, [&](QDialog* dialog) {
        auto* preview = qobject_cast<CPicturePreviewDialog*>(dialog);
        QVERIFY(preview);
        previewed = true;
        Settle();
        Save(WithDialog(preview), "picture-import-preview.png");
        QTest::keyClick(preview, Qt::Key_Return);
    });
    QTest::mouseClick(team->KitsForm()->ImportPictureButton(), Qt::LeftButton);
    QVERIFY(previewed);

    bool menuSeen = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menuSeen = true;
        ChooseFileThen(crest, [](QDialog* dialog) {
            auto* preview = qobject_cast<CPicturePreviewDialog*>(dialog);
            QVERIFY(preview);
            QTest::mouseClick(preview->Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QVERIFY(Activate(m_frame));
    team->Banner()->setFocus();
    QTest::keyClick(team->Banner(), Qt::Key_Menu);
    QVERIFY(menuSeen);
    QVERIFY(Activate(m_frame));
    Settle();
    Save(ActiveWindow()->grab(), "team-window-kit-import.png");
}

// A player with a face of his own, opened with a double click in the squad.
void DocScreenshots::playerWindow() {
    QVERIFY(Start(QSize(1100, 760)));
    CTeamFrame* team = OpenTeamFromLeague(*m_frame, kLeague, kTeam);
    QVERIFY(team);
    DoubleClickSquadRow(team, SquadRow(team, [](const CPlayer& player) {
                       return player.Value(EPlayerColumn::SpecificFace) > 0;
                   }));
    auto* player = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QVERIFY(player);
    const char* names[] = {"player-window-info.png", "player-window-appearance.png",
                           "player-window-abilities.png"};
    for (int page = 0; page < 3; ++page) {
        ClickTab(player->Tabs(), page);
        if (page == 0)
            static_cast<CPlayerInfoForm*>(player->Page(0))->Traits()->SelectRow(1);
        if (page == 1)
            static_cast<CPlayerAppearanceForm*>(player->Page(1))->Properties()->SelectRow(1);
        Settle();
        Save(ActiveWindow()->grab(), names[page]);
    }
}

// The formation page filling a small and a large main window, the keeper selected.
void DocScreenshots::formationPage() {
    for (const QSize size : {QSize(900, 650), QSize(1440, 900)}) {
        QVERIFY(Start(size));
        CTeamFrame* team = OpenTeamFromLeague(*m_frame, kLeague, kTeam);
        QVERIFY(team);
        ActiveWindow()->showMaximized();
        ClickTab(team->Tabs(), 1);
        CFormationView* pitch = team->FormationForm()->Pitch();
        pitch->setFocus();
        QTest::mouseClick(pitch, Qt::RightButton, {},
                          pitch->CellRect(CLineUp::CellOfSlot(0)).center());
        Settle();
        const QByteArray name = QStringLiteral("formation-page-%1x%2.png")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .toLatin1();
        Save(m_frame->grab(), name.constData());
    }
}

// View › All Players: fast young attackers by rating, the filter being typed on with a fault.
void DocScreenshots::allPlayers() {
    QVERIFY(Start(QSize(1180, 720)));
    QTest::keyClick(m_frame, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    auto* table = qobject_cast<CAllPlayersFrame*>(m_frame->ActiveFrame());
    QVERIFY(table);
    ActiveWindow()->showMaximized();
    Retype(table->FilterEdit(), QStringLiteral("pace>=85 and age<21"));
    QTest::keyClick(table->FilterEdit(), Qt::Key_Return);
    QComboBox* position = table->PositionFilter();
    position->setFocus();
    for (int step = position->currentIndex(); step < 4; ++step)
        QTest::keyClick(position, Qt::Key_Down);
    int overall = -1;
    const auto& columns = table->Model()->Columns();
    for (size_t c = 0; c < columns.size(); ++c)
        overall = std::string_view(columns[c]->Name()) == "overall" ? static_cast<int>(c) : overall;
    QVERIFY(overall >= 0);
    QHeaderView* header = table->View()->horizontalHeader();
    for (int click = 0; click < 2; ++click)
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(overall) + 4, header->height() / 2));
    ClickRow(table->View(), 1);
    table->FilterEdit()->setFocus();
    QTest::keyClick(table->FilterEdit(), Qt::Key_End);
    QTest::keyClicks(table->FilterEdit(), QStringLiteral(" and name~\"mar"));
    QVERIFY(!table->FilterEdit()->ErrorMessage().isEmpty());
    Settle();
    Save(m_frame->grab(), "all-players.png");
}

// Edit › Find for "ion" in leagues, teams and players.
void DocScreenshots::searchResults() {
    QVERIFY(Start(QSize(1100, 760)));
    WhenModalShown([this](QDialog* dialog) {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("findText"));
        QVERIFY(box);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, QStringLiteral("ion"));
        for (const char* key : {"Caption_Comps", "Caption_Teams", "Caption_Players"})
            for (QCheckBox* check : dialog->findChildren<QCheckBox*>())
                if (check->text() == m_frame->Text(key) && !check->isChecked())
                    QTest::keyClick(check, Qt::Key_Space);
        QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::keyClick(m_frame, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(ActiveWindow());
    Settle();
    Save(ActiveWindow()->grab(), "search-results.png");
}

// File › Open In-game Text on the game's texts, one text changed and not saved.
void DocScreenshots::ingameTextWindow() {
    QVERIFY(Start(QSize(1100, 760)));
    const QString path = m_frame->Document().TextDbPath();
    WhenModalShown([path](QDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QDir::toNativeSeparators(path));
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::keyClick(m_frame, Qt::Key_O, Qt::ControlModifier);
    auto* texts = qobject_cast<CIngameFrame*>(m_frame->ActiveFrame());
    QVERIFY(texts);
    CIngameTextView* list = texts->List();
    const QModelIndex index = list->model()->index(list->model()->rowCount() / 2, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    QTest::keyClick(list, Qt::Key_F2);
    QTRY_VERIFY(list->IsEditing());
    auto* editor = qobject_cast<QLineEdit*>(list->indexWidget(list->currentIndex()));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("Kestrel Football Club"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!list->IsEditing());
    list->scrollTo(list->currentIndex(), QAbstractItemView::PositionAtCenter);
    Settle();
    Save(ActiveWindow()->grab(), "ingame-text-window.png");
}

// File › Compare With on an older copy of the installation, a few records apart.
void DocScreenshots::compareWindow() {
    QVERIFY(Start(QSize(1180, 760)));
    const QString other = Home(QStringLiteral("Backups/Corvid 2004"));
    QDir(other).removeRecursively();
    QVERIFY(EditorFixture::CopyFolder(m_game, other));
    {
        CGameDatabase copy;
        CIgnoringSink sink;
        const COtherInstallation::SResult read =
            COtherInstallation::Load(other.toStdString(), 0, copy, sink);
        QVERIFY2(read.Ok(), read.detail.c_str());
        CTeam* team = copy.FindTeam(kTeam);
        QVERIFY(team && team->Links().size() >= 3);
        for (size_t i = 0; i < 2; ++i) {
            CPlayer* player = copy.FindPlayer(team->Links()[i].playerId);
            player->SetValue(EPlayerColumn::Stamina, player->Value(EPlayerColumn::Stamina) - 6);
            player->SetValue(EPlayerColumn::Pace, player->Value(EPlayerColumn::Pace) - 3);
        }
        team->SetValue(ETeamColumn::Prestige, team->Value(ETeamColumn::Prestige) - 2);
        const CGameInstallation installation(other.toStdString(), 0);
        QVERIFY(copy.SaveGameDatabase(installation.DatabasePath()->string(),
                                      installation.TextDatabasePath()->string(), sink));
    }
    WhenModalShown([other](QDialog* dialog) {
        auto* source = qobject_cast<CCompareSourceDialog*>(dialog);
        QVERIFY(source);
        QTest::mouseClick(source->BaseChoice()->InstallationChoice(), Qt::LeftButton, {},
                          QPoint(8, source->BaseChoice()->InstallationChoice()->height() / 2));
        Retype(source->BaseChoice()->FolderEdit(), QDir::toNativeSeparators(other));
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    QVERIFY(UserSteps::ChooseMenuCommand(*m_frame, "Menu_FileCompareWith"));
    QVERIFY(ActiveWindow());
    ActiveWindow()->showMaximized();
    Settle();
    Save(m_frame->grab(), "compare-window.png");
}

// File › Apply Patch with a patch that renames a player renamed here too.
void DocScreenshots::applyPatch() {
    QVERIFY(Start(QSize(1100, 760)));
    const CTeam* team = Db().FindTeam(kTeam);
    QVERIFY(team && team->Links().size() >= 2);
    const int32_t renamed = team->Links()[0].playerId;
    const int32_t moved = team->Links()[1].playerId;
    const QString patchFile = Home(QStringLiteral("Documents/transfers.kpatch"));
    {
        CWarningSink sink;
        CGameDatabase base, changed;
        const std::string db = m_frame->Document().FilePath().toStdString();
        const std::string texts = m_frame->Document().TextDbPath().toStdString();
        QVERIFY(base.LoadGameDatabase(db, texts, sink) && changed.LoadGameDatabase(db, texts, sink));
        changed.FindPlayer(renamed)->SetFirstName("Theo");
        changed.FindPlayer(renamed)->SetLastName("Marsh");
        changed.FindPlayer(renamed)->SetCommonName({});
        changed.FindPlayer(moved)->SetLastName("Elsworth");
        CPatch patch;
        std::string error;
        QVERIFY2(CPatch::Make(base, db, changed, "transfers", patch, error) &&
                     patch.WriteFile(patchFile.toStdString(), error),
                 error.c_str());
    }
    // The same player renamed here, differently.
    CTeamFrame* teamWindow = OpenTeamFromLeague(*m_frame, kLeague, kTeam);
    QVERIFY(teamWindow);
    DoubleClickSquadRow(teamWindow, SquadRow(teamWindow, [renamed](const CPlayer& player) {
                       return player.Id() == renamed;
                   }));
    auto* player = qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame());
    QVERIFY(player);
    auto* info = static_cast<CPlayerInfoForm*>(player->Page(0));
    const auto box = [&](const char* key) {
        for (auto* edit : info->findChildren<QLineEdit*>())
            if (edit->accessibleName() == m_frame->Text(key))
                return edit;
        return static_cast<QLineEdit*>(nullptr);
    };
    QLineEdit* first = box("Caption_FirstName");
    QLineEdit* last = box("Caption_LastName");
    QVERIFY(first && last);
    Retype(first, QStringLiteral("Tom"));
    Retype(last, QStringLiteral("Marshall"));
    QTest::mouseClick(info->ApplyButton(), Qt::LeftButton);

    bool previewed = false;
    ChooseFileThen(patchFile, [&](QDialog* dialog) {
        auto* preview = qobject_cast<CApplyPatchDialog*>(dialog);
        QVERIFY(preview);
        previewed = true;
        QTableWidget* conflicts = preview->ConflictsTable();
        QVERIFY(conflicts->rowCount() == 2);
        QTest::mouseClick(preview->AllTheirsButton(), Qt::LeftButton);
        QComboBox* keep = preview->Choice(1);
        keep->setFocus();
        QTest::keyClick(keep, Qt::Key_Up);
        Settle();
        Save(WithDialog(preview), "apply-patch.png");
        preview->reject();
    });
    QVERIFY(UserSteps::ChooseMenuCommand(*m_frame, "Menu_FileApplyPatch"));
    QVERIFY(previewed);
}

QTEST_MAIN(DocScreenshots)
#include "DocScreenshots.moc"
