#include "MixedData.h"

#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/archive/BigStreamReader.h"
#include "wren_utils/engine/FileSystem.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// An archive of 6000 entries (about 100 MB) on disk, written once for all benchmarks.
const std::string& ArchivePath() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "kestrel-bench-archive.big").string();
        const std::vector<std::uint8_t> data = MakeMixedData(16u << 10, 11);
        const std::vector<std::uint8_t> big = MakeMixedData(512u << 10, 12);
        wren::BigArchiveWriter writer;
        for (int i = 0; i < 6000; ++i)
            writer.Add("data/kits/t" + std::to_string(i) + "_home.fsh", data);
        writer.Add("data/kits/last.fsh", big);
        std::string error;
        const auto bytes = writer.Build(error);
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes->data()),
                  static_cast<std::streamsize>(bytes->size()));
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove(
                std::filesystem::temp_directory_path() / "kestrel-bench-archive.big", ignored);
        });
        return file;
    }();
    return path;
}

// The streamed reader: the whole directory walked, then a 512 KiB entry read in pieces.
void BM_StreamedEntryRead(benchmark::State& state) {
    const std::string& path = ArchivePath();
    wren::FILESYS_init();
    for (auto _ : state) {
        const auto entry = wren::BIG_readentry(path, "data/kits/last.fsh");
        benchmark::DoNotOptimize(entry->data());
    }
    wren::FILESYS_shutdown();
}
BENCHMARK(BM_StreamedEntryRead)->Unit(benchmark::kMillisecond);

// The in-memory lookup of the last entry of a loaded archive.
void BM_InMemoryFind(benchmark::State& state) {
    wren::FILESYS_init();
    const auto bytes = wren::FILE_load(ArchivePath());
    wren::FILESYS_shutdown();
    const auto view = wren::BigArchiveView::Open(*bytes);
    for (auto _ : state) {
        const auto entry = view->Find("DATA/KITS/LAST.FSH");
        benchmark::DoNotOptimize(entry->data.data());
    }
}
BENCHMARK(BM_InMemoryFind)->Unit(benchmark::kMicrosecond);

} // namespace
