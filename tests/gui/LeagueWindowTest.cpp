#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/model/CColumnRange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CLeagueInfoForm.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

using UserSteps::OpenLeagueAtRow;
using UserSteps::Retype;
using UserSteps::StartShown;

QStringList ListedLeagues(CMainFrame& frame) {
    QStringList names;
    QTreeWidget* list = frame.WorkspaceBar()->LeaguesList();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        names << list->topLevelItem(row)->text(0);
    }
    return names;
}

} // namespace

class LeagueWindowTest : public FreshEditorTest {
    Q_OBJECT

public:
    LeagueWindowTest() : FreshEditorTest(QSize(1100, 760)) {}

private slots:
    void showsTheLeagueWithAccessibleControls();
    void renameRetitlesAndRefreshesTheLeaguesList();
    void resetAfterTwoEditsCanBeUndone();
    void refusesNamesTheGameCannotKeep();
};

void LeagueWindowTest::showsTheLeagueWithAccessibleControls() {
    CLeagueFrame* window = OpenLeagueAtRow(*m_frame, 0);
    QVERIFY(window);
    const CLeague* league = m_frame->Database()->FindLeague(window->LeagueId());
    CLeagueInfoForm* form = window->InfoForm();
    QCOMPARE(window->Banner()->Title(), QString::fromStdString(league->name));
    QCOMPARE(window->Tabs()->tabText(0), QStringLiteral("Info"));
    QCOMPARE(form->NameBox()->text(), QString::fromStdString(league->name));
    QCOMPARE(form->LevelBox()->value(), league->Level());
    QCOMPARE(form->NameBox()->accessibleName(), m_frame->Text("Caption_League"));
    QCOMPARE(form->MediumNameBox()->accessibleName(), m_frame->Text("Caption_LeagueNameMedium"));
    QCOMPARE(form->ShortNameBox()->accessibleName(), m_frame->Text("Caption_LeagueNameShort"));
    QCOMPARE(form->LevelBox()->accessibleName(), m_frame->Text("Caption_LeagueLevel"));
    QCOMPARE(form->ApplyButton()->text(), m_frame->Text("Caption_Apply"));
    QVERIFY(window->TeamsList()->isVisible());
    // The team list shows only columns with something in them: each team and its squad size.
    QAbstractItemModel* teams = window->TeamsList()->model();
    QCOMPARE(teams->columnCount(), 2);
    QCOMPARE(teams->headerData(0, Qt::Horizontal).toString(), m_frame->Text("Caption_Team"));
    QCOMPARE(teams->headerData(1, Qt::Horizontal).toString(), m_frame->Text("Caption_Players"));
    QVERIFY(teams->rowCount() > 0);
    for (int row = 0; row < teams->rowCount(); ++row) {
        const int32_t team = teams->index(row, 0).data(CTeamsListModel::kTeamIdRole).toInt();
        QCOMPARE(teams->index(row, 1).data().toInt(),
                 static_cast<int>(m_frame->Database()->PlayersOfTeam(team).size()));
    }
    QVERIFY(!m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->isEnabled());

    // Nothing changed: Apply records no step.
    QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
    QVERIFY(!window->CanUndo());
    QVERIFY(!m_frame->isWindowModified());
}

void LeagueWindowTest::renameRetitlesAndRefreshesTheLeaguesList() {
    CLeagueFrame* window = OpenLeagueAtRow(*m_frame, 1);
    QVERIFY(window);
    QMdiSubWindow* sub = m_frame->MdiArea()->activeSubWindow();
    CLeague* league = m_frame->Database()->FindLeague(window->LeagueId());
    const QString oldName = QString::fromStdString(league->name);
    const QString oldTitle = sub->windowTitle();
    CLeagueInfoForm* form = window->InfoForm();

    // The level alone: stored, one step, but no new title.
    Retype(form->LevelBox(), 7);
    QTest::keyClick(form->LevelBox(), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(league->Level(), 7);
    QVERIFY(window->CanUndo());
    // The level keeps to its column's range: neither -5 nor 99 can be typed.
    const CColumnRange level =
        CColumnRange::Of(*m_frame->Database(), "leagues", CLeague::kLevelColumn);
    for (int typed : {-5, 99}) {
        Retype(form->LevelBox(), typed);
        QVERIFY(form->LevelBox()->value() >= level.low && form->LevelBox()->value() <= level.high);
    }
    Retype(form->LevelBox(), 7);
    QCOMPARE(sub->windowTitle(), oldTitle);
    QVERIFY(m_frame->isWindowModified());

    Retype(form->NameBox(), QStringLiteral("Ligue Kestrel"));
    QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
    QCOMPARE(league->name, std::string("Ligue Kestrel"));
    QCOMPARE(sub->windowTitle(), m_frame->Text("Caption_League") + " - Ligue Kestrel");
    QVERIFY(m_frame->windowTitle().contains(QStringLiteral("Ligue Kestrel")));
    QCOMPARE(window->Banner()->Title(), QStringLiteral("Ligue Kestrel"));
    QVERIFY(ListedLeagues(*m_frame).contains(QStringLiteral("Ligue Kestrel")));
    QVERIFY(!ListedLeagues(*m_frame).contains(oldName));
    // The main window finds the window under its new title.
    QVERIFY(m_frame->OpenLeague(window->LeagueId()));
    QCOMPARE(m_frame->MdiArea()->subWindowList().size(), 1);

    // Undo (Ctrl+Z in the main window) takes the name back, and the title with it.
    QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(QString::fromStdString(league->name), oldName);
    QCOMPARE(sub->windowTitle(), oldTitle);
    QCOMPARE(form->NameBox()->text(), oldName);
    QVERIFY(ListedLeagues(*m_frame).contains(oldName));
    QCOMPARE(league->Level(), 7);
    QTest::keyClick(m_frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(league->name, std::string("Ligue Kestrel"));
}

void LeagueWindowTest::resetAfterTwoEditsCanBeUndone() {
    CLeagueFrame* window = OpenLeagueAtRow(*m_frame, 2);
    QVERIFY(window);
    CLeague* league = m_frame->Database()->FindLeague(window->LeagueId());
    const CLeague opened = *league;
    CLeagueInfoForm* form = window->InfoForm();

    Retype(form->ShortNameBox(), QStringLiteral("KST"));
    QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
    Retype(form->NameBox(), QStringLiteral("Second Name"));
    Retype(form->LevelBox(), 3);
    QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
    QCOMPARE(window->History().Count(), 3);

    QTest::keyClick(form->NameBox(), Qt::Key_R, Qt::AltModifier);
    QCOMPARE(*league, opened);
    QCOMPARE(form->NameBox()->text(), QString::fromStdString(opened.name));
    QCOMPARE(form->ShortNameBox()->text(), QString::fromStdString(opened.shortName));
    QCOMPARE(window->History().Count(), 4);

    m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"))->trigger();
    QCOMPARE(league->name, std::string("Second Name"));
    QCOMPARE(league->shortName, std::string("KST"));
    QCOMPARE(league->Level(), 3);
    QCOMPARE(form->LevelBox()->value(), 3);
}

void LeagueWindowTest::refusesNamesTheGameCannotKeep() {
    CLeagueFrame* window = OpenLeagueAtRow(*m_frame, 0);
    QVERIFY(window);
    CLeague* league = m_frame->Database()->FindLeague(window->LeagueId());
    const CLeague opened = *league;
    CLeagueInfoForm* form = window->InfoForm();

    // 150 two-byte letters: 300 bytes. Refused, naming the field; nothing written.
    form->MediumNameBox()->setText(QString(150, QChar(0x00E9)));
    Retype(form->LevelBox(), 9);
    QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
    QCOMPARE(m_fixture->prompts.size(), 1);
    QVERIFY2(m_fixture->prompts.first().contains(m_frame->Text("Caption_LeagueNameMedium")),
             qPrintable(m_fixture->prompts.first()));
    QCOMPARE(*league, opened);
    QVERIFY(!window->CanUndo());
    // Exactly 255 bytes is kept.
    form->MediumNameBox()->setText(QString(127, QChar(0x00E9)) + "x");
    QTest::mouseClick(form->ApplyButton(), Qt::LeftButton);
    QCOMPARE(league->mediumName.size(), size_t{255});
    m_fixture->Stop();

    // Without the in-game text database a new name would be lost at the next save.
    QVERIFY(QFile::remove(m_fixture->TextDbPath()));
    m_frame = StartShown(*m_fixture);
    QVERIFY(m_frame);
    window = OpenLeagueAtRow(*m_frame, 0);
    league = m_frame->Database()->FindLeague(window->LeagueId());
    const CLeague nameless = *league;
    m_fixture->prompts.clear();
    Retype(window->InfoForm()->NameBox(), QStringLiteral("Lost"));
    QTest::mouseClick(window->InfoForm()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(m_fixture->prompts, QStringList{"warn: " + m_frame->Text("Message_NameNeedsTextDb")});
    QCOMPARE(*league, nameless);
    // The level alone is no rename and is taken.
    window->InfoForm()->NameBox()->setText(QString::fromStdString(nameless.name));
    Retype(window->InfoForm()->LevelBox(), 4);
    QTest::mouseClick(window->InfoForm()->ApplyButton(), Qt::LeftButton);
    QCOMPARE(league->Level(), 4);
    QCOMPARE(m_fixture->prompts.size(), 1);
}

QTEST_MAIN(LeagueWindowTest)
#include "LeagueWindowTest.moc"
