#pragma once

#include "BgraImage.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace wren {

// How hard the encoder works on each block.
enum class DxtQuality {
    // Bounding-box endpoints and one pass of index choice, both DXT5 alpha palettes over the
    // block's range: for previews.
    Fast,
    // Endpoints along the block's main colour axis, refined by least squares against the exact
    // palette the decoder builds where the block is more than a few levels off; single colours
    // from tables; both DXT5 alpha palettes refined.
    High,
};

// Encoder of 32-bit pictures into DXT1 (0x60), DXT3 (0x61) and DXT5 (0x62) blocks, tuned for
// the decoder of this library: every candidate is measured against the palette the decoder will
// build, with the plain sum of squared channel differences. The output depends only on the input.
// DXT3 and DXT5 colour blocks always use the four-colour palette, as hardware decoders read them.
class DxtEncoder {
public:
    // Blocks of the whole picture, width and height padded to multiples of 4 by repeating the
    // last column and row; nothing for another type or an empty picture.
    static std::optional<std::vector<uint8_t>> Encode(uint8_t type, const BgraImage& image,
                                                      DxtQuality quality = DxtQuality::High);

    // One block from 16 pixels (bytes blue, green, red, alpha, rows of 4). DXT1 keeps pixels
    // with alpha below 128 transparent (black, alpha 0).
    static void EncodeDxt1Block(const uint8_t pixels[64], uint8_t out[8],
                                DxtQuality quality = DxtQuality::High);
    static void EncodeDxt3Block(const uint8_t pixels[64], uint8_t out[16],
                                DxtQuality quality = DxtQuality::High);
    static void EncodeDxt5Block(const uint8_t pixels[64], uint8_t out[16],
                                DxtQuality quality = DxtQuality::High);
};

} // namespace wren
