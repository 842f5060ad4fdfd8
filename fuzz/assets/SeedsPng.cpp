// Writes PNG files of every colour type into the folder argv[1]: pictures our encoder writes,
// and files laid out chunk by chunk for the colour types and depths it does not write.
#include "editor/assets/CPngCodec.h"
#include "fuzz/common/SeedFiles.h"

#include <zlib.h>

#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBe32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(Bytes& out, const std::string& type, const Bytes& body) {
    PutBe32(out, static_cast<std::uint32_t>(body.size()));
    Bytes typed(type.begin(), type.end());
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBe32(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// A 5 x 4 picture of the colour type and depth, rows of varied bytes under each filter;
// interlaced, its seven passes hold rows of 1, 1, 1, 3 and 2 pixels and two of 5.
Bytes Laid(std::uint8_t depth, std::uint8_t colour, const Bytes& palette, const Bytes& alpha,
           bool interlaced = false) {
    const unsigned channels = colour == 2 ? 3 : colour == 4 ? 2 : colour == 6 ? 4 : 1;
    const std::vector<unsigned> widths = interlaced ? std::vector<unsigned>{1, 1, 1, 3, 2, 2, 5, 5}
                                                    : std::vector<unsigned>{5, 5, 5, 5};
    Bytes raw;
    std::uint8_t y = 0;
    for (const unsigned width : widths) {
        const std::size_t rowBytes = (width * channels * depth + 7) / 8;
        raw.push_back(static_cast<std::uint8_t>(y % 4 + 1)); // Sub, Up, Average, Paeth
        for (std::size_t i = 0; i < rowBytes; ++i)
            raw.push_back(colour == 3 && depth == 8 ? static_cast<std::uint8_t>(i % 2)
                                                    : static_cast<std::uint8_t>(i * 37 + y * 11));
        ++y;
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(size);
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(header, 5);
    PutBe32(header, 4);
    header.insert(header.end(), {depth, colour, 0, 0, static_cast<std::uint8_t>(interlaced)});
    PutChunk(out, "IHDR", header);
    if (!palette.empty())
        PutChunk(out, "PLTE", palette);
    if (!alpha.empty())
        PutChunk(out, "tRNS", alpha);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

std::vector<Seed> PngSeeds() {
    std::vector<Seed> seeds;
    for (const bool withAlpha : {false, true}) {
        wren::BgraImage picture{9, 6, Bytes(9 * 6 * 4)};
        for (std::size_t i = 0; i < picture.pixels.size(); ++i)
            picture.pixels[i] = static_cast<std::uint8_t>(
                i % 4 == 3 ? (withAlpha ? i * 5 : 255) : (i * 13) ^ (i >> 3));
        std::string error;
        if (const auto file = CPngCodec::Encode(picture, error))
            seeds.push_back({withAlpha ? "encoded_rgba.png" : "encoded_rgb.png", *file});
    }
    Bytes palette;
    for (int i = 0; i < 16 * 3; ++i)
        palette.push_back(static_cast<std::uint8_t>(i * 5));
    seeds.push_back({"grey1.png", Laid(1, 0, {}, {})});
    seeds.push_back({"grey4_key.png", Laid(4, 0, {}, {0, 3})});
    seeds.push_back({"grey16.png", Laid(16, 0, {}, {})});
    seeds.push_back({"grey_alpha8.png", Laid(8, 4, {}, {})});
    seeds.push_back({"rgb16_key.png", Laid(16, 2, {}, {0, 1, 0, 2, 0, 3})});
    seeds.push_back({"rgba16.png", Laid(16, 6, {}, {})});
    seeds.push_back({"palette2.png", Laid(2, 3, palette, {0, 128})});
    seeds.push_back({"palette4.png", Laid(4, 3, palette, {})});
    seeds.push_back({"palette8.png", Laid(8, 3, palette, {7})});
    seeds.push_back({"interlaced_rgba8.png", Laid(8, 6, {}, {}, true)});
    seeds.push_back({"interlaced_grey2.png", Laid(2, 0, {}, {}, true)});
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    return SeedsMain(argc, argv, PngSeeds);
}
