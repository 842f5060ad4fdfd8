#include "MixedData.h"

#include "wren_utils/archive/BigArchiveUpdate.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 1200;
constexpr std::size_t kEntrySize = std::size_t{256} << 10; // 1200 x 256 KiB = 300 MiB

// A folder of its own with a 300 MiB archive, streamed to the disk entry by entry.
class LargeArchive {
public:
    LargeArchive() {
        folder_ = fs::temp_directory_path() /
                  ("kestrel-import-bench-" +
                   std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder_);
        path_ = (folder_ / "zdata_05.big").string();
        std::vector<std::uint8_t> header = {'B', 'I', 'G', 'F', 0, 0, 0, 0};
        const auto put = [&header](std::uint64_t value) {
            for (int i = 3; i >= 0; --i)
                header.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        };
        std::size_t directory = 16;
        for (int i = 0; i < kEntries; ++i)
            directory += 8 + Name(i).size() + 1;
        put(kEntries);
        put(directory);
        for (int i = 0; i < kEntries; ++i) {
            put(directory + static_cast<std::uint64_t>(i) * kEntrySize);
            put(kEntrySize);
            const std::string name = Name(i);
            header.insert(header.end(), name.begin(), name.end());
            header.push_back(0);
        }
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(header.data()),
                  static_cast<std::streamsize>(header.size()));
        const std::vector<std::uint8_t> data = MakeMixedData(kEntrySize, 5);
        for (int i = 0; i < kEntries; ++i)
            out.write(reinterpret_cast<const char*>(data.data()),
                      static_cast<std::streamsize>(data.size()));
    }
    ~LargeArchive() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    const std::string& Path() const { return path_; }
    static std::string Name(int i) {
        return "playerkittexobj.texobj463104248046875__texture23__0_0_" + std::to_string(i) +
               ".fsh";
    }

private:
    fs::path folder_;
    std::string path_;
};

// One kit (a 40 KiB packed container) into the middle of a 300 MiB archive: the whole archive
// is streamed into a new file, flushed to the disk and swapped in, the old one kept as .bak.
void BM_ImportKitInto300MiBArchive(benchmark::State& state) {
    const LargeArchive archive;
    const std::vector<std::uint8_t> kit = MakeMixedData(40u << 10, 9);
    std::uint64_t written = 0;
    for (auto _ : state) {
        wren::BigPutResult result;
        std::string error;
        if (!wren::BIG_putentry(archive.Path(), LargeArchive::Name(kEntries / 2), kit, result,
                                error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        written += result.archiveSize;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(written));
}
BENCHMARK(BM_ImportKitInto300MiBArchive)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

} // namespace
