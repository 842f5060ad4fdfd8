#include "editor/model/CBackupStore.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kArchiveSize = std::size_t{300} << 20;

// What an import adds to the archive rewrite: the old 300 MiB archive copied into the backups
// folder and hashed on the way, in chunks. Each round changes the archive's last byte first, so
// no round finds an identical newest copy to skip.
void BM_BackUp300MiBArchive(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() /
        ("kestrel-backup-bench-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder / "data");
    const fs::path archive = folder / "data" / "zdata_05.big";
    {
        std::ofstream out(archive, std::ios::binary);
        std::vector<char> chunk(std::size_t{1} << 20);
        std::uint32_t seed = 12345;
        for (std::size_t written = 0; written < kArchiveSize; written += chunk.size()) {
            for (char& c : chunk) {
                seed = seed * 1664525u + 1013904223u;
                c = static_cast<char>(seed >> 24);
            }
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        }
    }
    const CBackupStore store(folder / "backups");
    char round = 0;
    std::int64_t copied = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::fstream file(archive, std::ios::binary | std::ios::in | std::ios::out);
            file.seekp(static_cast<std::streamoff>(kArchiveSize - 1));
            file.put(++round);
        }
        state.ResumeTiming();
        std::string made, error;
        if (!store.Backup(archive, CBackupStore::kDefaultKeep, made, error) || made.empty()) {
            state.SkipWithError(error.empty() ? "no copy made" : error.c_str());
            break;
        }
        copied += static_cast<std::int64_t>(kArchiveSize);
    }
    state.SetBytesProcessed(copied);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
BENCHMARK(BM_BackUp300MiBArchive)->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();

} // namespace
