#include "wren_utils/WrenUtils.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/pack/PackEncoder.h"
#include "wren_utils/shapes/ShapeContainerWriter.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kArchiveBytes = size_t{300} << 20;
constexpr uint32_t kSide = 128;

std::string EntryName(size_t i) {
    return "playerkittexobj.texobj463104248046875__texture23__" + std::to_string(i % 11) + "_0_" +
           std::to_string(i) + ".fsh";
}

// A 300 MB archive of packed containers, each one 128 x 128 picture (32-bit or DXT5, as game
// textures are) of noisy pixels so that it stays large;
// written once per run into the temporary folder.
class LargeArchive {
public:
    LargeArchive() {
        path_ = (std::filesystem::temp_directory_path() / "kestrel_bench_300mb.big").string();
        std::mt19937 random(42);
        std::vector<std::vector<uint8_t>> containers;
        const uint8_t types[] = {wren::kShapeTypeBgra32, wren::kShapeTypeDxt5};
        for (int i = 0; i < 8; ++i) {
            wren::BgraImage image{kSide, kSide, std::vector<uint8_t>(size_t{kSide} * kSide * 4)};
            for (uint8_t& byte : image.pixels)
                byte = static_cast<uint8_t>(random());
            wren::ShapeWriteOptions options;
            options.type = types[i % 2];
            wren::ShapeContainerWriter writer;
            std::string error;
            writer.Add("tp00", image, options, error);
            containers.push_back(*wren::PACK_pack(writer.Build()));
        }
        wren::BigArchiveWriter writer;
        size_t total = 0;
        for (count_ = 0; total < kArchiveBytes; ++count_) {
            const auto& bytes = containers[count_ % containers.size()];
            writer.Add(EntryName(count_), bytes);
            total += bytes.size() + 80;
        }
        std::string error;
        const auto archive = writer.Build(error);
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(archive->data()),
                  static_cast<std::streamsize>(archive->size()));
    }
    ~LargeArchive() { std::filesystem::remove(path_); }

    const std::string& Path() const { return path_; }
    size_t Count() const { return count_; }

private:
    std::string path_;
    size_t count_ = 0;
};

// One picture as the editor asks for it: getShapeX, the pixels copied out, the bitmap freed.
// The entry asked for is the directory's last, so the whole directory is read. Target: < 5 ms.
void BM_GetShapeXFrom300MbArchive(benchmark::State& state) {
    static const LargeArchive archive;
    initReal();
    const std::string last = EntryName(archive.Count() - 1);
    std::vector<uint8_t> pixels(size_t{kSide} * kSide * 4);
    for (auto _ : state) {
        WrenBitmap bitmap = getShapeX(archive.Path().c_str(), last.c_str(), "tp00");
        if (!bitmap) {
            state.SkipWithError("getShapeX found no picture");
            break;
        }
        readBitmap(bitmap, nullptr, nullptr, pixels.data(), static_cast<int>(kSide * 4));
        freeBitmap(bitmap);
    }
    cleanupReal();
    state.counters["entries"] = static_cast<double>(archive.Count());
}

} // namespace

BENCHMARK(BM_GetShapeXFrom300MbArchive)->Unit(benchmark::kMillisecond);
