#include "ArchiveSeeds.h"

#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/pack/PackEncoder.h"

#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Sample(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes data;
    while (data.size() < size) {
        if (random() % 3 == 0) {
            data.insert(data.end(), random() % 40, static_cast<std::uint8_t>(random()));
        } else if (random() % 2 == 0 && data.size() > 8) {
            const std::size_t from = random() % data.size();
            for (std::size_t i = 0; i < 20 && from + i < data.size(); ++i)
                data.push_back(data[from + i]);
        } else {
            data.push_back(static_cast<std::uint8_t>(random()));
        }
    }
    data.resize(size);
    return data;
}

} // namespace

std::vector<Seed> PackedStreamSeeds() {
    std::vector<Seed> seeds;
    const std::size_t sizes[] = {0, 1, 3, 4, 17, 300, 5000, 70000};
    unsigned seed = 1;
    for (const std::size_t size : sizes)
        seeds.emplace_back("packed_" + std::to_string(size) + ".bin",
                           *wren::PACK_pack(Sample(size, seed++)));
    seeds.emplace_back("packed_run.bin", *wren::PACK_pack(Bytes(3000, 'a')));
    // A stream with the packed-size field (kind 0x11).
    Bytes withPackedSize = {0x11, 0xFB, 0, 0, 12, 0, 0, 3, 0xFF, 'a', 'b', 'c'};
    seeds.emplace_back("packed_kind11.bin", withPackedSize);
    // Streams opening with a short overlapping match, then long enough for the fast loop.
    for (std::size_t distance = 1; distance <= 8; ++distance) {
        for (std::size_t length = 3; length <= 10; ++length) {
            Bytes opening(distance);
            for (std::size_t i = 0; i < distance; ++i)
                opening[i] = static_cast<std::uint8_t>('a' + i);
            Bytes data = opening;
            for (std::size_t i = 0; i < length; ++i)
                data.push_back(data[data.size() - distance]);
            for (int i = 0; i < 300; ++i)
                data.insert(data.end(), data.end() - 4, data.end());
            const Bytes tail = Sample(400, static_cast<unsigned>(100 + distance * 16 + length));
            data.insert(data.end(), tail.begin(), tail.end());
            seeds.emplace_back("packed_overlap_" + std::to_string(distance) + "_" +
                                   std::to_string(length) + ".bin",
                               *wren::PACK_pack(data));
        }
    }
    return seeds;
}

std::vector<Seed> ArchiveSeeds() {
    std::vector<Seed> seeds;
    std::string error;
    for (const auto kind :
         {wren::BigArchiveWriter::Kind::Bigf, wren::BigArchiveWriter::Kind::Big4}) {
        const std::string prefix = kind == wren::BigArchiveWriter::Kind::Bigf ? "bigf" : "big4";
        wren::BigArchiveWriter writer(kind);
        writer.Add("league.fsh", Sample(200, 3));
        writer.Add("kits/t0001_home.fsh", *wren::PACK_pack(Sample(900, 4)));
        writer.Add("crest.fsh", Sample(40, 5));
        seeds.emplace_back(prefix + "_plain.big", *writer.Build(error));
        writer.SetVersionMarker({'L', 231, 0x20040101});
        writer.SetAlignment(16);
        seeds.emplace_back(prefix + "_marked.big", *writer.Build(error));
    }
    wren::BigArchiveWriter empty;
    seeds.emplace_back("empty.big", *empty.Build(error));
    // The short kind, laid out by hand: 3-byte offsets and sizes.
    Bytes shortKind = {0xC0, 0xFB, 0, 0, 0, 1, 0, 0, 30, 0, 0, 4};
    const std::string name = "league.fsh";
    shortKind.insert(shortKind.end(), name.begin(), name.end());
    shortKind.push_back(0);
    shortKind[3] = static_cast<std::uint8_t>(shortKind.size() - 4);
    shortKind.resize(30);
    shortKind.insert(shortKind.end(), {'d', 'a', 't', 'a'});
    seeds.emplace_back("short.big", shortKind);
    return seeds;
}
