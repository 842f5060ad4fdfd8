#include "CBenchHost.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CPlayersTableView.h"

#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace {

// The sample grown to 50,000 players.
CBenchHost& Host() {
    static CBenchHost host(50000);
    return host;
}

// Target: under 300 ms from nothing to the first rows drawn, with 50,000 players.
void BM_OpenAllPlayers(benchmark::State& state) {
    CBenchHost& host = Host();
    QImage target(1000, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        CAllPlayersFrame frame(host);
        frame.resize(target.size());
        frame.Fill();
        frame.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_OpenAllPlayers)->Unit(benchmark::kMillisecond);

// One page of rows drawn after a scroll: what keeps scrolling smooth.
void BM_ScrollOnePage(benchmark::State& state) {
    CBenchHost& host = Host();
    CAllPlayersFrame frame(host);
    frame.resize(1000, 600);
    frame.Fill();
    QScrollBar* bar = frame.View()->verticalScrollBar();
    QImage target(frame.View()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    int position = 0;
    for (auto _ : state) {
        position = (position + bar->pageStep()) % std::max(1, bar->maximum());
        bar->setValue(position);
        frame.View()->viewport()->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond);

} // namespace
