#include "MixedData.h"

#include "wren_utils/pack/PackCommandWriter.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/pack/PackEncoder.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kDecodeSize = 16u << 20;
constexpr std::size_t kEncodeSize = 4u << 20;

const Bytes& Input(std::size_t size) {
    static const Bytes decode = MakeMixedData(kDecodeSize, 2004);
    static const Bytes encode = MakeMixedData(kEncodeSize, 1999);
    return size == kDecodeSize ? decode : encode;
}

// The baseline: greedy parsing over plain hash chains, taking the longest match that a
// command can carry at every position.
Bytes GreedyPack(const Bytes& input, int depth) {
    constexpr std::size_t kWindow = wren::PackLimits::kLongMaxDistance;
    constexpr int kBits = 16;
    Bytes out = {0x10, 0xFB, static_cast<std::uint8_t>(input.size() >> 16),
                 static_cast<std::uint8_t>(input.size() >> 8),
                 static_cast<std::uint8_t>(input.size())};
    std::vector<std::int64_t> head(1u << kBits, -1);
    std::vector<std::int64_t> previous(kWindow, -1);
    auto hash = [&](std::size_t p) {
        const std::uint32_t v =
            (std::uint32_t{input[p]} << 16) | (std::uint32_t{input[p + 1]} << 8) | input[p + 2];
        return (v * 2654435761u) >> (32 - kBits);
    };
    auto insert = [&](std::size_t p) {
        if (p + 3 > input.size())
            return;
        const auto h = hash(p);
        previous[p % kWindow] = head[h];
        head[h] = static_cast<std::int64_t>(p);
    };
    wren::PackCommandWriter writer(out);
    std::size_t position = 0;
    std::size_t literalStart = 0;
    while (position < input.size()) {
        std::size_t bestLength = 0;
        std::size_t bestDistance = 0;
        if (position + 3 <= input.size()) {
            const std::size_t limit =
                std::min(wren::PackLimits::kLongMaxLength, input.size() - position);
            std::int64_t candidate = head[hash(position)];
            std::int64_t newer = static_cast<std::int64_t>(position);
            for (int d = depth; d > 0 && candidate >= 0 && candidate < newer &&
                                position - static_cast<std::size_t>(candidate) <= kWindow;
                 --d) {
                const auto from = static_cast<std::size_t>(candidate);
                std::size_t length = 0;
                while (length < limit && input[from + length] == input[position + length])
                    ++length;
                const std::size_t distance = position - from;
                if (length > bestLength &&
                    wren::PackCommandWriter::MatchCost(length, distance) != 0) {
                    bestLength = length;
                    bestDistance = distance;
                }
                newer = candidate;
                candidate = previous[from % kWindow];
            }
        }
        insert(position);
        if (bestLength == 0) {
            ++position;
            continue;
        }
        writer.Match(input.data() + literalStart, position - literalStart, bestLength,
                     bestDistance);
        for (std::size_t p = position + 1; p < position + bestLength; ++p)
            insert(p);
        position += bestLength;
        literalStart = position;
    }
    writer.End(input.data() + literalStart, input.size() - literalStart);
    return out;
}

void BM_Unpack(benchmark::State& state) {
    const Bytes packed = *wren::PACK_pack(Input(kDecodeSize));
    Bytes output(kDecodeSize);
    for (auto _ : state) {
        const auto size = wren::PACK_unpack(packed, output);
        benchmark::DoNotOptimize(size);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDecodeSize));
    state.counters["packed_ratio"] = static_cast<double>(packed.size()) / kDecodeSize;
}
BENCHMARK(BM_Unpack)->Unit(benchmark::kMillisecond);

// A plain decoder, one byte at a time, for comparison.
void BM_UnpackByteByByte(benchmark::State& state) {
    const Bytes packed = *wren::PACK_pack(Input(kDecodeSize));
    Bytes output(kDecodeSize);
    for (auto _ : state) {
        const std::uint8_t* in = packed.data() + 5;
        std::uint8_t* out = output.data();
        for (;;) {
            const unsigned c = *in++;
            std::size_t literals = 0;
            std::size_t length = 0;
            std::size_t distance = 0;
            if (c < 0x80) {
                literals = c & 3;
                length = ((c >> 2) & 7) + 3;
                distance = ((c & 0x60u) << 3) + *in++ + 1;
            } else if (c < 0xC0) {
                literals = in[0] >> 6;
                length = (c & 0x3F) + 4;
                distance = ((in[0] & 0x3Fu) << 8) + in[1] + 1;
                in += 2;
            } else if (c < 0xE0) {
                literals = c & 3;
                length = ((c & 0x0Cu) << 6) + in[2] + 5;
                distance = ((c & 0x10u) << 12) + (std::size_t{in[0]} << 8) + in[1] + 1;
                in += 3;
            } else {
                literals = c < 0xFC ? ((c & 0x1Fu) << 2) + 4 : c & 3;
            }
            for (std::size_t i = 0; i < literals; ++i)
                *out++ = *in++;
            if (c >= 0xFC)
                break;
            for (std::size_t i = 0; i < length; ++i, ++out)
                *out = *(out - distance);
        }
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDecodeSize));
}
BENCHMARK(BM_UnpackByteByByte)->Unit(benchmark::kMillisecond);

void BM_Pack(benchmark::State& state) {
    const Bytes& input = Input(kEncodeSize);
    std::size_t packedSize = 0;
    for (auto _ : state) {
        const auto packed = wren::PACK_pack(input);
        packedSize = packed->size();
        benchmark::DoNotOptimize(packed->data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kEncodeSize));
    state.counters["packed_bytes"] = static_cast<double>(packedSize);
}
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond);

void BM_PackGreedyBaseline(benchmark::State& state) {
    const Bytes& input = Input(kEncodeSize);
    std::size_t packedSize = 0;
    for (auto _ : state) {
        const Bytes packed = GreedyPack(input, 48);
        packedSize = packed.size();
        benchmark::DoNotOptimize(packed.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kEncodeSize));
    state.counters["packed_bytes"] = static_cast<double>(packedSize);
}
BENCHMARK(BM_PackGreedyBaseline)->Unit(benchmark::kMillisecond);

} // namespace
