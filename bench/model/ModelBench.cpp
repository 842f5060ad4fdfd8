#include "CSampleGenerator.h"

#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"
#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CNameSearch.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <malloc.h>

namespace {

class CQuietSink : public CMessageSink {
public:
    void Report(const std::string&, const std::string&) override {}
};

// One sample installation on disk for every benchmark of the run; its data/cmn folder.
const std::filesystem::path& SampleFolder() {
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "kestrel_model_bench";
        std::filesystem::remove_all(path);
        CQuietSink sink;
        WriteSampleInstallation(path, CSampleGenerator::kDefaultSeed, sink);
        return path / "data" / "cmn";
    }();
    return folder;
}

std::string TextsPath() {
    return (SampleFolder() / "fe" / "eng.db").string();
}

void BM_BuildSampleGame(benchmark::State& state) {
    for (auto _ : state) {
        CGameDatabase db;
        CSampleGenerator::BuildGame(db, CSampleGenerator::kDefaultSeed);
        benchmark::DoNotOptimize(db.Players().size());
    }
}
BENCHMARK(BM_BuildSampleGame)->Unit(benchmark::kMillisecond);

void BM_WriteSampleInstallation(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "kestrel_model_bench_sample";
    CQuietSink sink;
    for (auto _ : state)
        WriteSampleInstallation(folder, CSampleGenerator::kDefaultSeed, sink);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteSampleInstallation)->Unit(benchmark::kMillisecond);

// Target: under 30 ms, with the team and league names.
void BM_LoadGameDatabase(benchmark::State& state) {
    const std::string path = (SampleFolder() / "corvid.db").string();
    const std::string texts = TextsPath();
    CQuietSink sink;
    for (auto _ : state) {
        CGameDatabase db;
        if (!db.LoadGameDatabase(path, texts, sink))
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadGameDatabase)->Unit(benchmark::kMillisecond);

// Target: under 30 ms, with the team and league names.
void BM_SaveGameDatabase(benchmark::State& state) {
    const std::string path = (SampleFolder() / "corvid.db").string();
    const std::string out = (SampleFolder() / "saved.db").string();
    CQuietSink sink;
    CGameDatabase db;
    db.LoadGameDatabase(path, TextsPath(), sink);
    for (auto _ : state)
        if (!db.SaveGameDatabase(out, TextsPath(), sink))
            state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveGameDatabase)->Unit(benchmark::kMillisecond);

// Target: under 30 ms for the whole check of the sample, names included.
void BM_CheckDatabase(benchmark::State& state) {
    CQuietSink sink;
    CGameDatabase db;
    db.LoadGameDatabase((SampleFolder() / "corvid.db").string(), TextsPath(), sink);
    CIngameTextDb texts(TextsPath());
    texts.ReadIngameTextDb(sink);
    for (auto _ : state) {
        const auto findings = CDatabaseCheck::Run(db, &texts);
        if (!findings.empty())
            state.SkipWithError("the sample has findings");
    }
}
BENCHMARK(BM_CheckDatabase)->Unit(benchmark::kMillisecond);

// Target: under 5 ms over all names.
void BM_FindAllKinds(benchmark::State& state) {
    CGameDatabase db;
    CSampleGenerator::BuildGame(db, CSampleGenerator::kDefaultSeed);
    for (auto _ : state)
        benchmark::DoNotOptimize(CNameSearch::Find(db, "ar", true, true, true).size());
}
BENCHMARK(BM_FindAllKinds)->Unit(benchmark::kMillisecond);

// Target: under 20 MB held by the loaded model (heap in use after the load minus before).
void BM_LoadedModelMemory(benchmark::State& state) {
    const std::string path = (SampleFolder() / "corvid.db").string();
    CQuietSink sink;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        auto db = std::make_unique<CGameDatabase>();
        db->LoadGameDatabase(path, TextsPath(), sink);
        const size_t after = mallinfo2().uordblks;
        state.counters["model_MB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_LoadedModelMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
