#include "DrawnPictures.h"
#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"
#include "SavedFiles.h"
#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CColumnRange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CInGameNames.h"
#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/toolkit/CColourSwatchGrid.h"
#include "editor/toolkit/CColourTableButton.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/toolkit/CIdComboBox.h"
#include "editor/toolkit/CPictureView.h"
#include "editor/toolkit/CPropertyColours.h"
#include "editor/toolkit/CPropertyList.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CLeagueInfoForm.h"
#include "editor/windows/CPicturePreviewDialog.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CTeamFormationForm.h"
#include "editor/windows/CTeamFrame.h"
#include "editor/windows/CTeamInfoForm.h"
#include "editor/windows/CTeamKitsForm.h"
#include "editor/windows/CTeamMiscForm.h"
#include "editor/windows/CTeamSelectDialog.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

using UserSteps::ClickTab;
using UserSteps::Retype;

// Opens the colour item's editor with Enter and its swatch grid with Space; `steps` right
// arrows later, Enter chooses.
void ChooseColourByKeys(CTeamKitsForm* kits, const char* key, int steps) {
    QTreeView* view = kits->Properties()->View();
    view->setFocus();
    view->setCurrentIndex(view->model()->index(kits->RowOf(key), 0));
    QTest::keyClick(view, Qt::Key_Return);
    auto* button = qobject_cast<CColourTableButton*>(
        view->indexWidget(view->model()->index(kits->RowOf(key), 1)));
    QVERIFY(button);
    WhenModalShown([steps](QDialog* dialog) {
        auto* grid = dialog->findChild<CColourSwatchGrid*>();
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(grid, Qt::Key_Right);
        }
        QTest::keyClick(grid, Qt::Key_Return);
    });
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Tab);
    QVERIFY(UserSteps::Activate(kits->window()));
}

// Chooses `file` in the next file dialog, then acts on the dialog that follows it.
void ChooseFileThen(const QString& file, const std::function<void(QDialog*)>& next) {
    WhenModalShown([file, next](QDialog* dialog) {
        if (next)
            WhenModalShown(next);
        AnswerFileDialog(dialog, file);
    });
}

// Clicks `import`, chooses `file` in the file dialog and acts on the preview that follows;
// false when no preview showed.
bool ImportThroughPreview(QAbstractButton* import, const QString& file,
                          const std::function<void(CPicturePreviewDialog*)>& act) {
    bool seen = false;
    ChooseFileThen(file, [&](QDialog* dialog) {
        auto* preview = qobject_cast<CPicturePreviewDialog*>(dialog);
        QVERIFY(preview);
        seen = true;
        act(preview);
    });
    QTest::mouseClick(import, Qt::LeftButton);
    return seen;
}

// A picture in the game's own style: no alpha, pure magenta around a badge of two colours.
QString MagentaPicture(const QString& path, int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.fillRect(side / 4, side / 8, side / 2, side * 3 / 4, QColor(20, 40, 120));
    painter.fillRect(side / 4, side * 3 / 8, side / 2, side / 4, QColor(250, 200, 0));
    painter.end();
    return image.save(path) ? path : QString();
}

int AlphaAt(const QImage& image, double x, double y) {
    return qAlpha(
        image.pixel(static_cast<int>(x * image.width()), static_cast<int>(y * image.height())));
}

// Pixels that show as the pink box a magenta background becomes when its transparency is lost.
int PinkPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            count += colour.alpha() > 64 && colour.red() > 160 && colour.blue() > 160 &&
                     colour.green() < 100;
        }
    return count;
}

int KitValue(CGameDatabase& db, int team, int type, EKitColumn column) {
    return db.FindTeam(team)->FindKit(type)->Value(column);
}

} // namespace

class TeamWindowTest : public FreshEditorTest {
    Q_OBJECT

public:
    TeamWindowTest() : FreshEditorTest(QSize(1180, 820)) {}

private:
    CGameDatabase* Db() { return m_frame->Database(); }
    // The teams of the sample's first league (or the league after it), in the league's order.
    std::vector<int32_t> LeagueTeams(int league = 0) {
        return Db()->TeamsOfLeague(std::next(Db()->Leagues().begin(), league)->first);
    }
    // The team at that place of the league's order, opened from the league window.
    CTeamFrame* OpenTeam(int teamRow, int league = 0) {
        const int32_t leagueId = std::next(Db()->Leagues().begin(), league)->first;
        return UserSteps::OpenTeamFromLeague(*m_frame, leagueId, LeagueTeams(league).at(teamRow));
    }

private slots:
    void pagesShowTheTeamWithAccessibleControls();
    void renameRetitlesTheTeamLeaguesAndList();
    void kitColoursComeFromTheTableAndSwitchingAsks();
    void rivalsRefuseTheTeamItselfAndRepeats();
    void untouchedControlsLeaveFieldsAsStored();
    void numbersKeepToTheirColumnsRanges();
    void anUnstorableValueIsNamedNotTheFile();
    void undoLeavesSquadsChangedSinceAlone();
    void editsReachTheSavedFiles();
    void picturesImportThroughTheirPreview();
    void magentaBackgroundsShowTransparentEverywhere();
};

void TeamWindowTest::pagesShowTheTeamWithAccessibleControls() {
    CTeamFrame* window = OpenTeam(0);
    QVERIFY(window);
    CGameDatabase* db = Db();
    const CTeam* team = db->FindTeam(window->TeamId());
    QCOMPARE(m_frame->MdiArea()->activeSubWindow()->windowTitle(), m_frame->TeamTitle(team->Id()));
    QCOMPARE(window->Tabs()->count(), 4);
    QCOMPARE(window->Tabs()->tabText(0), m_frame->Text("Tab_TeamInformation"));
    QCOMPARE(window->Tabs()->tabText(1), m_frame->Text("Tab_TeamFormation"));
    QCOMPARE(window->Tabs()->tabText(2), m_frame->Text("Tab_TeamKits"));
    QCOMPARE(window->Tabs()->tabText(3), m_frame->Text("Tab_TeamMisc"));
    QCOMPARE(window->Banner()->Title(), QString::fromStdString(team->Name()));
    QVERIFY(!window->Banner()->Picture().isNull());
    QCOMPARE(window->Banner()->Picture().width(), 24);

    CTeamInfoForm* info = window->InfoForm();
    QCOMPARE(info->NameBox()->text(), QString::fromStdString(team->Name()));
    QCOMPARE(info->NameBox()->accessibleName(), m_frame->Text("Caption_TeamName"));
    QCOMPARE(info->StadiumBox()->accessibleName(), m_frame->Text("Caption_Stadium"));
    QCOMPARE(info->OpponentBox()->accessibleName(), m_frame->Text("Caption_Opponent"));
    QCOMPARE(info->PrestigeBox()->accessibleName(), m_frame->Text("Caption_TeamPrestige"));
    QCOMPARE(info->RivalsList()->accessibleName(), m_frame->Text("Caption_Rivals"));
    QCOMPARE(info->EliteBox()->text(), m_frame->Text("Caption_EliteTeam"));
    QCOMPARE(info->StadiumBox()->SelectedId(),
             std::optional<int>(team->Value(ETeamColumn::StadiumId)));
    QCOMPARE(info->RivalIds(), team->Rivals());

    ClickTab(window->Tabs(), 2);
    CTeamKitsForm* kits = window->KitsForm();
    QVERIFY(kits->isVisible());
    QCOMPARE(kits->KitTypeBox()->accessibleName(), m_frame->Text("Caption_KitType"));
    QCOMPARE(kits->KitTypeBox()->itemText(10), m_frame->Text("Caption_AwayGoalie"));
    QVERIFY(kits->Picture()->HasPicture());
    QCOMPARE(kits->Picture()->Shown().width(), 48);
    QCOMPARE(kits->Properties()->Model()->rowCount(), 32);
    const CTeamKit* home = team->FindKit(0);
    QCOMPARE(kits->Properties()->Model()->Value(kits->RowOf("Caption_ShortsNumberX")).toString(),
             QString::number(home->ShortsNumberX(), 'f', 4));
    QCOMPARE(kits->Properties()->Model()->Value(kits->RowOf("Caption_Wrinkle")).toInt(),
             home->Value(EKitColumn::Wrinkle));

    ClickTab(window->Tabs(), 3);
    CTeamMiscForm* misc = window->MiscForm();
    QCOMPARE(misc->NumberBox(0)->accessibleName(), m_frame->Text("Caption_BallType"));
    QCOMPARE(misc->NumberBox(0)->value(), team->Value(ETeamColumn::BallType));
    QCOMPARE(misc->SwitchBox(2)->text(), m_frame->Text("Caption_WetKit"));
}

void TeamWindowTest::renameRetitlesTheTeamLeaguesAndList() {
    CTeamFrame* window = OpenTeam(1);
    QVERIFY(window);
    QMdiSubWindow* teamWindow = m_frame->MdiArea()->activeSubWindow();
    CGameDatabase* db = Db();
    CTeam* team = db->FindTeam(window->TeamId());
    const QString oldTitle = teamWindow->windowTitle();
    const int32_t leagueId = team->Leagues().front();
    QMdiSubWindow* leagueWindow = m_frame->FindChild(CChildFrame::Kind::League, leagueId);
    QVERIFY(leagueWindow);
    auto* leagueTeams = qobject_cast<CLeagueFrame*>(leagueWindow->widget())->TeamsList();
    CTeamInfoForm* info = window->InfoForm();

    // Prestige alone: stored and undoable, nothing retitled.
    Retype(info->PrestigeBox(), 4);
    QTest::keyClick(info->PrestigeBox(), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(team->Value(ETeamColumn::Prestige), 4);
    QVERIFY(window->CanUndo());
    QCOMPARE(teamWindow->windowTitle(), oldTitle);

    Retype(info->NameBox(), QStringLiteral("Kestrel Town"));
    QTest::mouseClick(info->ApplyButton(), Qt::LeftButton);
    QCOMPARE(team->Name(), std::string("Kestrel Town"));
    QCOMPARE(teamWindow->windowTitle(), m_frame->Text("Caption_Team") + " - Kestrel Town");
    QCOMPARE(window->Banner()->Title(), QStringLiteral("Kestrel Town"));
    QVERIFY(!leagueTeams->model()
                 ->match(leagueTeams->model()->index(0, 0), Qt::DisplayRole,
                         QStringLiteral("Kestrel Town"))
                 .isEmpty());
    QVERIFY(m_frame->OpenTeam(team->Id()));
    QCOMPARE(m_frame->MdiArea()->activeSubWindow(), teamWindow);

    // Undo from the Edit menu: the old name, title and league list entry come back.
    m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->trigger();
    QCOMPARE(teamWindow->windowTitle(), oldTitle);
    QCOMPARE(info->NameBox()->text(), oldTitle.section(QStringLiteral(" - "), 1));
    QVERIFY(leagueTeams->model()
                ->match(leagueTeams->model()->index(0, 0), Qt::DisplayRole,
                        QStringLiteral("Kestrel Town"))
                .isEmpty());
    QCOMPARE(team->Value(ETeamColumn::Prestige), 4);
}

void TeamWindowTest::kitColoursComeFromTheTableAndSwitchingAsks() {
    CGameDatabase* db = Db();
    // A stored colour id 1 is table entry 0.
    const int teamId = LeagueTeams().front();
    db->FindTeam(teamId)->FindKit(0)->SetValue(EKitColumn::JerseyColour1, 1);
    CTeamFrame* window = OpenTeam(0);
    QVERIFY(window && window->TeamId() == teamId);
    ClickTab(window->Tabs(), 2);
    CTeamKitsForm* kits = window->KitsForm();
    CPropertyModel* model = kits->Properties()->Model();
    const int jersey1 = kits->RowOf("Caption_JerseyColour1");
    const uint32_t entry0 = db->Colours().ColourOfIndex(0);
    const QColor first(entry0 & 0xFF, (entry0 >> 8) & 0xFF, (entry0 >> 16) & 0xFF);
    QCOMPARE(model->Colours()->Colour(model->Value(jersey1).toInt()), first);
    QVERIFY(model->data(model->index(jersey1, 1), Qt::DisplayRole).toString().startsWith("1: RGB"));
    QCOMPARE(window->Banner()->Colour(), first);

    // A colour chosen in the table's grid; switching kits asks, No keeps the kit.
    ChooseColourByKeys(kits, "Caption_JerseyColour1", 2);
    QCOMPARE(model->Value(jersey1).toInt(), 3);
    QCOMPARE(KitValue(*db, teamId, 0, EKitColumn::JerseyColour1), 1);
    m_fixture->answer = CUserPrompts::Answer::No;
    kits->KitTypeBox()->setFocus();
    QTest::keyClick(kits->KitTypeBox(), Qt::Key_Down);
    QCOMPARE(kits->ShownType(), 1);
    QCOMPARE(m_fixture->prompts, QStringList{"yesno: " + m_frame->Text("Message_KitsChanged")});
    QCOMPARE(KitValue(*db, teamId, 0, EKitColumn::JerseyColour1), 1);
    QVERIFY(!window->CanUndo());

    // Back home (no question: nothing changed), the same edit, and Yes stores it as one step.
    QTest::keyClick(kits->KitTypeBox(), Qt::Key_Up);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QCOMPARE(model->Value(jersey1).toInt(), 1);
    ChooseColourByKeys(kits, "Caption_JerseyColour1", 2);
    m_fixture->answer = CUserPrompts::Answer::Yes;
    kits->KitTypeBox()->setFocus();
    QTest::keyClick(kits->KitTypeBox(), Qt::Key_Down);
    QCOMPARE(m_fixture->prompts.size(), 2);
    QCOMPARE(KitValue(*db, teamId, 0, EKitColumn::JerseyColour1), 3);
    QCOMPARE(window->History().Count(), 2);
    QVERIFY(m_frame->isWindowModified());
    QVERIFY(window->Banner()->Colour() != first);

    // Reset on the kits page: every kit as opened, as an undoable step.
    const int wrinkleRow = kits->RowOf("Caption_Wrinkle");
    const int wrinkle = KitValue(*db, teamId, 1, EKitColumn::Wrinkle);
    model->setData(model->index(wrinkleRow, 1), wrinkle == 11 ? 10 : 11, Qt::EditRole);
    QTest::mouseClick(kits->ApplyButton(), Qt::LeftButton);
    QVERIFY(KitValue(*db, teamId, 1, EKitColumn::Wrinkle) != wrinkle);
    QTest::mouseClick(kits->ResetButton(), Qt::LeftButton);
    QCOMPARE(KitValue(*db, teamId, 0, EKitColumn::JerseyColour1), 1);
    QCOMPARE(KitValue(*db, teamId, 1, EKitColumn::Wrinkle), wrinkle);
    QCOMPARE(model->Value(wrinkleRow).toInt(), wrinkle);
    QCOMPARE(window->History().Count(), 4);
    m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->trigger();
    QCOMPARE(KitValue(*db, teamId, 0, EKitColumn::JerseyColour1), 3);

    // An X that is no number is refused, the kit untouched.
    const int xRow = kits->RowOf("Caption_ShortsNumberX");
    const uint32_t xBits = db->FindTeam(teamId)->FindKit(1)->ShortsNumberXBits();
    model->setData(model->index(xRow, 1), QStringLiteral("left"), Qt::EditRole);
    m_fixture->prompts.clear();
    QTest::mouseClick(kits->ApplyButton(), Qt::LeftButton);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY(m_fixture->prompts.first().contains(m_frame->Text("Caption_ShortsNumberX")));
    QCOMPARE(db->FindTeam(teamId)->FindKit(1)->ShortsNumberXBits(), xBits);
}

void TeamWindowTest::rivalsRefuseTheTeamItselfAndRepeats() {
    CTeamFrame* window = OpenTeam(0);
    QVERIFY(window);
    CGameDatabase* db = Db();
    const int32_t self = window->TeamId();
    const std::vector<int32_t> league = LeagueTeams();
    CTeamInfoForm* info = window->InfoForm();
    const std::vector<int32_t> stored = info->RivalIds();
    const auto choose = [&](int32_t teamId) {
        WhenModalShown([teamId, &league](QDialog* dialog) {
            auto* tree = dialog->findChild<QTreeView*>();
            const QModelIndex leagueIndex = tree->model()->index(0, 0);
            tree->expand(leagueIndex);
            const int row =
                static_cast<int>(std::find(league.begin(), league.end(), teamId) - league.begin());
            tree->setCurrentIndex(tree->model()->index(row, 0, leagueIndex));
            QTest::keyClick(tree, Qt::Key_Return);
        });
    };

    choose(self);
    QTest::mouseClick(info->AddRivalButton(), Qt::LeftButton);
    QCOMPARE(m_fixture->prompts, QStringList{"warn: " + m_frame->Text("Message_RivalIsTheTeam")});
    QCOMPARE(info->RivalIds(), stored);

    const int32_t other = league.at(3) == self ? league.at(4) : league.at(3);
    choose(other);
    QTest::mouseClick(info->AddRivalButton(), Qt::LeftButton);
    std::vector<int32_t> expected = stored;
    expected.push_back(other);
    QCOMPARE(info->RivalIds(), expected);
    choose(other);
    QTest::mouseClick(info->AddRivalButton(), Qt::LeftButton);
    QCOMPARE(m_fixture->prompts.size(), 2);
    QVERIFY(
        m_fixture->prompts.last().contains(QString::fromStdString(db->FindTeam(other)->Name())));
    QCOMPARE(info->RivalIds(), expected);
    // Nothing reaches the team before Apply; then the list as shown.
    QCOMPARE(db->FindTeam(self)->Rivals(), stored);
    QTest::mouseClick(info->ApplyButton(), Qt::LeftButton);
    QCOMPARE(db->FindTeam(self)->Rivals(), expected);

    // Remove needs a selection.
    info->RivalsList()->clearSelection();
    m_fixture->prompts.clear();
    QTest::mouseClick(info->RemoveRivalButton(), Qt::LeftButton);
    QCOMPARE(m_fixture->prompts,
             QStringList{"warn: " + m_frame->Text("Message_SelectTeamToRemove")});
    const QModelIndex last =
        info->RivalsList()->model()->index(static_cast<int>(expected.size()) - 1, 0);
    QTest::mouseClick(info->RivalsList()->viewport(), Qt::LeftButton, {},
                      info->RivalsList()->visualRect(last).center());
    QTest::mouseClick(info->RemoveRivalButton(), Qt::LeftButton);
    QCOMPARE(info->RivalIds(), stored);
}

void TeamWindowTest::untouchedControlsLeaveFieldsAsStored() {
    CGameDatabase* db = Db();
    const int teamId = LeagueTeams().front();
    CTeam* team = db->FindTeam(teamId);
    // Values no control can show: a stadium the table lacks, an opponent that does not exist,
    // a kit colour outside the table, a switch that is neither 0 nor 1.
    team->SetValue(ETeamColumn::StadiumId, 99999);
    team->SetValue(ETeamColumn::OpponentTeamId, -5);
    team->SetValue(ETeamColumn::Streamers, 7);
    team->FindKit(0)->SetValue(EKitColumn::SocksColour2, db->Colours().Count() + 40);
    CTeamFrame* window = OpenTeam(0);
    QVERIFY(window);
    QCOMPARE(window->InfoForm()->StadiumBox()->currentIndex(), -1);
    QCOMPARE(window->InfoForm()->OpponentBox()->currentIndex(), -1);

    // Apply on each page changes nothing it did not show.
    Retype(window->InfoForm()->ShortNameBox(), QStringLiteral("KES"));
    QTest::mouseClick(window->InfoForm()->ApplyButton(), Qt::LeftButton);
    ClickTab(window->Tabs(), 2);
    window->KitsForm()->Properties()->Model()->setData(
        window->KitsForm()->Properties()->Model()->index(
            window->KitsForm()->RowOf("Caption_Wrinkle"), 1),
        3, Qt::EditRole);
    QTest::mouseClick(window->KitsForm()->ApplyButton(), Qt::LeftButton);
    ClickTab(window->Tabs(), 3);
    QTest::mouseClick(window->MiscForm()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(team->ShortName(), std::string("KES"));
    QCOMPARE(team->FindKit(0)->Value(EKitColumn::Wrinkle), 3);
    QCOMPARE(team->Value(ETeamColumn::StadiumId), 99999);
    QCOMPARE(team->Value(ETeamColumn::OpponentTeamId), -5);
    QCOMPARE(team->Value(ETeamColumn::Streamers), 7);
    QCOMPARE(team->FindKit(0)->Value(EKitColumn::SocksColour2), db->Colours().Count() + 40);

    // A choice the user makes is written.
    CIdComboBox* opponent = window->InfoForm()->OpponentBox();
    ClickTab(window->Tabs(), 0);
    opponent->setFocus();
    QTest::keyClick(opponent, Qt::Key_Down);
    QTest::mouseClick(window->InfoForm()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(team->Value(ETeamColumn::OpponentTeamId), *opponent->SelectedId());
}

// Every number box keeps to the range its column declares in the file, so that whatever is
// typed saves; a stored value outside that range still shows and stays unless changed.
void TeamWindowTest::numbersKeepToTheirColumnsRanges() {
    CGameDatabase* db = Db();
    const auto rangeOf = [db](ETeamColumn column) {
        return CColumnRange::Of(*db, "teams", static_cast<int>(column));
    };
    const CColumnRange prestige = rangeOf(ETeamColumn::Prestige);
    // Beyond the declared range, yet within what the column's bits hold: the file keeps it.
    const int32_t oddPrestige = prestige.high + 3;
    QVERIFY(db->Catalogue().FindTable("teams")->Column(static_cast<int>(ETeamColumn::Prestige))
                ->Fits(oddPrestige));
    const int32_t teamId = LeagueTeams().at(2);
    db->FindTeam(teamId)->SetValue(ETeamColumn::Prestige, oddPrestige);
    CTeamFrame* window = OpenTeam(2);
    QVERIFY(window);
    CTeam* team = db->FindTeam(teamId);

    // Typed numbers beyond the range are not taken, keystroke by keystroke.
    CTeamMiscForm* misc = window->MiscForm();
    ClickTab(window->Tabs(), 3);
    const CColumnRange ball = rangeOf(ETeamColumn::BallType);
    Retype(misc->NumberBox(0), 99);
    QVERIFY(misc->NumberBox(0)->value() <= ball.high);
    // The speech country's arrows stop at the column's end; typing goes no further.
    const CColumnRange speech = rangeOf(ETeamColumn::SpeechCountryId);
    Retype(misc->NumberBox(3), speech.high);
    QTest::keyClick(misc->NumberBox(3), Qt::Key_Up);
    QCOMPARE(misc->NumberBox(3)->value(), speech.high);
    Retype(misc->NumberBox(3), 40000);
    QVERIFY(misc->NumberBox(3)->value() <= speech.high);
    QCOMPARE(misc->NumberBox(3)->toolTip(),
             m_frame->Text("Caption_AllowedRange").arg(speech.low).arg(speech.high));
    QTest::mouseClick(misc->ApplyButton(), Qt::LeftButton);
    QVERIFY(team->Value(ETeamColumn::BallType) <= ball.high);
    QVERIFY(team->Value(ETeamColumn::SpeechCountryId) <= speech.high);

    // A negative attack cannot be typed where the column starts at 0.
    ClickTab(window->Tabs(), 1);
    QSpinBox* attack = window->FormationForm()->AttackBox();
    Retype(attack, -7);
    QVERIFY(attack->value() >= rangeOf(ETeamColumn::Attack).low);
    QTest::mouseClick(window->FormationForm()->ApplyButton(), Qt::LeftButton);
    QVERIFY(team->Value(ETeamColumn::Attack) >= 0);

    // The stored prestige shows as it is and an Apply keeps it; typing stays within range.
    ClickTab(window->Tabs(), 0);
    QCOMPARE(window->InfoForm()->PrestigeBox()->value(), oddPrestige);
    QTest::mouseClick(window->InfoForm()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(team->Value(ETeamColumn::Prestige), oddPrestige);
    Retype(window->InfoForm()->PrestigeBox(), 99);
    QVERIFY(window->InfoForm()->PrestigeBox()->value() <= oddPrestige);

    // What the windows let through saves without a word.
    m_fixture->prompts.clear();
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_fixture->prompts, QStringList());
    QVERIFY(!m_frame->isWindowModified());
}

// A value its column's bits cannot hold (only a damaged edit could make one) is an error of
// the check before the save, and the save says which record and field, not the file.
void TeamWindowTest::anUnstorableValueIsNamedNotTheFile() {
    CGameDatabase* db = Db();
    const int32_t teamId = LeagueTeams().front();
    const QByteArray before = SavedFiles::Bytes(m_fixture->DatabasePath());
    db->FindTeam(teamId)->SetValue(ETeamColumn::BallType, 99);
    db->MarkDirty();
    m_fixture->answer = CUserPrompts::Answer::Save;
    m_fixture->prompts.clear();
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_fixture->prompts.size(), 2);
    QVERIFY(m_fixture->prompts[0].startsWith(QStringLiteral("saveanyway: ")));
    const QString failure = m_fixture->prompts[1];
    QVERIFY2(failure.contains(m_frame->Text("Error_ValueNotStorable")), qPrintable(failure));
    QVERIFY2(failure.contains(QStringLiteral("team %1: teams column ball_type is 99").arg(teamId)),
             qPrintable(failure));
    QVERIFY(!failure.contains(m_frame->Text("Error_OpenToWrite")));
    QCOMPARE(SavedFiles::Bytes(m_fixture->DatabasePath()), before);
    QVERIFY(m_frame->isWindowModified());
}

void TeamWindowTest::undoLeavesSquadsChangedSinceAlone() {
    CTeamFrame* window = OpenTeam(2);
    QVERIFY(window);
    CGameDatabase* db = Db();
    const int32_t teamId = window->TeamId();
    Retype(window->InfoForm()->NameBox(), QStringLiteral("Before The Move"));
    QTest::mouseClick(window->InfoForm()->ApplyButton(), Qt::LeftButton);

    // A player moves to another team in between.
    const int32_t player = db->PlayersOfTeam(teamId).front();
    const int32_t target = LeagueTeams().back();
    QVERIFY(db->MovePlayer(player, teamId, target));
    SChange moved;
    moved.what = SChange::Squad;
    moved.teams = {teamId, target};
    moved.players = {player};
    m_frame->Document().NotifyChanged(moved);
    const std::vector<int32_t> squad = db->PlayersOfTeam(teamId);
    const std::vector<int32_t> targetSquad = db->PlayersOfTeam(target);
    auto* squadList = window->SquadList();
    QCOMPARE(squadList->model()->rowCount(), static_cast<int>(squad.size()));

    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(db->FindTeam(teamId)->Name() != "Before The Move");
    QCOMPARE(db->PlayersOfTeam(teamId), squad);
    QCOMPARE(db->PlayersOfTeam(target), targetSquad);
    QCOMPARE(db->FindPlayer(player)->Teams(), std::vector<int32_t>{target});
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(db->FindTeam(teamId)->Name(), std::string("Before The Move"));
    QCOMPARE(db->PlayersOfTeam(teamId), squad);
}

void TeamWindowTest::editsReachTheSavedFiles() {
    CTeamFrame* window = OpenTeam(0, 1);
    QVERIFY(window);
    const int32_t teamId = window->TeamId();
    Retype(window->InfoForm()->NameBox(), QStringLiteral("Sporting Kestrel"));
    QTest::mouseClick(window->InfoForm()->ApplyButton(), Qt::LeftButton);
    ClickTab(window->Tabs(), 2);
    ChooseColourByKeys(window->KitsForm(), "Caption_ShortsColour1", 1);
    const int shorts = window->KitsForm()
                           ->Properties()
                           ->Model()
                           ->Value(window->KitsForm()->RowOf("Caption_ShortsColour1"))
                           .toInt();
    QTest::mouseClick(window->KitsForm()->ApplyButton(), Qt::LeftButton);

    auto* league = qobject_cast<CLeagueFrame*>(
        m_frame
            ->FindChild(CChildFrame::Kind::League,
                        m_frame->Database()->FindTeam(teamId)->Leagues().front())
            ->widget());
    m_frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(league->parentWidget()));
    const int32_t leagueId = league->LeagueId();
    Retype(league->InfoForm()->NameBox(), QStringLiteral("Kestrel Premier"));
    QTest::mouseClick(league->InfoForm()->ApplyButton(), Qt::LeftButton);
    QTest::keyClick(m_frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(!m_frame->isWindowModified(), qPrintable(m_fixture->prompts.join(u'\n')));
    m_fixture->Stop();

    CGameDatabase saved;
    QVERIFY(SavedFiles::LoadDatabase(*m_fixture, saved));
    QCOMPARE(saved.FindTeam(teamId)->Name(), std::string("Sporting Kestrel"));
    QCOMPARE(saved.FindTeam(teamId)->FindKit(0)->Value(EKitColumn::ShortsColour1), shorts);
    QCOMPARE(saved.FindLeague(leagueId)->name, std::string("Kestrel Premier"));
    const std::optional<CIngameTextDb> texts = SavedFiles::ReadTexts(m_fixture->TextDbPath());
    QVERIFY(texts);
    QCOMPARE(texts->FindText(*CInGameNames::TeamTextId(teamId, 0)),
             std::string("Sporting Kestrel"));
    QCOMPARE(texts->FindText(*CInGameNames::LeagueTextId(leagueId, 0)),
             std::string("Kestrel Premier"));
}

void TeamWindowTest::picturesImportThroughTheirPreview() {
    CTeamFrame* window = OpenTeam(0);
    QVERIFY(window);
    const int teamId = window->TeamId();
    ClickTab(window->Tabs(), 2);
    CTeamKitsForm* kits = window->KitsForm();
    QPushButton* import = kits->ImportPictureButton();
    QPushButton* exportButton = kits->ExportPictureButton();
    QCOMPARE(import->text(), m_frame->Text("Caption_ImportPicture"));
    QVERIFY(!import->accessibleName().isEmpty());
    QVERIFY(!exportButton->accessibleName().startsWith(QStringLiteral("Caption_")));
    QVERIFY(import->focusPolicy() & Qt::TabFocus);
    QVERIFY(import->isEnabled() && exportButton->isEnabled());

    QTemporaryDir files;
    const QString kitPng = DrawnPictures::Kit(files.filePath(QStringLiteral("kit.png")));
    QVERIFY(!kitPng.isEmpty());
    const QString archive = m_fixture->GameFolder() + QStringLiteral("/data/zdata_05.big");
    const QByteArray before = SavedFiles::Bytes(archive);
    QVERIFY(!before.isEmpty());

    // Cancel in the preview: nothing is written.
    QVERIFY(ImportThroughPreview(import, kitPng, [](CPicturePreviewDialog* preview) {
        QTest::mouseClick(preview->Buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    }));
    QCOMPARE(SavedFiles::Bytes(archive), before);

    // OK: the shape the preview showed is what the game's request now decodes and the page shows.
    QImage previewed;
    QString details;
    const QImage oldShown = kits->Picture()->Shown().toImage();
    QVERIFY(ImportThroughPreview(import, kitPng, [&](CPicturePreviewDialog* preview) {
        QVERIFY(preview->Preview()->HasPicture());
        QCOMPARE(preview->Preview()->accessibleName(),
                 m_frame->Text("Caption_PictureImportPreview"));
        details = preview->Details()->text();
        previewed = preview->Preview()->Shown().toImage();
        // A picture with alpha of its own has no magenta to make transparent.
        QVERIFY(!preview->MagentaKey()->isEnabled() && !preview->MagentaKey()->isChecked());
        // Enter takes the default button, OK.
        QTest::keyClick(preview, Qt::Key_Return);
    }));
    QVERIFY2(details.contains(QStringLiteral("DXT5")) || details.contains(QStringLiteral("DXT3")),
             qPrintable(details));
    QVERIFY(details.contains(QStringLiteral("64 \u00D7 64")));
    QVERIFY(details.contains(QStringLiteral("zdata_05.big")));
    // The old archive went into the database's backups, not beside itself.
    QVERIFY(!QFile::exists(archive + QStringLiteral(".bak")));
    const auto archiveCopies = CBackupStore(m_frame->BackupFolder()).List("zdata_05.big");
    QCOMPARE(archiveCopies.size(), size_t{1});
    QFile copy(QString::fromStdString(
        (m_frame->BackupFolder() / archiveCopies.front().name).string()));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), before);
    const QImage read = m_frame->Pictures()->KitImage(teamId, 0);
    QCOMPARE(read.size(), QSize(64, 64));
    QVERIFY(kits->Picture()->Shown().toImage() != oldShown);
    // Transparent around the kit, a yellow hoop across the jersey's chest, as drawn.
    QVERIFY(read.pixelColor(2, 2).alpha() < 128);
    const QColor hoop = read.pixelColor(32, 16);
    QVERIFY(hoop.red() > 200 && hoop.green() > 150 && hoop.blue() < 80);
    QVERIFY(!previewed.isNull());

    // The crest by keyboard: the banner's context menu, Import Picture…, OK.
    const QString crestPng = DrawnPictures::Crest(files.filePath(QStringLiteral("crest.png")));
    bool menuSeen = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menuSeen = true;
        QCOMPARE(menu->actions().at(0)->text(), m_frame->Text("Caption_ImportPicture"));
        QVERIFY(menu->actions().at(1)->isEnabled());
        ChooseFileThen(crestPng, [&](QDialog* dialog) {
            auto* preview = qobject_cast<CPicturePreviewDialog*>(dialog);
            QVERIFY(preview);
            details = preview->Details()->text();
            QTest::mouseClick(preview->Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QImage oldCrest = window->Banner()->Picture().toImage();
    QVERIFY(UserSteps::Activate(m_frame));
    window->Banner()->setFocus();
    QVERIFY(window->Banner()->hasFocus());
    QTest::keyClick(window->Banner(), Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(menuSeen);
    QVERIFY2(details.contains(QStringLiteral("DXT")), qPrintable(details));
    QVERIFY(window->Banner()->Picture().toImage() != oldCrest);
    // Outside the shield the crest stays transparent.
    QVERIFY(m_frame->Pictures()->Logo(teamId).pixelColor(2, 60).alpha() < 128);
    QCOMPARE(m_frame->Pictures()->Logo(teamId).pixelColor(32, 20).alpha(), 255);
    QVERIFY(m_fixture->prompts.isEmpty());
}

void TeamWindowTest::magentaBackgroundsShowTransparentEverywhere() {
    CMainFrame* frame = m_frame;
    const int32_t leagueId = Db()->Leagues().begin()->first;
    CTeamFrame* window = OpenTeam(0);
    QVERIFY(window);
    const int teamId = window->TeamId();
    ClickTab(window->Tabs(), 2);
    CTeamKitsForm* kits = window->KitsForm();
    QTemporaryDir files;
    const QString kitPng = MagentaPicture(files.filePath(QStringLiteral("kit.png")), 128);
    QVERIFY(!kitPng.isEmpty());

    // The preview offers keeping the magenta, ticked off by default; unticking shows the pink
    // box the game would draw, ticking again the transparency, and OK writes that.
    QPushButton* import = kits->ImportPictureButton();
    QVERIFY(ImportThroughPreview(import, kitPng, [&](CPicturePreviewDialog* preview) {
        QCheckBox* magenta = preview->MagentaKey();
        QVERIFY(magenta->isVisible() && magenta->isEnabled() && magenta->isChecked());
        QCOMPARE(magenta->accessibleName(), frame->Text("Caption_MagentaTransparent"));
        QCOMPARE(magenta->toolTip(), frame->Text("Caption_MagentaTransparent_Help"));
        QCOMPARE(AlphaAt(preview->Preview()->Shown().toImage(), 0.05, 0.5), 0);
        QTest::mouseClick(magenta, Qt::LeftButton, {}, QPoint(8, magenta->height() / 2));
        QVERIFY(!magenta->isChecked());
        const QImage pink = preview->Preview()->Shown().toImage();
        QCOMPARE(AlphaAt(pink, 0.05, 0.5), 255);
        QVERIFY(pink.pixelColor(2, pink.height() / 2).red() > 240);
        QTest::mouseClick(magenta, Qt::LeftButton, {}, QPoint(8, magenta->height() / 2));
        QVERIFY(magenta->isChecked());
        QCOMPARE(AlphaAt(preview->Preview()->Shown().toImage(), 0.05, 0.5), 0);
        QTest::mouseClick(preview->Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }));
    QVERIFY(m_fixture->prompts.isEmpty());
    // The kits page: clear where the magenta was, the badge as drawn.
    const QImage kit = kits->Picture()->Shown().toImage();
    QVERIFY(!kit.isNull());
    for (const double x : {0.05, 0.95})
        QCOMPARE(AlphaAt(kit, x, 0.5), 0);
    QCOMPARE(AlphaAt(kit, 0.5, 0.5), 255);
    QCOMPARE(PinkPixels(kit), 0);
    const QColor band = kit.pixelColor(kit.width() / 2, kit.height() / 2);
    QVERIFY(band.red() > 200 && band.green() > 150 && band.blue() < 80);

    // The crest from the banner's context menu: the banner, the league window's teams list
    // and the tree of leagues show its background clear.
    const QString crestPng = MagentaPicture(files.filePath(QStringLiteral("crest.png")), 96);
    bool menuSeen = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menuSeen = true;
        ChooseFileThen(crestPng, [&](QDialog* dialog) {
            auto* preview = qobject_cast<CPicturePreviewDialog*>(dialog);
            QVERIFY(preview && preview->MagentaKey()->isChecked());
            QTest::mouseClick(preview->Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions().at(0)).center());
    });
    QVERIFY(UserSteps::Activate(frame));
    window->Banner()->setFocus();
    QTest::keyClick(window->Banner(), Qt::Key_Menu);
    QVERIFY(menuSeen);
    const QImage banner = window->Banner()->Picture().toImage();
    QVERIFY(!banner.isNull());
    QCOMPARE(AlphaAt(banner, 0.05, 0.5), 0);
    QCOMPARE(AlphaAt(banner, 0.5, 0.5), 255);
    QCOMPARE(PinkPixels(banner), 0);
    CLeagueFrame* league = nullptr;
    for (QMdiSubWindow* sub : frame->MdiArea()->subWindowList())
        if (auto* found = qobject_cast<CLeagueFrame*>(sub->widget()))
            league = found->LeagueId() == leagueId ? found : league;
    QVERIFY(league);
    QAbstractItemModel* teams = league->TeamsList()->model();
    const QModelIndexList rows =
        teams->match(teams->index(0, 0), CTeamsListModel::kTeamIdRole, teamId, 1, Qt::MatchExactly);
    QVERIFY(!rows.isEmpty());
    const QIcon listed = rows.first().data(Qt::DecorationRole).value<QIcon>();
    QVERIFY(!listed.isNull());
    const QImage listedCrest = listed.pixmap(listed.availableSizes().value(0)).toImage();
    QCOMPARE(AlphaAt(listedCrest, 0.05, 0.5), 0);
    QCOMPARE(AlphaAt(listedCrest, 0.5, 0.5), 255);
    QCOMPARE(PinkPixels(listedCrest), 0);

    bool treeSeen = false;
    WhenModalShown([&](QDialog* dialog) {
        auto* tree = dialog->findChild<QTreeView*>();
        QVERIFY(tree);
        const QString name = QString::fromStdString(frame->Database()->FindTeam(teamId)->Name());
        const QModelIndexList found =
            tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, name, 1,
                                 Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        tree->setCurrentIndex(found.first().parent());
        QTest::keyClick(tree, Qt::Key_Right);
        const QIcon icon = found.first().data(Qt::DecorationRole).value<QIcon>();
        QVERIFY(!icon.isNull());
        const QImage crest = icon.pixmap(CTeamSelectDialog::kIconSize).toImage();
        QCOMPARE(AlphaAt(crest, 0.5, 0.5), 255);
        QCOMPARE(PinkPixels(crest), 0);
        treeSeen = true;
        dialog->reject();
    });
    // The tree of leagues and teams, as the rivals' Add asks it; cancelled.
    ClickTab(window->Tabs(), 0);
    QTest::mouseClick(window->InfoForm()->AddRivalButton(), Qt::LeftButton);
    QVERIFY(treeSeen);
}

QTEST_MAIN(TeamWindowTest)
#include "TeamWindowTest.moc"
