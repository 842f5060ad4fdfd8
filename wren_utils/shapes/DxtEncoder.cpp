#include "DxtEncoder.h"

#include "DxtDecoder.h"
#include "ShapeFormat.h"

#include <algorithm>
#include <cmath>

namespace wren {

namespace {

struct Rgb {
    int r, g, b;
};

uint16_t To565(float r, float g, float b) {
    const int r5 = std::clamp(static_cast<int>(std::lround(r * 31.0f / 255.0f)), 0, 31);
    const int g6 = std::clamp(static_cast<int>(std::lround(g * 63.0f / 255.0f)), 0, 63);
    const int b5 = std::clamp(static_cast<int>(std::lround(b * 31.0f / 255.0f)), 0, 31);
    return static_cast<uint16_t>((r5 << 11) | (g6 << 5) | b5);
}

// The palette exactly as the decoder builds it, so indices match what will be shown.
void DecodedPalette(uint16_t c0, uint16_t c1, Rgb palette[4], bool& transparent3) {
    const uint8_t colours[4] = {static_cast<uint8_t>(c0), static_cast<uint8_t>(c0 >> 8),
                                static_cast<uint8_t>(c1), static_cast<uint8_t>(c1 >> 8)};
    uint32_t entries[4];
    DxtDecoder::ColourPalette(colours, entries);
    for (int i = 0; i < 4; ++i)
        palette[i] = {static_cast<int>((entries[i] >> 16) & 0xFF),
                      static_cast<int>((entries[i] >> 8) & 0xFF),
                      static_cast<int>(entries[i] & 0xFF)};
    transparent3 = (entries[3] >> 24) == 0;
}

int Distance(const Rgb& a, const uint8_t* pixel) {
    const int dr = a.r - pixel[2];
    const int dg = a.g - pixel[1];
    const int db = a.b - pixel[0];
    return 2 * dr * dr + 4 * dg * dg + db * db;
}

// Endpoints at the extremes of the pixels' projection on their main axis (a few power
// iterations on the covariance); only pixels with `use` set count.
void ChooseEndpoints(const uint8_t pixels[64], const bool use[16], uint16_t& c0, uint16_t& c1) {
    float mean[3] = {0, 0, 0};
    int n = 0;
    for (int i = 0; i < 16; ++i)
        if (use[i]) {
            for (int c = 0; c < 3; ++c)
                mean[c] += pixels[4 * i + 2 - c];
            ++n;
        }
    if (n == 0) {
        c0 = c1 = 0;
        return;
    }
    for (float& m : mean)
        m /= static_cast<float>(n);
    float cov[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 16; ++i)
        if (use[i]) {
            const float d[3] = {pixels[4 * i + 2] - mean[0], pixels[4 * i + 1] - mean[1],
                                pixels[4 * i] - mean[2]};
            cov[0] += d[0] * d[0];
            cov[1] += d[0] * d[1];
            cov[2] += d[0] * d[2];
            cov[3] += d[1] * d[1];
            cov[4] += d[1] * d[2];
            cov[5] += d[2] * d[2];
        }
    float axis[3] = {1.0f, 1.0f, 1.0f};
    for (int iteration = 0; iteration < 6; ++iteration) {
        const float x = cov[0] * axis[0] + cov[1] * axis[1] + cov[2] * axis[2];
        const float y = cov[1] * axis[0] + cov[3] * axis[1] + cov[4] * axis[2];
        const float z = cov[2] * axis[0] + cov[4] * axis[1] + cov[5] * axis[2];
        const float length = std::max({std::fabs(x), std::fabs(y), std::fabs(z)});
        if (length < 1e-6f)
            break;
        axis[0] = x / length;
        axis[1] = y / length;
        axis[2] = z / length;
    }
    float low = 1e30f, high = -1e30f;
    for (int i = 0; i < 16; ++i)
        if (use[i]) {
            const float t = (pixels[4 * i + 2] - mean[0]) * axis[0] +
                            (pixels[4 * i + 1] - mean[1]) * axis[1] +
                            (pixels[4 * i] - mean[2]) * axis[2];
            low = std::min(low, t);
            high = std::max(high, t);
        }
    const float norm = axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2];
    const float scaleLow = norm > 0 ? low / norm : 0;
    const float scaleHigh = norm > 0 ? high / norm : 0;
    c0 = To565(mean[0] + axis[0] * scaleHigh, mean[1] + axis[1] * scaleHigh,
               mean[2] + axis[2] * scaleHigh);
    c1 = To565(mean[0] + axis[0] * scaleLow, mean[1] + axis[1] * scaleLow,
               mean[2] + axis[2] * scaleLow);
}

// Colour block with endpoints and indices; `transparent` marks pixels that must get index 3 of
// the three-colour palette (DXT1 only).
void EncodeColour(const uint8_t pixels[64], const bool transparent[16], bool allowTransparent,
                  uint8_t out[8]) {
    bool use[16];
    bool anyTransparent = false;
    for (int i = 0; i < 16; ++i) {
        use[i] = !(allowTransparent && transparent[i]);
        anyTransparent = anyTransparent || !use[i];
    }
    uint16_t c0, c1;
    ChooseEndpoints(pixels, use, c0, c1);
    if (anyTransparent) {
        // The three-colour palette with a transparent entry needs c0 < c1.
        if (c0 > c1)
            std::swap(c0, c1);
        if (c0 == c1) {
            if (c1 < 0xFFFF)
                ++c1;
            else
                --c0;
        }
    } else if (c0 < c1) {
        std::swap(c0, c1);
    }
    Rgb palette[4];
    bool transparent3 = false;
    DecodedPalette(c0, c1, palette, transparent3);
    const int choices = transparent3 ? 3 : 4;
    out[0] = static_cast<uint8_t>(c0);
    out[1] = static_cast<uint8_t>(c0 >> 8);
    out[2] = static_cast<uint8_t>(c1);
    out[3] = static_cast<uint8_t>(c1 >> 8);
    for (int y = 0; y < 4; ++y) {
        uint8_t bits = 0;
        for (int x = 0; x < 4; ++x) {
            const int i = 4 * y + x;
            int best = 3;
            if (use[i]) {
                int bestDistance = Distance(palette[0], pixels + 4 * i);
                best = 0;
                for (int k = 1; k < choices; ++k) {
                    const int d = Distance(palette[k], pixels + 4 * i);
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = k;
                    }
                }
            }
            bits = static_cast<uint8_t>(bits | (best << (2 * x)));
        }
        out[4 + y] = bits;
    }
}

void EncodeDxt5Alpha(const uint8_t pixels[64], uint8_t out[8]) {
    uint8_t low = 255, high = 0;
    for (int i = 0; i < 16; ++i) {
        low = std::min(low, pixels[4 * i + 3]);
        high = std::max(high, pixels[4 * i + 3]);
    }
    // a0 > a1 gives eight graded entries; with low == high every entry 0 matches anyway.
    uint8_t palette[8];
    DxtDecoder::AlphaPalette(high, low, palette);
    uint64_t bits = 0;
    for (int i = 0; i < 16; ++i) {
        const int a = pixels[4 * i + 3];
        int best = 0;
        int bestDistance = 256;
        for (int k = 0; k < 8; ++k) {
            const int d = std::abs(palette[k] - a);
            if (d < bestDistance) {
                bestDistance = d;
                best = k;
            }
        }
        bits |= static_cast<uint64_t>(best) << (3 * i);
    }
    out[0] = high;
    out[1] = low;
    for (int i = 0; i < 6; ++i)
        out[2 + i] = static_cast<uint8_t>(bits >> (8 * i));
}

} // namespace

void DxtEncoder::EncodeDxt1Block(const uint8_t pixels[64], uint8_t out[8]) {
    bool transparent[16];
    for (int i = 0; i < 16; ++i)
        transparent[i] = pixels[4 * i + 3] < 128;
    EncodeColour(pixels, transparent, true, out);
}

void DxtEncoder::EncodeDxt3Block(const uint8_t pixels[64], uint8_t out[16]) {
    for (int i = 0; i < 8; ++i) {
        const int first = (pixels[8 * i + 3] * 15 + 127) / 255;
        const int second = (pixels[8 * i + 7] * 15 + 127) / 255;
        out[i] = static_cast<uint8_t>(first | (second << 4));
    }
    const bool none[16] = {};
    EncodeColour(pixels, none, false, out + 8);
}

void DxtEncoder::EncodeDxt5Block(const uint8_t pixels[64], uint8_t out[16]) {
    EncodeDxt5Alpha(pixels, out);
    const bool none[16] = {};
    EncodeColour(pixels, none, false, out + 8);
}

std::optional<std::vector<uint8_t>> DxtEncoder::Encode(uint8_t type, const BgraImage& image) {
    const uint8_t t = type & 0x7F;
    if (!IsDxtShapeType(t) || image.width == 0 || image.height == 0 ||
        image.pixels.size() / 4 / image.width < image.height)
        return std::nullopt;
    const size_t blockBytes = t == kShapeTypeDxt1 ? 8 : 16;
    const size_t blocksWide = (image.width + 3) / 4;
    const size_t blocksHigh = (image.height + 3) / 4;
    std::vector<uint8_t> out(blocksWide * blocksHigh * blockBytes);
    uint8_t* block = out.data();
    uint8_t pixels[64];
    for (size_t by = 0; by < blocksHigh; ++by)
        for (size_t bx = 0; bx < blocksWide; ++bx, block += blockBytes) {
            for (size_t y = 0; y < 4; ++y)
                for (size_t x = 0; x < 4; ++x) {
                    const size_t sx = std::min<size_t>(bx * 4 + x, image.width - 1);
                    const size_t sy = std::min<size_t>(by * 4 + y, image.height - 1);
                    std::copy_n(image.pixels.data() + 4 * (sy * image.width + sx), 4,
                                pixels + 4 * (4 * y + x));
                }
            if (t == kShapeTypeDxt1)
                EncodeDxt1Block(pixels, block);
            else if (t == kShapeTypeDxt3)
                EncodeDxt3Block(pixels, block);
            else
                EncodeDxt5Block(pixels, block);
        }
    return out;
}

} // namespace wren
