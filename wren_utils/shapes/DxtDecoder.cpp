#include "DxtDecoder.h"

#include "ShapeFormat.h"

#include <cstring>

namespace wren {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

inline uint32_t Pack(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

inline void Store(uint8_t* out, uint32_t value) {
    // Pixels are stored little-endian: blue, green, red, alpha.
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
}

// The four palette entries of a colour block; alpha 255 except the transparent entry 3.
inline void ColourPalette(const uint8_t* block, uint32_t palette[4]) {
    const uint32_t c0 = block[0] | (block[1] << 8);
    const uint32_t c1 = block[2] | (block[3] << 8);
    const uint32_t r0 = (c0 >> 11) * 8, g0 = ((c0 >> 5) & 0x3F) * 4, b0 = (c0 & 0x1F) * 8;
    const uint32_t r1 = (c1 >> 11) * 8, g1 = ((c1 >> 5) & 0x3F) * 4, b1 = (c1 & 0x1F) * 8;
    palette[0] = Pack(r0 + 4, g0 + 2, b0 + 4, 255);
    palette[1] = Pack(r1 + 4, g1 + 2, b1 + 4, 255);
    if (c0 < c1) {
        palette[2] = Pack((r0 + r1) / 2, (g0 + g1) / 2, (b0 + b1) / 2, 255);
        palette[3] = 0;
    } else {
        palette[2] = Pack((5 * r0 + 3 * r1) / 8, (5 * g0 + 3 * g1) / 8, (5 * b0 + 3 * b1) / 8, 255);
        palette[3] = Pack((3 * r0 + 5 * r1) / 8, (3 * g0 + 5 * g1) / 8, (3 * b0 + 5 * b1) / 8, 255);
    }
}

// Writes the colour block; DXT3 / DXT5 force alpha 255 here and merge their alpha block
// afterwards.
inline void ColourBlock(const uint8_t* block, uint8_t* out, size_t stride, uint32_t forceAlpha) {
    uint32_t palette[4];
    ColourPalette(block, palette);
    for (int y = 0; y < 4; ++y) {
        const uint32_t bits = block[4 + y];
        uint32_t row[4];
        row[0] = palette[bits & 3] | forceAlpha;
        row[1] = palette[(bits >> 2) & 3] | forceAlpha;
        row[2] = palette[(bits >> 4) & 3] | forceAlpha;
        row[3] = palette[bits >> 6] | forceAlpha;
        uint8_t* line = out + y * stride;
        for (int x = 0; x < 4; ++x)
            Store(line + 4 * x, row[x]);
    }
}

} // namespace

size_t DxtDecoder::LevelBytes(uint8_t type, uint32_t width, uint32_t height) {
    return static_cast<size_t>(ShapeLevelBytes(type, width, height));
}

void DxtDecoder::DecodeDxt1Block(const uint8_t* block, uint8_t* out, size_t stride) {
    ColourBlock(block, out, stride, 0);
}

void DxtDecoder::DecodeDxt3Block(const uint8_t* block, uint8_t* out, size_t stride, bool opaque) {
    ColourBlock(block + 8, out, stride, kOpaque);
    if (opaque)
        return;
    for (int y = 0; y < 4; ++y) {
        const uint32_t bits = block[2 * y] | (block[2 * y + 1] << 8);
        uint8_t* line = out + y * stride;
        for (int x = 0; x < 4; ++x)
            line[4 * x + 3] = static_cast<uint8_t>(((bits >> (4 * x)) & 0xF) * 17);
    }
}

void DxtDecoder::DecodeDxt5Block(const uint8_t* block, uint8_t* out, size_t stride, bool opaque) {
    ColourBlock(block + 8, out, stride, kOpaque);
    if (opaque)
        return;
    const uint32_t a0 = block[0];
    const uint32_t a1 = block[1];
    uint8_t alpha[8];
    alpha[0] = static_cast<uint8_t>(a0);
    alpha[1] = static_cast<uint8_t>(a1);
    if (a0 > a1) {
        for (uint32_t i = 1; i <= 6; ++i)
            alpha[1 + i] = static_cast<uint8_t>(((7 - i) * a0 + i * a1 + 3) / 7);
    } else {
        for (uint32_t i = 1; i <= 4; ++i)
            alpha[1 + i] = static_cast<uint8_t>(((5 - i) * a0 + i * a1 + 2) / 5);
        alpha[6] = 0;
        alpha[7] = 255;
    }
    for (int group = 0; group < 2; ++group) {
        const uint8_t* g = block + 2 + 3 * group;
        const uint32_t bits = g[0] | (g[1] << 8) | (g[2] << 16);
        for (int i = 0; i < 8; ++i) {
            const int y = 2 * group + i / 4;
            const int x = i % 4;
            out[y * stride + 4 * x + 3] = alpha[(bits >> (3 * i)) & 7];
        }
    }
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
    if (!IsDxtShapeType(t))
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
