#include "MagentaKey.h"

#include "ImageResampler.h"

#include <algorithm>

namespace wren {

namespace {

bool IsMagenta(const uint8_t* pixel) {
    return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
}

size_t PixelCount(const BgraImage& image) {
    return std::min(size_t{image.width} * image.height, image.pixels.size() / 4);
}

} // namespace

size_t MagentaKey::Count(const BgraImage& image) {
    if (!ImageResampler::IsOpaque(image))
        return 0;
    size_t count = 0;
    for (size_t i = 0; i < PixelCount(image); ++i)
        count += IsMagenta(&image.pixels[4 * i]) ? 1 : 0;
    return count;
}

size_t MagentaKey::Apply(BgraImage& image) {
    if (!ImageResampler::IsOpaque(image))
        return 0;
    size_t count = 0;
    for (size_t i = 0; i < PixelCount(image); ++i) {
        uint8_t* pixel = &image.pixels[4 * i];
        if (IsMagenta(pixel)) {
            std::fill(pixel, pixel + 4, uint8_t{0});
            ++count;
        }
    }
    return count;
}

} // namespace wren
