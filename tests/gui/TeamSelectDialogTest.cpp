#include "EditorFixture.h"
#include "FreshEditorTest.h"
#include "ModalDialogs.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CPlayerFrame.h"
#include "editor/windows/CTeamSelectDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace {

QPoint CentreOf(QTreeView* tree, const QModelIndex& index) {
    return tree->visualRect(index).center();
}

// A league whose first team has a crest in the sample archives.
QModelIndex LeagueWithCrests(QTreeView* tree, CPictureRequests& pictures, CGameDatabase& db) {
    QAbstractItemModel* model = tree->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex league = model->index(row, 0);
        if (model->rowCount(league) == 0) {
            continue;
        }
        const QString first = model->index(0, 0, league).data().toString();
        for (const auto& [id, team] : db.Teams()) {
            if (QString::fromStdString(team.Name()) == first && !pictures.Logo(id).isNull()) {
                return league;
            }
        }
    }
    return {};
}

int TeamIdNamed(const CGameDatabase& db, const QString& name) {
    for (const auto& [id, team] : db.Teams()) {
        if (QString::fromStdString(team.Name()) == name) {
            return id;
        }
    }
    return 0;
}

} // namespace

class TeamSelectDialogTest : public FreshEditorTest {
    Q_OBJECT

private slots:
    void addPlayerAsksForATeamAndRefusesLeagues();
    void doubleClickChoosesATeamAndCancelLeavesThePlayerFree();
};

void TeamSelectDialogTest::addPlayerAsksForATeamAndRefusesLeagues() {
    CGameDatabase* db = m_frame->Database();
    QVERIFY(db && m_frame->Pictures());
    QString chosenName;
    WhenModalShown([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), m_frame->Text("Caption_SelectTeam"));
        QVERIFY(dialog->findChildren<QLabel*>().first()->text() ==
                m_frame->Text("Caption_SelectTeamToAddPlayer"));
        auto* tree = dialog->findChild<QTreeView*>();
        QCOMPARE(tree->accessibleName(), m_frame->Text("Caption_SelectTeamToAddPlayer"));
        QAbstractItemModel* model = tree->model();
        QCOMPARE(model->rowCount(), static_cast<int>(db->Leagues().size()));
        QVERIFY(!model->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);

        // Nothing chosen: the dialog says so and stays.
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(m_fixture->prompts, QStringList{"warn: " + m_frame->Text("Msg_SelectTeam")});
        QVERIFY(dialog->isVisible());

        // A league is no team either, by mouse or by Enter.
        const QModelIndex league = LeagueWithCrests(tree, *m_frame->Pictures(), *db);
        QVERIFY(league.isValid());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, CentreOf(tree, league));
        QCOMPARE(tree->currentIndex(), league);
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(m_fixture->prompts.size(), 2);
        QVERIFY(dialog->isVisible());

        // Expanding the league brings its crests, reduced into the tree's icons.
        const QModelIndex firstTeam = model->index(0, 0, league);
        QVERIFY(firstTeam.data(Qt::DecorationRole).isNull());
        QTest::keyClick(tree, Qt::Key_Right);
        QVERIFY(tree->isExpanded(league));
        const QIcon crest = firstTeam.data(Qt::DecorationRole).value<QIcon>();
        QVERIFY(!crest.isNull());
        const QImage icon = crest.pixmap(CTeamSelectDialog::kIconSize).toImage();
        QCOMPARE(icon.size(), QSize(CTeamSelectDialog::kIconSize, CTeamSelectDialog::kIconSize));
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QVERIFY(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)) > 0);

        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(tree->currentIndex(), firstTeam);
        chosenName = firstTeam.data().toString();
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    });
    m_frame->ActionForKey(QStringLiteral("Menu_EditAddPlayer"))->trigger();
    const int teamId = TeamIdNamed(*db, chosenName);
    QVERIFY(teamId > 0);
    const auto squad = db->PlayersOfTeam(teamId);
    QVERIFY(!squad.empty());
    const int added = squad.back();
    QVERIFY(added >= CGameDatabase::kFirstNewPlayerId);
    QCOMPARE(db->FindPlayer(added)->Teams(), std::vector<int32_t>{teamId});
    QVERIFY(qobject_cast<CPlayerFrame*>(m_frame->ActiveFrame()));
}

void TeamSelectDialogTest::doubleClickChoosesATeamAndCancelLeavesThePlayerFree() {
    CGameDatabase* db = m_frame->Database();

    // A double click on a league says that a team is wanted; one on a team chooses it.
    std::optional<int32_t> chosen;
    WhenModalShown([&](QDialog* dialog) {
        auto* tree = dialog->findChild<QTreeView*>();
        const QModelIndex league = tree->model()->index(1, 0);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, CentreOf(tree, league));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, CentreOf(tree, league));
        QCOMPARE(m_fixture->prompts.size(), 1);
        QVERIFY(dialog->isVisible());
        tree->expand(league);
        const QModelIndex team = tree->model()->index(1, 0, league);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, CentreOf(tree, team));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, CentreOf(tree, team));
    });
    chosen = CTeamSelectDialog::ChooseTeam(*m_frame, "Caption_SelectRivalTeam", m_frame);
    QVERIFY(chosen);
    const int32_t leagueId = std::next(db->Leagues().begin())->first;
    QCOMPARE(*chosen, db->TeamsOfLeague(leagueId).at(1));

    // Escape: no team, and Add Player makes a player of no team.
    const size_t players = db->Players().size();
    WhenModalShown(
        [](QDialog* dialog) { QTest::keyClick(dialog->findChild<QTreeView*>(), Qt::Key_Escape); });
    m_frame->ActionForKey(QStringLiteral("Menu_EditAddPlayer"))->trigger();
    QCOMPARE(db->Players().size(), players + 1);
    const int32_t added = db->MaxPlayerId();
    QVERIFY(db->FindPlayer(added)->Teams().empty());
}

QTEST_MAIN(TeamSelectDialogTest)
#include "TeamSelectDialogTest.moc"
