#pragma once

#include <cstdint>

namespace wren {

// Record types of shape containers that the converter understands.
constexpr uint8_t kShapeTypeDxt1 = 0x60;
constexpr uint8_t kShapeTypeDxt3 = 0x61;
constexpr uint8_t kShapeTypeDxt5 = 0x62;
constexpr uint8_t kShapeTypeName = 0x70;
constexpr uint8_t kShapeTypeBgra32 = 0x7D;
constexpr uint8_t kShapeTypePackedBit = 0x80;

constexpr uint32_t kShapeHeaderSize = 16;
constexpr uint32_t kShapeFlagPixelOffset = 1u << 12;
constexpr uint32_t kShapeFlagPaletteRule = 1u << 13;

// Bits per pixel of a record type (bit 7 ignored); 0 for types that carry no pixels.
int ShapeBitsPerPixel(uint8_t type);

bool IsDxtShapeType(uint8_t type);

// Bytes of pixel data of all levels of an image record: levels = 1 + mipmap count, each level
// halved and at least 1 pixel, block types rounded up to whole 4 x 4 blocks.
uint64_t ShapePixelBytes(uint8_t type, uint32_t width, uint32_t height, uint32_t mipmaps);

// Bytes of pixel data of the first level only.
uint64_t ShapeLevelBytes(uint8_t type, uint32_t width, uint32_t height);

} // namespace wren
