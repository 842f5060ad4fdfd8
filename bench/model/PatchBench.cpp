#include "CSampleGenerator.h"

#include "editor/model/CDatabaseCopy.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPatch.h"
#include "editor/model/CPatchApply.h"

#include <benchmark/benchmark.h>

namespace {

// Two databases of 15,000 players, the second with every 30th player edited in 5 fields.
struct SPair {
    CGameDatabase base;
    CGameDatabase edited;
    SPair() {
        CSampleGenerator::BuildGame(base, CSampleGenerator::kDefaultSeed, 15000);
        CSampleGenerator::BuildGame(edited, CSampleGenerator::kDefaultSeed, 15000);
    }
    // Edits fields of players until `fields` fields differ.
    void Edit(size_t fields) {
        size_t done = 0;
        for (const auto& [id, player] : base.Players()) {
            CPlayer& p = *edited.FindPlayer(id);
            for (EPlayerColumn c : {EPlayerColumn::Pace, EPlayerColumn::Stamina,
                                    EPlayerColumn::Passing, EPlayerColumn::Heading,
                                    EPlayerColumn::Tackling}) {
                p.SetValue(c, p.Value(c) == 60 ? 61 : 60);
                if (++done == fields)
                    return;
            }
        }
    }
};

// Target: under 50 ms.
void BM_DiffOf15000PlayerDatabases(benchmark::State& state) {
    SPair pair;
    pair.Edit(2500);
    for (auto _ : state)
        benchmark::DoNotOptimize(CFieldDiff::Compare(pair.base, pair.edited).size());
}
BENCHMARK(BM_DiffOf15000PlayerDatabases)->Unit(benchmark::kMillisecond);

// Target: under 100 ms for 5,000 changed fields, the database check before and after included.
void BM_Apply5000FieldPatch(benchmark::State& state) {
    SPair pair;
    pair.Edit(5000);
    const CPatch patch = CPatch::Make(pair.base, pair.edited, "", "");
    for (auto _ : state) {
        const auto result = CPatchApply::Apply(pair.base, patch, {});
        state.PauseTiming();
        if (!result.ok)
            state.SkipWithError("the patch was refused");
        result.before.Restore(pair.base);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Apply5000FieldPatch)->Unit(benchmark::kMillisecond);

// Target: under 20 ms for a team of 30 players, each copied under a new id.
void BM_CopyTeamWith30Players(benchmark::State& state) {
    CGameDatabase db, from;
    CSampleGenerator::BuildGame(db, CSampleGenerator::kDefaultSeed, 15000);
    CSampleGenerator::BuildGame(from, CSampleGenerator::kDefaultSeed + 1, 15000);
    const int32_t teamId = from.Teams().begin()->first;
    CTeam& team = *from.FindTeam(teamId);
    for (const auto& [id, player] : from.Players()) {
        if (team.Links().size() >= 30)
            break;
        if (!team.FindLink(id) && player.Teams().empty())
            team.AddOrUpdateLink({static_cast<int32_t>(team.Links().size() % 99) + 1, id, 34, teamId});
    }
    for (auto _ : state) {
        const auto result = CDatabaseCopy::CopyTeam(db, from, teamId, std::nullopt, true);
        state.PauseTiming();
        if (!result.ok || result.players.size() != 30)
            state.SkipWithError("the copy did not take 30 players");
        result.before.Restore(db);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyTeamWith30Players)->Unit(benchmark::kMillisecond);

} // namespace
