#include "ImageResampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wren {

namespace {

// One target pixel of one axis: the source pixels it draws from and their weights (sum 1).
struct Tap {
    uint32_t first = 0;
    std::vector<float> weights;
};

float CatmullRom(float x) {
    x = std::fabs(x);
    if (x < 1.0f)
        return 1.5f * x * x * x - 2.5f * x * x + 1.0f;
    if (x < 2.0f)
        return -0.5f * x * x * x + 2.5f * x * x - 4.0f * x + 2.0f;
    return 0.0f;
}

std::vector<Tap> Taps(uint32_t from, uint32_t to) {
    std::vector<Tap> taps(to);
    const double scale = static_cast<double>(from) / to;
    for (uint32_t x = 0; x < to; ++x) {
        Tap& tap = taps[x];
        if (from > to) {
            // The target pixel covers [x, x + 1) * scale of the source.
            const double left = x * scale;
            const double right = left + scale;
            tap.first = static_cast<uint32_t>(left);
            const auto last =
                std::min<uint32_t>(from - 1, static_cast<uint32_t>(std::ceil(right)) - 1);
            for (uint32_t s = tap.first; s <= last; ++s)
                tap.weights.push_back(static_cast<float>(
                    (std::min<double>(s + 1, right) - std::max<double>(s, left)) / scale));
        } else {
            // Centres aligned: target centre x + 0.5 sits at (x + 0.5) * scale in the source.
            const double centre = (x + 0.5) * scale - 0.5;
            const auto base = static_cast<int64_t>(std::floor(centre));
            float sum = 0.0f;
            std::vector<float> raw(4);
            for (int k = 0; k < 4; ++k) {
                raw[static_cast<size_t>(k)] =
                    CatmullRom(static_cast<float>(centre - (base - 1 + k)));
                sum += raw[static_cast<size_t>(k)];
            }
            // Taps past the edges fold onto the edge pixels.
            const int64_t lo = std::clamp<int64_t>(base - 1, 0, from - 1);
            const int64_t hi = std::clamp<int64_t>(base + 2, 0, from - 1);
            tap.first = static_cast<uint32_t>(lo);
            tap.weights.assign(static_cast<size_t>(hi - lo + 1), 0.0f);
            for (int k = 0; k < 4; ++k) {
                const int64_t s = std::clamp<int64_t>(base - 1 + k, 0, from - 1);
                tap.weights[static_cast<size_t>(s - lo)] += raw[static_cast<size_t>(k)] / sum;
            }
        }
    }
    return taps;
}

} // namespace

bool ImageResampler::IsOpaque(const BgraImage& image) {
    const size_t count = size_t{image.width} * image.height;
    for (size_t i = 0; i < count && 4 * i + 3 < image.pixels.size(); ++i)
        if (image.pixels[4 * i + 3] != 255)
            return false;
    return true;
}

BgraImage ImageResampler::Resize(const BgraImage& image, uint32_t width, uint32_t height) {
    const size_t sourcePixels = size_t{image.width} * image.height;
    if (sourcePixels == 0 || image.pixels.size() < 4 * sourcePixels || width == 0 || height == 0)
        return {};
    if (width == image.width && height == image.height)
        return image;
    // Premultiplied floats, so transparent pixels weigh nothing in the colour.
    std::vector<float> source(4 * sourcePixels);
    for (size_t i = 0; i < sourcePixels; ++i) {
        const float alpha = image.pixels[4 * i + 3] / 255.0f;
        for (int c = 0; c < 3; ++c)
            source[4 * i + c] = image.pixels[4 * i + c] * alpha;
        source[4 * i + 3] = alpha;
    }
    const std::vector<Tap> across = Taps(image.width, width);
    const std::vector<Tap> down = Taps(image.height, height);
    std::vector<float> rows(4 * size_t{width} * image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            float* out = &rows[4 * (size_t{y} * width + x)];
            const Tap& tap = across[x];
            for (size_t k = 0; k < tap.weights.size(); ++k) {
                const float* in = &source[4 * (size_t{y} * image.width + tap.first + k)];
                for (int c = 0; c < 4; ++c)
                    out[c] += in[c] * tap.weights[k];
            }
        }
    BgraImage result;
    result.width = width;
    result.height = height;
    result.pixels.resize(4 * size_t{width} * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            float sum[4] = {};
            const Tap& tap = down[y];
            for (size_t k = 0; k < tap.weights.size(); ++k) {
                const float* in = &rows[4 * ((tap.first + k) * size_t{width} + x)];
                for (int c = 0; c < 4; ++c)
                    sum[c] += in[c] * tap.weights[k];
            }
            uint8_t* out = &result.pixels[4 * (size_t{y} * width + x)];
            const float alpha = std::clamp(sum[3], 0.0f, 1.0f);
            out[3] = static_cast<uint8_t>(std::lround(alpha * 255.0f));
            for (int c = 0; c < 3; ++c)
                out[c] = alpha <= 0.0f ? 0
                                       : static_cast<uint8_t>(
                                             std::lround(std::clamp(sum[c] / alpha, 0.0f, 255.0f)));
        }
    return result;
}

} // namespace wren
