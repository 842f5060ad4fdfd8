#include "EditorFixture.h"
#include "SavedFiles.h"
#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"
#include "editor/localisation/CLocalisationTable.h"
#include "editor/app/CMainFrame.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/app/CWorkspaceBar.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CLineUp.h"
#include "editor/toolkit/CFormationView.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CTeamFormationForm.h"
#include "editor/windows/CTeamFrame.h"
#include "editor/windows/CTeamsListView.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

// The first team of the sample with at least `players` players.
int TeamWith(const CGameDatabase& db, size_t players) {
    for (const auto& [id, team] : db.Teams())
        if (team.Links().size() >= players)
            return id;
    return 0;
}

int32_t PositionOf(const CGameDatabase& db, int team, int32_t player) {
    const CTeamPlayerLink* link = db.FindTeamPlayerLink(player, team);
    return link ? link->formationPosition : -100;
}

// The players of a team holding a position code, in link order.
std::vector<int32_t> PlayersAt(const CGameDatabase& db, int team, int32_t position) {
    std::vector<int32_t> players;
    for (const CTeamPlayerLink& link : db.FindTeam(team)->Links())
        if (link.formationPosition == position)
            players.push_back(link.playerId);
    return players;
}

// A pitch place no link of the team holds.
int EmptyPitchSlot(const CGameDatabase& db, int team) {
    for (int slot = 1; slot < CLineUp::kPitchSlots; ++slot)
        if (PlayersAt(db, team, slot).empty())
            return slot;
    return -1;
}

// The team's window opened as a user does: its league in the leagues list, then the team in
// the league window.
CTeamFrame* OpenTeam(CMainFrame& frame, int team) {
    return UserSteps::OpenTeamFromLeague(frame, frame.Database()->FindTeam(team)->Leagues().front(),
                                         team);
}

} // namespace

class FormationPageTest : public QObject {
    Q_OBJECT

private:
    // The editor on the sample with the formation page of a team in front, reached through
    // the leagues list, the league window and the team window's tab.
    CTeamFormationForm* OpenPage(int team, QSize size = QSize(1100, 800)) {
        m_fixture = std::make_unique<EditorFixture>();
        m_frame = UserSteps::StartShown(*m_fixture, size);
        if (!m_frame)
            return nullptr;
        m_team = team != 0 ? team : TeamWith(*m_frame->Database(), 18);
        m_window = OpenTeam(*m_frame, m_team);
        if (!m_window)
            return nullptr;
        m_frame->MdiArea()->activeSubWindow()->showMaximized();
        UserSteps::ClickTab(m_window->Tabs(), 1);
        m_page = m_window->FormationForm();
        return m_page->isVisible() ? m_page : nullptr;
    }
    CGameDatabase& Db() { return *m_frame->Database(); }
    // The squad was changed directly on the record: the windows hear of it as of any change.
    void TellSquadChanged() {
        SChange change;
        change.what = SChange::Squad;
        change.teams = {m_team};
        m_frame->Document().NotifyChanged(change);
    }
    CFormationView* Pitch() { return m_page->Pitch(); }
    QPoint SlotPoint(int slot) { return Pitch()->CellRect(CLineUp::CellOfSlot(slot)).center(); }
    // A real left drag from one slot to another, through the middle of the pitch.
    void Drag(int fromSlot, int toSlot) {
        QTest::mousePress(Pitch(), Qt::LeftButton, {}, SlotPoint(fromSlot));
        QTest::mouseMove(Pitch(), Pitch()->rect().center());
        QTest::mouseMove(Pitch(), SlotPoint(toSlot));
        QTest::mouseRelease(Pitch(), Qt::LeftButton, {}, SlotPoint(toSlot));
    }
    int SlotOnPitch(int32_t player) {
        const int index = m_page->LineUp().MarkerOfPlayer(player);
        return index < 0 ? -1 : m_page->LineUp().Markers()[static_cast<size_t>(index)].slot;
    }
    int32_t TakerShown(int setPieceSlot) {
        const int index = m_page->LineUp().MarkerInSlot(setPieceSlot);
        return index < 0 ? 0 : m_page->LineUp().Markers()[static_cast<size_t>(index)].playerId;
    }
    // Carries the picked-up marker to a slot with the arrow keys, as a keyboard user does.
    void CarryTo(int slot) {
        const int target = CLineUp::CellOfSlot(slot);
        for (int step = 0; step < 40 && Pitch()->PickedCell() != target; ++step) {
            const int cell = Pitch()->PickedCell();
            const int dx = target % 10 - cell % 10;
            const int dy = target / 10 - cell / 10;
            const Qt::Key key = dx != 0 ? (dx > 0 ? Qt::Key_Right : Qt::Key_Left)
                                        : (dy > 0 ? Qt::Key_Down : Qt::Key_Up);
            QTest::keyClick(Pitch(), key);
        }
        QCOMPARE(Pitch()->PickedCell(), target);
    }
    // Selects the marker in a slot with a right click, then picks it up with Space.
    void PickUp(int slot) {
        QTest::mouseClick(Pitch(), Qt::RightButton, {}, SlotPoint(slot));
        QTest::keyClick(Pitch(), Qt::Key_Space);
        QCOMPARE(Pitch()->PickedMarker(), Pitch()->SelectedMarker());
    }
    void ClickApply() { QTest::mouseClick(m_page->ApplyButton(), Qt::LeftButton); }
    QComboBox* FormationBox() { return m_page->findChild<QComboBox*>(); }
    // Chooses that entry of the formations with the Down key from the entry above it.
    void ChooseFormation(int entry) {
        FormationBox()->setFocus();
        FormationBox()->setCurrentIndex(entry - 1);
        QTest::keyClick(FormationBox(), Qt::Key_Down);
    }

    std::unique_ptr<EditorFixture> m_fixture;
    CTeamFormationForm* m_page = nullptr;
    CTeamFrame* m_window = nullptr;
    CMainFrame* m_frame = nullptr;
    int m_team = 0;

private slots:
    void cleanup() {
        m_page = nullptr;
        m_window = nullptr;
        m_fixture.reset();
    }

    void benchPlayersComeOnOnlyBySwappingWithElevenOnThePitch() {
        QVERIFY(OpenPage(0));
        const int empty = EmptyPitchSlot(Db(), m_team);
        const int32_t sub = PlayersAt(Db(), m_team, 32).front();
        const int32_t keeper = PlayersAt(Db(), m_team, 0).front();
        const int32_t back = Db().FindTeam(m_team)->Links()[1].playerId;
        const int backSlot = SlotOnPitch(back);
        QCOMPARE(m_page->LineUp().PitchCount(), 11);

        Drag(32, empty);
        QCOMPARE(SlotOnPitch(sub), 32);
        Drag(32, backSlot);
        QCOMPARE(SlotOnPitch(sub), backSlot);
        QCOMPARE(SlotOnPitch(back), 32);
        QCOMPARE(Pitch()->SelectedMarker(), m_page->LineUp().MarkerOfPlayer(sub));

        // The goalkeeper never leaves for an empty place, but swaps with anyone.
        Drag(0, empty);
        QCOMPARE(SlotOnPitch(keeper), 0);
        Drag(0, 37);
        QCOMPARE(SlotOnPitch(keeper), 37);
        // A drop beyond the grid puts the marker back.
        QTest::mousePress(Pitch(), Qt::LeftButton, {}, SlotPoint(backSlot));
        QTest::mouseRelease(Pitch(), Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(SlotOnPitch(sub), backSlot);

        // Nothing reaches the links before Apply.
        QCOMPARE(PositionOf(Db(), m_team, sub), 32);
        ClickApply();
        QCOMPARE(PositionOf(Db(), m_team, sub), backSlot);
        QCOMPARE(PositionOf(Db(), m_team, back), 32);
        QCOMPARE(PositionOf(Db(), m_team, keeper), 33);
        QVERIFY(Db().IsDirty());
    }

    void theKeyboardMovesMarkersByTheRulesOfADrag() {
        QVERIFY(OpenPage(0));
        const int empty = EmptyPitchSlot(Db(), m_team);
        const int32_t sub = PlayersAt(Db(), m_team, 32).front();
        const int32_t keeper = PlayersAt(Db(), m_team, 0).front();
        const int32_t back = Db().FindTeam(m_team)->Links()[1].playerId;
        const int backSlot = SlotOnPitch(back);
        Pitch()->setFocus();

        // A substitute cannot take an empty place: Space there returns him to the bench.
        PickUp(32);
        QAccessibleInterface* pitch = QAccessible::queryAccessibleInterface(Pitch());
        QAccessibleInterface* carried = pitch->child(Pitch()->PickedMarker());
        QVERIFY(carried->state().pressed);
        QCOMPARE(carried->text(QAccessible::Description),
                 QStringLiteral("Picked up, over Substitute"));
        CarryTo(empty);
        QCOMPARE(carried->text(QAccessible::Description),
                 QStringLiteral("Picked up, over ") +
                     m_frame->Text(std::string(CLocalisationTable::PositionKey(empty)).c_str()));
        QTest::keyClick(Pitch(), Qt::Key_Space);
        QCOMPARE(Pitch()->PickedMarker(), -1);
        QCOMPARE(SlotOnPitch(sub), 32);
        // On a player of the eleven he swaps, and stays selected to be carried on.
        QTest::keyClick(Pitch(), Qt::Key_Space);
        CarryTo(backSlot);
        QTest::keyClick(Pitch(), Qt::Key_Space);
        QCOMPARE(SlotOnPitch(sub), backSlot);
        QCOMPARE(SlotOnPitch(back), 32);
        QCOMPARE(Pitch()->SelectedMarker(), m_page->LineUp().MarkerOfPlayer(sub));

        // Escape puts the goalkeeper back; Space on a reserve place swaps him there.
        PickUp(0);
        CarryTo(37);
        QTest::keyClick(Pitch(), Qt::Key_Escape);
        QCOMPARE(SlotOnPitch(keeper), 0);
        QVERIFY(m_window->isVisible());
        QTest::keyClick(Pitch(), Qt::Key_Space);
        CarryTo(37);
        QTest::keyClick(Pitch(), Qt::Key_Space);
        QCOMPARE(SlotOnPitch(keeper), 37);

        // A set-piece label dropped on a player makes him the taker.
        const int32_t midfielder = Db().FindTeam(m_team)->Links()[6].playerId;
        PickUp(55);
        CarryTo(SlotOnPitch(midfielder));
        QTest::keyClick(Pitch(), Qt::Key_Space);
        QCOMPARE(TakerShown(55), midfielder);

        ClickApply();
        QCOMPARE(PositionOf(Db(), m_team, sub), backSlot);
        QCOMPARE(PositionOf(Db(), m_team, keeper), 33);
        QCOMPARE(Db().FindTeam(m_team)->Taker(ETaker::Captain), midfielder);
    }

    void overflowingBenchColumnsAreShownAndStoredSafely() {
        QVERIFY(OpenPage(0));
        CTeam& team = *Db().FindTeam(m_team);
        // Six substitutes: the sixth shows among the first-pick reserves.
        const auto& links = team.Links();
        std::vector<int32_t> bench;
        for (const CTeamPlayerLink& link : links)
            if (link.formationPosition >= 32)
                bench.push_back(link.playerId);
        QVERIFY(bench.size() >= 6);
        for (size_t i = 0; i < 6; ++i)
            team.FindLink(bench[i])->formationPosition = 32;
        // Ten second-pick reserves among the pitch players beyond the goalkeeper.
        std::vector<int32_t> seconds;
        for (size_t i = 1; i <= 10; ++i) {
            team.FindLink(links[i].playerId)->formationPosition = 34;
            seconds.push_back(links[i].playerId);
        }
        for (size_t i = 6; i < bench.size(); ++i)
            team.FindLink(bench[i])->formationPosition = 33;
        TellSquadChanged();

        QCOMPARE(SlotOnPitch(bench[5]), 37);
        QCOMPARE(SlotOnPitch(seconds[8]), 54);
        QCOMPARE(SlotOnPitch(seconds[9]), -1);
        // Nothing but set pieces shows in the set-piece row.
        for (int slot = 55; slot < 60; ++slot) {
            const int index = m_page->LineUp().MarkerInSlot(slot);
            QVERIFY(index < 0 ||
                    m_page->LineUp().Markers()[static_cast<size_t>(index)].IsSetPiece());
        }
        ClickApply();
        QCOMPARE(PositionOf(Db(), m_team, bench[5]), 33);
        QCOMPARE(PositionOf(Db(), m_team, bench[4]), 32);
        QCOMPARE(PositionOf(Db(), m_team, seconds[9]), 34);
        QVERIFY(Db().FindTeamPlayerLink(seconds[9], m_team));
    }

    void setPiecesAreGivenByDroppingEitherWay() {
        QVERIFY(OpenPage(0));
        const int32_t midfielder = Db().FindTeam(m_team)->Links()[6].playerId;
        const int slot = SlotOnPitch(midfielder);
        Drag(slot, 55);
        QCOMPARE(TakerShown(55), midfielder);
        QCOMPARE(SlotOnPitch(midfielder), slot);

        const int32_t sub = PlayersAt(Db(), m_team, 32)[1];
        Drag(56, 33);
        QCOMPARE(TakerShown(56), sub);
        QCOMPARE(SlotOnPitch(sub), 33);
        QCOMPARE(
            m_page->LineUp().Markers()[static_cast<size_t>(m_page->LineUp().MarkerInSlot(56))].slot,
            56);

        QVERIFY(Db().FindTeam(m_team)->Taker(ETaker::Captain) != midfielder);
        ClickApply();
        QCOMPARE(Db().FindTeam(m_team)->Taker(ETaker::Captain), midfielder);
        QCOMPARE(Db().FindTeam(m_team)->Taker(ETaker::FreeKick), sub);
        QCOMPARE(PositionOf(Db(), m_team, midfielder), slot);
    }

    void aFormationFillsOnlyTheRowsThereAre() {
        QVERIFY(OpenPage(0));
        CTeam& team = *Db().FindTeam(m_team);
        // Cut the squad to seven: the rest leave the team.
        while (team.Links().size() > 7)
            Db().RemovePlayerFromTeam(team.Links().back().playerId, m_team);
        for (const CTeamPlayerLink& link : team.Links())
            team.FindLink(link.playerId)->formationPosition = 32;
        TellSquadChanged();
        QComboBox* formation = FormationBox();
        QCOMPARE(formation->accessibleName(), QStringLiteral("Formation"));
        QCOMPARE(formation->count(), static_cast<int>(Db().Formations().size()));
        ChooseFormation(4); // 0 3 4 6 7 16 17 18 26 27 28
        QCOMPARE(formation->currentIndex(), 4);
        QCOMPARE(team.Value(ETeamColumn::FormationId), formation->itemData(4).toInt());
        const int32_t expected[] = {0, 3, 4, 6, 7, 16, 17};
        for (size_t row = 0; row < 7; ++row)
            QCOMPARE(team.Links()[row].formationPosition, expected[row]);
        QCOMPARE(team.Links().size(), size_t(7));
        QCOMPARE(m_page->LineUp().PitchCount(), 7);
    }

    void aFormationChangeIsOneUndoStep() {
        QVERIFY(OpenPage(0));
        CTeam& team = *Db().FindTeam(m_team);
        const CTeam before = team;
        QComboBox* formation = FormationBox();
        const int entry = formation->currentIndex() == 10 ? 11 : 10;
        ChooseFormation(entry);
        // Entry 10 or 11 puts a sweeper (1) in the second row: the squad list's second player.
        const std::vector<int32_t> rows = m_window->SquadOrder();
        QCOMPARE(PositionOf(Db(), m_team, rows[1]), 1);
        QCOMPARE(SlotOnPitch(rows[1]), 1);
        QCOMPARE(team.Value(ETeamColumn::FormationId), formation->itemData(entry).toInt());
        QVERIFY(team.Links() != before.Links());

        QAction* undo = m_frame->ActionForKey(QStringLiteral("Menu_EditUndo"));
        QVERIFY(undo->isEnabled());
        m_frame->MdiArea()->activeSubWindow()->setFocus();
        undo->trigger();
        QCOMPARE(team.Value(ETeamColumn::FormationId), before.Value(ETeamColumn::FormationId));
        QCOMPARE(team.Links(), before.Links());
        QCOMPARE(formation->currentData().toInt(), before.Value(ETeamColumn::FormationId));
        QCOMPARE(SlotOnPitch(rows[1]), before.FindLink(rows[1])->formationPosition);

        QAction* redo = m_frame->ActionForKey(QStringLiteral("Menu_EditRedo"));
        QVERIFY(redo->isEnabled());
        redo->trigger();
        QCOMPARE(PositionOf(Db(), m_team, rows[1]), 1);
        QCOMPARE(team.Value(ETeamColumn::FormationId), formation->itemData(entry).toInt());
    }

    // The formation goes to the squad list's rows as the user sorted them, not to link order.
    void aFormationFollowsTheSquadListAsSorted() {
        QVERIFY(OpenPage(0));
        UserSteps::ClickTab(m_window->Tabs(), 0);
        CPlayersListView* squad = m_window->SquadList();
        QHeaderView* header = squad->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
        const std::vector<int32_t> rows = m_window->SquadOrder();
        QCOMPARE(rows.size(), Db().FindTeam(m_team)->Links().size());
        QStringList names;
        for (int32_t id : rows)
            names << QString::fromStdString(Db().PlayerDisplayName(id));
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return QString::localeAwareCompare(a.toLower(), b.toLower()) < 0;
        });
        QCOMPARE(names, sorted);
        QVERIFY(rows != Db().PlayersOfTeam(m_team));

        UserSteps::ClickTab(m_window->Tabs(), 1);
        QComboBox* formation = FormationBox();
        const int entry = formation->currentIndex() == 10 ? 11 : 10;
        ChooseFormation(entry);
        // The first name in the list keeps goal, the second is the sweeper, the first eleven
        // are on the pitch and the rest where they were.
        QCOMPARE(PositionOf(Db(), m_team, rows[0]), 0);
        QCOMPARE(PositionOf(Db(), m_team, rows[1]), 1);
        for (size_t row = 0; row < 11; ++row)
            QVERIFY(PositionOf(Db(), m_team, rows[row]) < 32);
    }

    void twoPlayersInOnePlaceStayVisibleAndSaySo() {
        QVERIFY(OpenPage(0));
        CTeam& team = *Db().FindTeam(m_team);
        const int32_t first = team.Links()[3].playerId;
        const int32_t second = team.Links()[14].playerId;
        team.FindLink(second)->formationPosition = team.Links()[3].formationPosition;
        TellSquadChanged();
        const int a = m_page->LineUp().MarkerOfPlayer(first);
        const int b = m_page->LineUp().MarkerOfPlayer(second);
        QVERIFY(Pitch()->MarkerRect(a) != Pitch()->MarkerRect(b));
        QVERIFY(Pitch()->MarkerRect(b).contains(
            Pitch()->MarkerRect(a).center() +
            QPoint(Pitch()->CellWidth() / 3, Pitch()->CellHeight() / 2)));
        const QString name = QString::fromStdString(Db().PlayerDisplayName(first));
        QVERIFY2(Pitch()->Markers()[b].toolTip.contains(name),
                 qPrintable(Pitch()->Markers()[b].toolTip));
        QVERIFY(Pitch()->Markers()[b].toolTip.contains(QStringLiteral("Shares this position")));
    }

    void markersOpenTheirPlayersAndReadAloud() {
        QVERIFY(OpenPage(0));
        const int32_t keeper = PlayersAt(Db(), m_team, 0).front();
        QAccessibleInterface* pitch = QAccessible::queryAccessibleInterface(Pitch());
        QCOMPARE(pitch->text(QAccessible::Name), QStringLiteral("Line-up"));
        QCOMPARE(pitch->childCount(), static_cast<int>(m_page->LineUp().Markers().size()));
        const int index = m_page->LineUp().MarkerOfPlayer(keeper);
        const QString spoken = pitch->child(index)->text(QAccessible::Name);
        QVERIFY2(spoken.startsWith(QStringLiteral("Goalkeeper, ")), qPrintable(spoken));
        QVERIFY(spoken.endsWith(QString::fromStdString(Db().PlayerDisplayName(keeper))));
        QVERIFY(Pitch()->Markers()[index].toolTip.contains(QStringLiteral("Rating")));
        QVERIFY(Pitch()->Markers()[index].toolTip.contains(QStringLiteral("<img")));

        // Right click selects without moving; double click opens the player's window.
        QTest::mouseClick(Pitch(), Qt::RightButton, {}, SlotPoint(0));
        QCOMPARE(Pitch()->SelectedMarker(), index);
        QTest::mouseDClick(Pitch(), Qt::LeftButton, {}, SlotPoint(0));
        QMdiSubWindow* active = m_frame->findChild<QMdiArea*>()->activeSubWindow();
        QVERIFY(active);
        auto* player = qobject_cast<CPlayerFrame*>(active->widget());
        QVERIFY(player);
        QCOMPARE(player->PlayerId(), keeper);

        // Keys: up from the goalkeeper, still selected, then Enter opens that player.
        Pitch()->setFocus();
        QCOMPARE(Pitch()->SelectedMarker(), index);
        QTest::keyClick(Pitch(), Qt::Key_Up);
        QVERIFY(Pitch()->SelectedMarker() != index);
        const int32_t above =
            m_page->LineUp().Markers()[static_cast<size_t>(Pitch()->SelectedMarker())].playerId;
        QTest::keyClick(Pitch(), Qt::Key_Return);
        active = m_frame->findChild<QMdiArea*>()->activeSubWindow();
        QCOMPARE(qobject_cast<CPlayerFrame*>(active->widget())->PlayerId(), above);
    }

    void appliedLineUpSurvivesSaveAndLoad() {
        QVERIFY(OpenPage(0));
        const int32_t sub = PlayersAt(Db(), m_team, 32).front();
        const int32_t striker = Db().FindTeam(m_team)->Links()[10].playerId;
        const int strikerSlot = SlotOnPitch(striker);
        Drag(32, strikerSlot);
        Drag(SlotOnPitch(striker), 59);
        m_page->findChild<QCheckBox*>()->click();
        const bool trap = m_page->findChild<QCheckBox*>()->isChecked();
        auto* attack = m_page->findChildren<QSpinBox*>().first();
        attack->setValue(71);
        ClickApply();
        QVERIFY(m_frame->SaveDatabase());

        CGameDatabase reloaded;
        QVERIFY(SavedFiles::LoadDatabase(*m_fixture, reloaded));
        QCOMPARE(PositionOf(reloaded, m_team, sub), strikerSlot);
        QCOMPARE(PositionOf(reloaded, m_team, striker), 32);
        const CTeam& team = *reloaded.FindTeam(m_team);
        QCOMPARE(team.Taker(ETaker::Penalty), striker);
        QCOMPARE(team.Value(ETeamColumn::OffsideTrap), trap ? 1 : 0);
        QCOMPARE(team.Value(ETeamColumn::Attack), 71);
    }

    void resetBringsBackTheLineUpAsOpened() {
        QVERIFY(OpenPage(0));
        const CTeam opened = *Db().FindTeam(m_team);
        const int32_t sub = PlayersAt(Db(), m_team, 32).front();
        const int32_t back = opened.Links()[1].playerId;
        const int backSlot = SlotOnPitch(back);
        Drag(32, backSlot);
        Drag(backSlot, 57);
        auto* attack = m_page->findChildren<QSpinBox*>().first();
        attack->setValue(opened.Value(ETeamColumn::Attack) + 5);
        ClickApply();
        QCOMPARE(PositionOf(Db(), m_team, sub), backSlot);
        Db().FindTeam(m_team)->FindLink(sub)->jerseyNumber = 77;

        QTest::mouseClick(m_page->ResetButton(), Qt::LeftButton);
        const CTeam& team = *Db().FindTeam(m_team);
        QCOMPARE(team.Links(), opened.Links());
        QCOMPARE(team.Taker(ETaker::LeftCorner), opened.Taker(ETaker::LeftCorner));
        QCOMPARE(team.Value(ETeamColumn::Attack), opened.Value(ETeamColumn::Attack));
        QCOMPARE(attack->value(), opened.Value(ETeamColumn::Attack));
        QCOMPARE(SlotOnPitch(sub), 32);
    }

};

QTEST_MAIN(FormationPageTest)
#include "FormationPageTest.moc"
