// Opening a team window, expanding a league in the team selection dialog and dropping players
// on a team, on the sample installation with its archives.
#include "EditorFixture.h"

#include "bench/support/BenchApplication.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CLeagueFrame.h"
#include "editor/windows/CPlayerDrag.h"
#include "editor/windows/CTeamSelectDialog.h"
#include "editor/windows/CTeamsListModel.h"
#include "editor/windows/CTeamsListView.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSortFilterProxyModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeView>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The editor on the sample, started once for all benchmarks; null, and the benchmark skipped,
// when it did not start with its database (and its pictures, where they are wanted).
CMainFrame* Editor(benchmark::State& state, bool withPictures = true) {
    BenchApplication();
    static EditorFixture fixture;
    static CKestrelApp* app = fixture.IsValid() ? fixture.Start() : nullptr;
    CMainFrame* frame = app ? app->MainFrame() : nullptr;
    if (!frame || !frame->Database() || (withPictures && !frame->Pictures())) {
        state.SkipWithError("the sample editor did not start");
        return nullptr;
    }
    return frame;
}

void CloseAll(CMainFrame& frame) {
    frame.MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Banner with crest, the three pages filled, the home kit's picture drawn.
void OpenTeamWindow(benchmark::State& state) {
    CMainFrame* frame = Editor(state);
    if (!frame)
        return;
    const CGameDatabase& db = *frame->Database();
    const int32_t teamId = db.TeamsOfLeague(db.Leagues().begin()->first).front();
    for (auto _ : state) {
        frame->OpenTeam(teamId);
        state.PauseTiming();
        CloseAll(*frame);
        state.ResumeTiming();
    }
}
BENCHMARK(OpenTeamWindow)->Unit(benchmark::kMillisecond);

// The largest league of the sample, its teams' crests reduced into the tree's icons.
void ExpandLeagueInTeamSelection(benchmark::State& state) {
    CMainFrame* frame = Editor(state);
    if (!frame)
        return;
    const CGameDatabase& db = *frame->Database();
    int largestRow = 0;
    size_t largest = 0;
    int row = 0;
    for (const auto& [id, league] : db.Leagues()) {
        if (db.TeamsOfLeague(id).size() > largest) {
            largest = db.TeamsOfLeague(id).size();
            largestRow = row;
        }
        ++row;
    }
    state.counters["teams"] = static_cast<double>(largest);
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog =
            std::make_unique<CTeamSelectDialog>(*frame, "Caption_SelectTeamToAddPlayer", frame);
        QTreeView* tree = dialog->Tree();
        const QModelIndex league = tree->model()->index(largestRow, 0);
        state.ResumeTiming();
        tree->expand(league);
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(ExpandLeagueInTeamSelection)->Unit(benchmark::kMillisecond);

// Target: under 100 ms for a drop of 30 players without a team on a team of an open league
// window, with ten windows open (the league, the players without a team, All Players, the
// team and other teams of the league, players' windows) and the leagues list following the
// document's change. The team's squad is emptied first; its bench takes 21 of them (5 + 8 + 8).
// The drop is undone between runs.
void DropThirtyPlayers(benchmark::State& state) {
    CMainFrame* frame = Editor(state, false);
    if (!frame)
        return;
    CGameDatabase& db = *frame->Database();
    const int32_t leagueId = db.Leagues().begin()->first;
    const int32_t teamId = db.TeamsOfLeague(leagueId).front();
    CPlayerDrag drag;
    drag.sourceTeamId = CGameDatabase::kNoTeamId;
    for (const auto& [id, player] : db.Players()) {
        if (player.Teams().empty() && drag.playerIds.size() < 30)
            drag.playerIds.append(id);
    }
    for (int32_t id : db.PlayersOfTeam(teamId))
        db.RemovePlayerFromTeam(id, teamId);
    // Windows are found only while shown.
    frame->resize(1280, 900);
    frame->show();
    frame->OpenTeam(CGameDatabase::kNoTeamId);
    frame->OpenAllPlayers();
    for (int32_t team : db.TeamsOfLeague(leagueId)) {
        if (frame->MdiArea()->subWindowList().size() < 6)
            frame->OpenTeam(team);
    }
    for (int i = 0; i < 3; ++i)
        frame->OpenPlayer(drag.playerIds.at(i));
    frame->OpenLeague(leagueId);
    auto* league = qobject_cast<CLeagueFrame*>(
        frame->FindChild(CChildFrame::Kind::League, leagueId)->widget());
    CTeamsListView* teams = league->TeamsList();
    league->parentWidget()->showMaximized();
    QApplication::processEvents();
    const QPoint at =
        teams->visualRect(teams->Proxy()->mapFromSource(
                              teams->Model()->index(teams->Model()->RowOf(teamId), 0)))
            .center();
    QMimeData data;
    drag.WriteInto(data);
    size_t taken = 0;
    for (auto _ : state) {
        // What reaches the list from the pointer's arrival to the release over the team.
        const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, {});
        QApplication::sendEvent(teams->viewport(), &enter);
        QDragMoveEvent move(at, actions, &data, Qt::LeftButton, {});
        QApplication::sendEvent(teams->viewport(), &move);
        QDropEvent drop(at, actions, &data, Qt::NoButton, {});
        QApplication::sendEvent(teams->viewport(), &drop);
        state.PauseTiming();
        taken = db.PlayersOfTeam(teamId).size();
        frame->Document().UndoStack().undo();
        state.ResumeTiming();
    }
    state.counters["taken"] = static_cast<double>(taken);
    state.counters["windows"] = static_cast<double>(frame->MdiArea()->subWindowList().size());
    CloseAll(*frame);
    frame->hide();
}
BENCHMARK(DropThirtyPlayers)->Unit(benchmark::kMillisecond);

} // namespace
