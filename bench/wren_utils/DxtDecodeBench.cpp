#include "wren_utils/shapes/DxtDecoder.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr uint32_t kSide = 1024;

// Random blocks: every palette mode and index pattern occurs, and DXT3/DXT5 alpha is not opaque.
std::vector<uint8_t> RandomBlocks(uint8_t type) {
    std::mt19937 random(1234);
    std::vector<uint8_t> blocks(wren::DxtDecoder::LevelBytes(type, kSide, kSide));
    for (uint8_t& byte : blocks)
        byte = static_cast<uint8_t>(random());
    return blocks;
}

void DecodeLevel(benchmark::State& state, uint8_t type) {
    const std::vector<uint8_t> blocks = RandomBlocks(type);
    std::vector<uint8_t> pixels(size_t{kSide} * kSide * 4);
    for (auto _ : state) {
        wren::DxtDecoder::DecodeLevel(type, blocks, kSide, kSide, pixels);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    // Items are pixels: the Mpixel/s figure is items_per_second / 1e6 (target 500).
    state.SetItemsProcessed(state.iterations() * int64_t{kSide} * kSide);
}

void BM_DecodeDxt1(benchmark::State& state) {
    DecodeLevel(state, wren::kShapeTypeDxt1);
}
void BM_DecodeDxt3(benchmark::State& state) {
    DecodeLevel(state, wren::kShapeTypeDxt3);
}
void BM_DecodeDxt5(benchmark::State& state) {
    DecodeLevel(state, wren::kShapeTypeDxt5);
}

} // namespace

BENCHMARK(BM_DecodeDxt1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeDxt3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeDxt5)->Unit(benchmark::kMicrosecond);
