#pragma once

#include "BgraImage.h"

#include <cstddef>

namespace wren {

// Pure magenta (255, 0, 255) is the transparent colour of the game's pictures that have no
// alpha of their own, and of the editor's views of them. No DXT palette entry decodes to it
// (its end colours gain +4/+2/+4), so an import turns it into real transparency instead.
class MagentaKey {
public:
    // Pixels exactly magenta in an opaque picture; 0 for a picture with alpha, whose own
    // transparency is the one that counts.
    static size_t Count(const BgraImage& image);
    // Makes those pixels transparent (all bytes 0, as resizing leaves transparent pixels) and
    // returns how many there were.
    static size_t Apply(BgraImage& image);
};

} // namespace wren
