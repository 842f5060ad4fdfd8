#include "CBenchHost.h"

#include "CSampleGenerator.h"
#include "editor/document/SChange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CCompareFrame.h"
#include "editor/windows/CCompareModel.h"

#include <QCoreApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kPlayers = 15000;

// The loaded database and another installation's grown from another seed: most records differ.
struct SComparison {
    CBenchHost host{kPlayers};
    std::shared_ptr<const CGameDatabase> other = [] {
        auto db = std::make_shared<CGameDatabase>();
        CSampleGenerator::BuildGame(*db, CSampleGenerator::kDefaultSeed + 1, kPlayers);
        return db;
    }();
};

SComparison& Comparison() {
    static SComparison comparison;
    return comparison;
}

// From nothing to the first rows drawn.
void BM_CompareTwoDifferent15000PlayerDatabases(benchmark::State& state) {
    SComparison& c = Comparison();
    QImage target(900, 600, QImage::Format_ARGB32_Premultiplied);
    int records = 0;
    int rows = 0;
    for (auto _ : state) {
        CCompareFrame frame(c.other, QStringLiteral("/other"), QStringLiteral("other"), c.host);
        frame.resize(target.size());
        frame.Fill();
        frame.render(&target);
        records = frame.Model()->RecordCount();
        rows = frame.Model()->RowCount();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["records"] = records;
    state.counters["rows"] = rows;
}
BENCHMARK(BM_CompareTwoDifferent15000PlayerDatabases)->Unit(benchmark::kMillisecond);

// Target: under 20 ms from one field edit here to the window showing it.
void BM_CompareUpdateAfterOneFieldEdit(benchmark::State& state) {
    SComparison& c = Comparison();
    QImage target(900, 600, QImage::Format_ARGB32_Premultiplied);
    CCompareFrame frame(c.other, QStringLiteral("/other"), QStringLiteral("other"), c.host);
    frame.resize(target.size());
    frame.Fill();
    CGameDatabase& here = *c.host.Database();
    const int32_t id = here.Players().begin()->first;
    SChange change;
    change.what = SChange::Fields;
    change.players = {id};
    for (auto _ : state) {
        CPlayer& player = *here.FindPlayer(id);
        player.SetValue(EPlayerColumn::Stamina, player.Value(EPlayerColumn::Stamina) == 60 ? 61 : 60);
        frame.DocumentChanged(change);
        QCoreApplication::processEvents();
        frame.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["records"] = frame.Model()->RecordCount();
}
BENCHMARK(BM_CompareUpdateAfterOneFieldEdit)->Unit(benchmark::kMillisecond);

} // namespace
