#pragma once

#include "BgraImage.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace wren {

// Encoder of 32-bit pictures into DXT1 (0x60), DXT3 (0x61) and DXT5 (0x62) blocks, tuned for
// the decoder of this library: endpoints along the block's main colour axis, indices chosen
// against the palette the decoder will build. Good for pictures, not for best quality.
class DxtEncoder {
public:
    // Blocks of the whole picture, width and height padded to multiples of 4 by repeating the
    // last column and row; nothing for another type or an empty picture.
    static std::optional<std::vector<uint8_t>> Encode(uint8_t type, const BgraImage& image);

    // One block from 16 pixels (bytes blue, green, red, alpha, rows of 4). DXT1 keeps pixels
    // with alpha below 128 transparent.
    static void EncodeDxt1Block(const uint8_t pixels[64], uint8_t out[8]);
    static void EncodeDxt3Block(const uint8_t pixels[64], uint8_t out[16]);
    static void EncodeDxt5Block(const uint8_t pixels[64], uint8_t out[16]);
};

} // namespace wren
