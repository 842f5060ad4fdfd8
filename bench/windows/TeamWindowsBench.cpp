// Opening a team window and expanding a league in the team selection dialog, on the sample
// installation with its archives.
#include "EditorFixture.h"

#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CTeamSelectDialog.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "kestrel_team_windows_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

CMainFrame* Editor() {
    App();
    static EditorFixture fixture;
    static CKestrelApp* app = fixture.IsValid() ? fixture.Start() : nullptr;
    return app ? app->MainFrame() : nullptr;
}

void CloseAll(CMainFrame& frame) {
    frame.MdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Banner with crest, the three pages filled, the home kit's picture drawn.
void OpenTeamWindow(benchmark::State& state) {
    CMainFrame* frame = Editor();
    if (!frame || !frame->Database() || !frame->Pictures()) {
        state.SkipWithError("the sample editor did not start");
        return;
    }
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
    CMainFrame* frame = Editor();
    if (!frame || !frame->Database() || !frame->Pictures()) {
        state.SkipWithError("the sample editor did not start");
        return;
    }
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

} // namespace
