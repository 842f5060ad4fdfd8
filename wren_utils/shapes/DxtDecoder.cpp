#include "DxtDecoder.h"

#include "ShapeFormat.h"

#include <bit>
#include <cstring>
#include <utility>

namespace wren {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// Calls f(0) .. f(N-1) with compile-time indices: the per-pixel loops unrolled on every compiler.
template <typename F, size_t... I> inline void Unrolled(F&& f, std::index_sequence<I...>) {
    (f(std::integral_constant<size_t, I>{}), ...);
}
template <size_t N, typename F> inline void Unrolled(F&& f) {
    Unrolled(std::forward<F>(f), std::make_index_sequence<N>{});
}

// Channels of a colour in 16-bit lanes (blue, green, red) so that the palette's weighted means
// are one multiplication each; every lane stays below 2^13.
inline uint64_t Lanes(uint32_t colour) {
    return uint64_t{(colour & 0x1F) * 8} | uint64_t{((colour >> 5) & 0x3F) * 4} << 16 |
           uint64_t{(colour >> 11) * 8} << 32;
}

inline uint32_t LanesToPixel(uint64_t lanes, uint32_t alpha) {
    return static_cast<uint32_t>((lanes & 0xFF) | ((lanes >> 8) & 0xFF00) |
                                 ((lanes >> 16) & 0xFF0000)) |
           alpha;
}

constexpr uint64_t kLaneLow8 = 0x000000FF00FF00FFull;
constexpr uint64_t kPlusFourTwoFour = 0x0000000400020004ull;

// The four palette entries of a colour block; alpha 255 except the transparent entry 3.
inline void ColourEntries(const uint8_t* block, uint32_t palette[4]) {
    const uint32_t c0 = block[0] | (block[1] << 8);
    const uint32_t c1 = block[2] | (block[3] << 8);
    const uint64_t e0 = Lanes(c0);
    const uint64_t e1 = Lanes(c1);
    palette[0] = LanesToPixel(e0 + kPlusFourTwoFour, kOpaque);
    palette[1] = LanesToPixel(e1 + kPlusFourTwoFour, kOpaque);
    if (c0 < c1) {
        palette[2] = LanesToPixel(((e0 + e1) >> 1) & kLaneLow8, kOpaque);
        palette[3] = 0;
    } else {
        palette[2] = LanesToPixel(((5 * e0 + 3 * e1) >> 3) & kLaneLow8, kOpaque);
        palette[3] = LanesToPixel(((3 * e0 + 5 * e1) >> 3) & kLaneLow8, kOpaque);
    }
}

inline uint32_t ColourIndices(const uint8_t* block) {
    return block[4] | (block[5] << 8) | (block[6] << 16) | (static_cast<uint32_t>(block[7]) << 24);
}

inline void StorePixel(uint8_t* out, uint32_t value) {
    // Pixels are stored little-endian: blue, green, red, alpha.
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &value, 4);
    } else {
        out[0] = static_cast<uint8_t>(value);
        out[1] = static_cast<uint8_t>(value >> 8);
        out[2] = static_cast<uint8_t>(value >> 16);
        out[3] = static_cast<uint8_t>(value >> 24);
    }
}

// Writes pixel i of a block (row i / 4, column i % 4).
template <typename F> inline void WriteBlock(uint8_t* out, size_t stride, F&& pixel) {
    Unrolled<16>([&](auto i) { StorePixel(out + (i / 4) * stride + 4 * (i % 4), pixel(i)); });
}

// Colour palette for DXT3 / DXT5: the alpha comes from the alpha block.
inline void ColourPaletteWithoutAlpha(const uint8_t* block, uint32_t palette[4]) {
    ColourEntries(block, palette);
    Unrolled<4>([&](auto i) { palette[i] &= ~kOpaque; });
}

inline void DecodeOpaque(const uint8_t* colour, uint8_t* out, size_t stride) {
    uint32_t palette[4];
    ColourEntries(colour, palette);
    palette[3] |= kOpaque;
    const uint32_t bits = ColourIndices(colour);
    WriteBlock(out, stride, [&](auto i) { return palette[(bits >> (2 * i)) & 3]; });
}

// The eight alpha entries of a DXT5 block, already in the alpha byte's place. The weighted sums
// step by a1 - a0 from one entry to the next; x / 7 and x / 5 are exact as multiplications for
// every sum that can occur (below 2^11).
inline void AlphaEntries(uint32_t a0, uint32_t a1, uint32_t alpha[8]) {
    alpha[0] = a0 << 24;
    alpha[1] = a1 << 24;
    const auto step = static_cast<int32_t>(a1) - static_cast<int32_t>(a0);
    if (a0 > a1) {
        auto sum = static_cast<int32_t>(6 * a0 + a1 + 3);
        Unrolled<6>([&](auto k) {
            alpha[2 + k] = ((static_cast<uint32_t>(sum) * 9363u) >> 16) << 24;
            sum += step;
        });
    } else {
        auto sum = static_cast<int32_t>(4 * a0 + a1 + 2);
        Unrolled<4>([&](auto k) {
            alpha[2 + k] = ((static_cast<uint32_t>(sum) * 13108u) >> 16) << 24;
            sum += step;
        });
        alpha[6] = 0;
        alpha[7] = kOpaque;
    }
}

} // namespace

void DxtDecoder::ColourPalette(const uint8_t* colours, uint32_t palette[4]) {
    ColourEntries(colours, palette);
}

void DxtDecoder::AlphaPalette(uint8_t a0, uint8_t a1, uint8_t palette[8]) {
    uint32_t alpha[8];
    AlphaEntries(a0, a1, alpha);
    for (int i = 0; i < 8; ++i)
        palette[i] = static_cast<uint8_t>(alpha[i] >> 24);
}

size_t DxtDecoder::LevelBytes(uint8_t type, uint32_t width, uint32_t height) {
    return static_cast<size_t>(ShapeLevelBytes(type, width, height));
}

void DxtDecoder::DecodeDxt1Block(const uint8_t* block, uint8_t* out, size_t stride) {
    uint32_t palette[4];
    ColourEntries(block, palette);
    const uint32_t bits = ColourIndices(block);
    WriteBlock(out, stride, [&](auto i) { return palette[(bits >> (2 * i)) & 3]; });
}

void DxtDecoder::DecodeDxt3Block(const uint8_t* block, uint8_t* out, size_t stride, bool opaque) {
    if (opaque) {
        DecodeOpaque(block + 8, out, stride);
        return;
    }
    uint32_t palette[4];
    ColourPaletteWithoutAlpha(block + 8, palette);
    const uint32_t bits = ColourIndices(block + 8);
    uint64_t alpha = 0;
    std::memcpy(&alpha, block, 8);
    if constexpr (std::endian::native != std::endian::little) {
        alpha = 0;
        for (int i = 0; i < 8; ++i)
            alpha |= static_cast<uint64_t>(block[i]) << (8 * i);
    }
    WriteBlock(out, stride, [&](auto i) {
        return palette[(bits >> (2 * i)) & 3] |
               static_cast<uint32_t>((alpha >> (4 * i)) & 0xF) * (17u << 24);
    });
}

void DxtDecoder::DecodeDxt5Block(const uint8_t* block, uint8_t* out, size_t stride, bool opaque) {
    if (opaque) {
        DecodeOpaque(block + 8, out, stride);
        return;
    }
    uint32_t palette[4];
    ColourPaletteWithoutAlpha(block + 8, palette);
    const uint32_t bits = ColourIndices(block + 8);
    uint32_t alpha[8];
    AlphaEntries(block[0], block[1], alpha);
    const uint64_t indices = block[2] | (block[3] << 8) | (uint64_t{block[4]} << 16) |
                             (uint64_t{block[5]} << 24) | (uint64_t{block[6]} << 32) |
                             (uint64_t{block[7]} << 40);
    WriteBlock(out, stride, [&](auto i) {
        return palette[(bits >> (2 * i)) & 3] | alpha[(indices >> (3 * i)) & 7];
    });
}

bool DxtDecoder::IsLevelOpaque(uint8_t type, const uint8_t* blocks, size_t blockCount) {
    const uint8_t t = type & 0x7F;
    for (size_t i = 0; i < blockCount; ++i) {
        const uint8_t* block = blocks + 16 * i;
        if (t == kShapeTypeDxt3) {
            uint64_t bits;
            std::memcpy(&bits, block, 8);
            if (bits != ~uint64_t{0})
                return false;
        } else if (block[0] != 255 || block[1] != 255) {
            return false;
        }
    }
    return true;
}

bool DxtDecoder::DecodeLevel(uint8_t type, std::span<const uint8_t> blocks, uint32_t width,
                             uint32_t height, std::span<uint8_t> pixels) {
    const uint8_t t = type & 0x7F;
    if (!IsDxtShapeType(t) || width == 0 || height == 0)
        return false;
    const size_t blocksWide = (static_cast<size_t>(width) + 3) / 4;
    const size_t blocksHigh = (static_cast<size_t>(height) + 3) / 4;
    const size_t blockBytes = t == kShapeTypeDxt1 ? 8 : 16;
    const size_t blockCount = blocksWide * blocksHigh;
    const size_t stride = blocksWide * 16;
    if (blocks.size() / blockBytes < blockCount || pixels.size() / stride < blocksHigh * 4)
        return false;
    const uint8_t* in = blocks.data();
    const bool opaque = t != kShapeTypeDxt1 && IsLevelOpaque(t, in, blockCount);
    for (size_t by = 0; by < blocksHigh; ++by) {
        uint8_t* row = pixels.data() + by * 4 * stride;
        for (size_t bx = 0; bx < blocksWide; ++bx, in += blockBytes) {
            uint8_t* out = row + bx * 16;
            if (t == kShapeTypeDxt1)
                DecodeDxt1Block(in, out, stride);
            else if (t == kShapeTypeDxt3)
                DecodeDxt3Block(in, out, stride, opaque);
            else
                DecodeDxt5Block(in, out, stride, opaque);
        }
    }
    return true;
}

} // namespace wren
