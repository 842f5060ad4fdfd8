#pragma once

#include "BgraImage.h"

#include <cstdint>

namespace wren {

// Resizes 32-bit pictures for shapes: each axis shrinks by area averaging (every source pixel
// counts by the part of it a target pixel covers) and grows by Catmull-Rom interpolation.
// Colours are weighted by their alpha, so fully transparent pixels lend no colour to their
// neighbours.
class ImageResampler {
public:
    // The picture at width x height (each at least 1); the picture itself when the size is its
    // own; an empty picture for an empty or short input.
    static BgraImage Resize(const BgraImage& image, uint32_t width, uint32_t height);

    // True when every pixel has alpha 255.
    static bool IsOpaque(const BgraImage& image);
};

} // namespace wren
