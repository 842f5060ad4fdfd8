#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace wren {

// Decoder of the block-compressed shape types DXT1 (0x60), DXT3 (0x61) and DXT5 (0x62) into 32-bit
// pixels (bytes blue, green, red, alpha).
class DxtDecoder {
public:
    // Bytes of one level of `width` x `height` (each rounded up to a multiple of 4).
    static size_t LevelBytes(uint8_t type, uint32_t width, uint32_t height);

    // Decodes one level into `pixels`, rows top to bottom, `width` (rounded up to 4) pixels each.
    // False, with nothing written, when the type is not a DXT type, the level is empty, the input
    // holds fewer bytes than the level needs or the output is smaller than the rounded level.
    static bool DecodeLevel(uint8_t type, std::span<const uint8_t> blocks, uint32_t width,
                            uint32_t height, std::span<uint8_t> pixels);

    // One block each, writing 4 rows of 4 pixels `stride` bytes apart. For DXT3 / DXT5 `opaque`
    // skips the alpha block and keeps alpha 255.
    static void DecodeDxt1Block(const uint8_t* block, uint8_t* out, size_t stride);
    static void DecodeDxt3Block(const uint8_t* block, uint8_t* out, size_t stride, bool opaque);
    static void DecodeDxt5Block(const uint8_t* block, uint8_t* out, size_t stride, bool opaque);

    // The palette of a colour block from its two colours (4 bytes): entries as 0xAARRGGBB.
    static void ColourPalette(const uint8_t* colours, uint32_t palette[4]);
    // The eight alpha values a DXT5 alpha block with these two end values can select.
    static void AlphaPalette(uint8_t a0, uint8_t a1, uint8_t palette[8]);

    // True when every alpha block of a DXT3 / DXT5 level is fully opaque.
    static bool IsLevelOpaque(uint8_t type, const uint8_t* blocks, size_t blockCount);
};

} // namespace wren
