#include "ShapeFormat.h"

#include <array>

namespace wren {

namespace {

constexpr std::array<uint8_t, 128> MakeBitsTable() {
    std::array<uint8_t, 128> bits{};
    constexpr uint8_t pairs[][2] = {
        {0x01, 4},  {0x02, 8},  {0x03, 15}, {0x04, 24}, {0x05, 32}, {0x06, 16}, {0x10, 4},
        {0x11, 8},  {0x12, 8},  {0x13, 16}, {0x14, 16}, {0x15, 15}, {0x16, 32}, {0x18, 4},
        {0x19, 8},  {0x1A, 16}, {0x1C, 12}, {0x1E, 4},  {0x20, 15}, {0x21, 32}, {0x22, 24},
        {0x24, 24}, {0x29, 16}, {0x2A, 32}, {0x2C, 32}, {0x2D, 15}, {0x2E, 32}, {0x30, 16},
        {0x31, 16}, {0x32, 15}, {0x33, 32}, {0x38, 32}, {0x39, 15}, {0x40, 4},  {0x41, 8},
        {0x42, 15}, {0x43, 24}, {0x58, 4},  {0x59, 8},  {0x5A, 15}, {0x5B, 16}, {0x5C, 16},
        {0x5D, 24}, {0x5E, 32}, {0x60, 4},  {0x61, 8},  {0x62, 8},  {0x64, 8},  {0x65, 16},
        {0x66, 24}, {0x67, 16}, {0x68, 16}, {0x6A, 32}, {0x6C, 12}, {0x6D, 16}, {0x78, 16},
        {0x79, 4},  {0x7A, 4},  {0x7B, 8},  {0x7D, 32}, {0x7E, 15}, {0x7F, 24}};
    for (const auto& pair : pairs)
        bits[pair[0]] = pair[1];
    return bits;
}

constexpr std::array<uint8_t, 128> kBitsPerPixel = MakeBitsTable();

uint64_t LevelBytes(uint8_t type, int bits, uint32_t width, uint32_t height) {
    uint64_t w = width ? width : 1;
    uint64_t h = height ? height : 1;
    if (IsDxtShapeType(type)) {
        w = (w + 3) & ~uint64_t{3};
        h = (h + 3) & ~uint64_t{3};
    }
    const uint64_t b = bits == 15 ? 16 : static_cast<uint64_t>(bits);
    return h * ((b * w + 7) / 8);
}

} // namespace

int ShapeBitsPerPixel(uint8_t type) {
    return kBitsPerPixel[type & 0x7F];
}

bool IsDxtShapeType(uint8_t type) {
    const uint8_t t = type & 0x7F;
    return t == kShapeTypeDxt1 || t == kShapeTypeDxt3 || t == kShapeTypeDxt5;
}

uint64_t ShapePixelBytes(uint8_t type, uint32_t width, uint32_t height, uint32_t mipmaps) {
    const int bits = ShapeBitsPerPixel(type);
    uint64_t total = 0;
    for (uint32_t level = 0; level <= mipmaps; ++level)
        total += LevelBytes(type, bits, width >> level, height >> level);
    return total;
}

uint64_t ShapeLevelBytes(uint8_t type, uint32_t width, uint32_t height) {
    return LevelBytes(type, ShapeBitsPerPixel(type), width, height);
}

} // namespace wren
