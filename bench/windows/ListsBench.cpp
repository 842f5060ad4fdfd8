#include "CBenchHost.h"

#include "CSampleGenerator.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CPlayersListFrame.h"
#include "editor/windows/CPlayersListView.h"
#include "editor/windows/CSearchResultsFrame.h"

#include <QImage>
#include <QTreeView>

#include <benchmark/benchmark.h>

namespace {

int PlayersWithoutTeam(const CGameDatabase& db) {
    int free = 0;
    for (const auto& [id, player] : db.Players())
        free += player.Teams().empty() ? 1 : 0;
    return free;
}

// The sample grown until 5,000 of its players have no team.
CBenchHost& Host() {
    static CBenchHost host([] {
        CGameDatabase sample;
        CSampleGenerator::BuildGame(sample, CSampleGenerator::kDefaultSeed);
        const int players = static_cast<int>(sample.Players().size());
        return players - PlayersWithoutTeam(sample) + 5000;
    }());
    return host;
}

// Target: under 150 ms from nothing to the first rows drawn, with 5,000 players without a team.
void BM_OpenPlayersWithoutTeam(benchmark::State& state) {
    CBenchHost& host = Host();
    state.counters["players"] = PlayersWithoutTeam(*host.Database());
    QImage target(640, 520, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        CPlayersListFrame frame(host);
        frame.resize(target.size());
        frame.Fill();
        frame.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_OpenPlayersWithoutTeam)->Unit(benchmark::kMillisecond);

// Target: under 100 ms from the dialog's OK to the results drawn, every league, team and
// player name searched.
void BM_SearchAllNames(benchmark::State& state) {
    CBenchHost& host = Host();
    state.counters["names"] = static_cast<double>(host.Database()->Players().size() +
                                                  host.Database()->Teams().size() +
                                                  host.Database()->Leagues().size());
    QImage target(640, 520, QImage::Format_ARGB32_Premultiplied);
    int found = 0;
    for (auto _ : state) {
        CSearchResultsFrame frame({QStringLiteral("ar"), true, true, true}, host);
        frame.resize(target.size());
        frame.Fill();
        frame.render(&target);
        found = frame.List()->model()->rowCount();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["found"] = found;
}
BENCHMARK(BM_SearchAllNames)->Unit(benchmark::kMillisecond);

} // namespace
