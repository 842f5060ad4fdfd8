#include "EditorFixture.h"

#include "bench/support/BenchApplication.h"
#include "editor/app/CKestrelApp.h"
#include "editor/app/CMainFrame.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CPictureView.h"
#include "editor/windows/CPlayerAppearanceForm.h"
#include "editor/windows/CPlayerFrame.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Opening a player window on the sample: the frame, the banner, all three pages filled from
// the record, the four pictures loaded and the window drawn once.
void OpenPlayerWindow(benchmark::State& state) {
    BenchApplication();
    EditorFixture fixture;
    CKestrelApp* app = fixture.IsValid() ? fixture.Start() : nullptr;
    if (!app) {
        state.SkipWithError("the editor did not start on the sample");
        return;
    }
    CMainFrame* main = app->MainFrame();
    main->resize(1200, 900);
    main->show();
    std::vector<int32_t> players;
    for (const auto& [id, player] : main->Database()->Players()) {
        if (!player.Teams().empty() && players.size() < 200) {
            players.push_back(id);
        }
    }
    size_t next = 0;
    int pictures = 0;
    for (auto _ : state) {
        const int32_t id = players[next++ % players.size()];
        main->OpenPlayer(id);
        QMdiSubWindow* window = main->MdiArea()->activeSubWindow();
        benchmark::DoNotOptimize(window->grab());
        state.PauseTiming();
        auto* frame = qobject_cast<CPlayerFrame*>(window->widget());
        const auto* looks = static_cast<CPlayerAppearanceForm*>(frame->Page(1));
        pictures += looks->Face()->HasPicture() + looks->Hair()->HasPicture() +
                    looks->FacialHair()->HasPicture();
        window->close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["pictures"] =
        benchmark::Counter(pictures, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(OpenPlayerWindow)->Unit(benchmark::kMillisecond);
