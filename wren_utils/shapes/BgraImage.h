#pragma once

#include <cstdint>
#include <vector>

namespace wren {

// A 32-bit picture: rows top to bottom, no padding, each pixel bytes blue, green, red, alpha.
struct BgraImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

} // namespace wren
