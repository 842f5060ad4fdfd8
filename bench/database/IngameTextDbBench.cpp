#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

class CNullSink : public CMessageSink {
public:
    void Report(const std::string&, const std::string&) override {}
};

constexpr uint32_t kEntries = 200000;

// A text database of kEntries team-name-like texts, made by our own writer.
std::vector<uint8_t> MakeFile() {
    CIngameTextDb texts = CIngameTextDb::CreateNew("bench");
    for (uint32_t i = 0; i < kEntries; ++i)
        texts.AddText(30000000 + i, "Sporting Club Número " + std::to_string(i));
    CNullSink sink;
    return texts.BuildFile(sink).value_or(std::vector<uint8_t>{});
}

std::filesystem::path BenchFile() {
    return std::filesystem::temp_directory_path() / "kestrel-bench-texts.db";
}

void WriteFile(const std::vector<uint8_t>& bytes) {
    std::ofstream out(BenchFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void ReadTextDatabase(benchmark::State& state) {
    WriteFile(MakeFile());
    CNullSink sink;
    for (auto _ : state) {
        CIngameTextDb texts(BenchFile().string());
        if (!texts.ReadIngameTextDb(sink) || texts.Entries().size() != kEntries)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(texts.Entries().data());
    }
}

void BuildTextDatabase(benchmark::State& state) {
    WriteFile(MakeFile());
    CNullSink sink;
    CIngameTextDb texts(BenchFile().string());
    texts.ReadIngameTextDb(sink);
    for (auto _ : state) {
        auto bytes = texts.BuildFile(sink);
        if (!bytes)
            state.SkipWithError("build failed");
        benchmark::DoNotOptimize(bytes->data());
    }
}

void SaveTextDatabase(benchmark::State& state) {
    WriteFile(MakeFile());
    CNullSink sink;
    CIngameTextDb texts(BenchFile().string());
    texts.ReadIngameTextDb(sink);
    for (auto _ : state)
        if (!texts.SaveIngameTextDb(sink))
            state.SkipWithError("save failed");
}

} // namespace

BENCHMARK(ReadTextDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildTextDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveTextDatabase)->Unit(benchmark::kMillisecond);
