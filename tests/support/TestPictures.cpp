#include "TestPictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>

namespace {

struct Colour {
    float r, g, b;
};

// A float picture that figures are painted on with 4 x 4 samples per pixel, so that edges are
// smooth as in pictures drawn by hand; alpha grows as coverage does.
class Canvas {
public:
    Canvas(uint32_t side, bool withAlpha, Colour background)
        : m_side(side), m_withAlpha(withAlpha), m_rgb(size_t{side} * side),
          m_alpha(size_t{side} * side, withAlpha ? 0.0f : 1.0f) {
        std::fill(m_rgb.begin(), m_rgb.end(), withAlpha ? Colour{0, 0, 0} : background);
    }

    float Side() const { return static_cast<float>(m_side); }

    // Paints the colour colour(x, y) wherever inside(x, y) holds, x and y in 0..1.
    void Fill(const std::function<bool(float, float)>& inside,
              const std::function<Colour(float, float)>& colour) {
        const float step = 1.0f / (4.0f * Side());
        for (uint32_t y = 0; y < m_side; ++y)
            for (uint32_t x = 0; x < m_side; ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        hits +=
                            inside((4.0f * x + sx + 0.5f) * step, (4.0f * y + sy + 0.5f) * step);
                if (hits == 0)
                    continue;
                const float cover = hits / 16.0f;
                const float u = (x + 0.5f) / Side();
                const float v = (y + 0.5f) / Side();
                const Colour c = colour(u, v);
                const size_t i = size_t{y} * m_side + x;
                Colour& dst = m_rgb[i];
                float& alpha = m_alpha[i];
                // Over a transparent pixel the colour is the figure's, not a blend with black.
                const float keep = alpha > 0 ? 1.0f - cover : 0.0f;
                dst = {dst.r * keep + c.r * (1 - keep), dst.g * keep + c.g * (1 - keep),
                       dst.b * keep + c.b * (1 - keep)};
                alpha = cover + alpha * (1 - cover);
            }
    }

    // Multiplies the colour of every painted pixel by shade(x, y) and adds grain.
    void Shade(const std::function<float(float, float)>& shade, float grain, uint32_t seed) {
        std::mt19937 random(seed);
        for (uint32_t y = 0; y < m_side; ++y)
            for (uint32_t x = 0; x < m_side; ++x) {
                const size_t i = size_t{y} * m_side + x;
                const float noise = grain * (static_cast<float>(random() % 2001) / 1000.0f - 1.0f);
                if (m_alpha[i] == 0)
                    continue;
                const float s = shade((x + 0.5f) / Side(), (y + 0.5f) / Side());
                m_rgb[i] = {m_rgb[i].r * s + noise, m_rgb[i].g * s + noise, m_rgb[i].b * s + noise};
            }
    }

    void ScaleAlpha(const std::function<float(float, float)>& factor) {
        for (uint32_t y = 0; y < m_side; ++y)
            for (uint32_t x = 0; x < m_side; ++x)
                m_alpha[size_t{y} * m_side + x] *= factor((x + 0.5f) / Side(), (y + 0.5f) / Side());
    }

    wren::BgraImage Image() const {
        wren::BgraImage image{m_side, m_side, std::vector<uint8_t>(size_t{m_side} * m_side * 4)};
        auto byte = [](float v) {
            return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
        };
        for (size_t i = 0; i < m_rgb.size(); ++i) {
            const float a = m_withAlpha ? m_alpha[i] : 1.0f;
            const bool visible = byte(a * 255) > 0;
            image.pixels[4 * i] = visible ? byte(m_rgb[i].b) : 0;
            image.pixels[4 * i + 1] = visible ? byte(m_rgb[i].g) : 0;
            image.pixels[4 * i + 2] = visible ? byte(m_rgb[i].r) : 0;
            image.pixels[4 * i + 3] = byte(a * 255);
        }
        return image;
    }

private:
    uint32_t m_side;
    bool m_withAlpha;
    std::vector<Colour> m_rgb;
    std::vector<float> m_alpha;
};

float Smooth(float t) {
    return t * t * (3 - 2 * t);
}

// Value noise: random values on a grid of `cells` cells a side, blended smoothly.
class ValueNoise {
public:
    ValueNoise(int cells, uint32_t seed)
        : m_cells(cells), m_values(size_t(cells + 1) * (cells + 1)) {
        std::mt19937 random(seed);
        for (float& v : m_values)
            v = static_cast<float>(random() % 10001) / 10000.0f;
    }

    float At(float x, float y) const {
        const float fx = std::clamp(x, 0.0f, 1.0f) * m_cells;
        const float fy = std::clamp(y, 0.0f, 1.0f) * m_cells;
        const int ix = std::min(static_cast<int>(fx), m_cells - 1);
        const int iy = std::min(static_cast<int>(fy), m_cells - 1);
        const float tx = Smooth(fx - ix), ty = Smooth(fy - iy);
        auto v = [&](int gx, int gy) { return m_values[size_t(gy) * (m_cells + 1) + gx]; };
        const float top = v(ix, iy) * (1 - tx) + v(ix + 1, iy) * tx;
        const float bottom = v(ix, iy + 1) * (1 - tx) + v(ix + 1, iy + 1) * tx;
        return top * (1 - ty) + bottom * ty;
    }

private:
    int m_cells;
    std::vector<float> m_values;
};

float SegmentDistance(float x, float y, float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float length = dx * dx + dy * dy;
    const float t =
        length > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / length, 0.0f, 1.0f) : 0;
    const float px = x0 + t * dx - x, py = y0 + t * dy - y;
    return std::sqrt(px * px + py * py);
}

// A text-like glyph: two to four strokes between points of a 3 x 5 grid, like a stroke font.
struct Glyph {
    std::vector<std::array<float, 4>> strokes;
};

Glyph RandomGlyph(std::mt19937& random) {
    Glyph glyph;
    const int count = 2 + static_cast<int>(random() % 3);
    int px = static_cast<int>(random() % 3), py = static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i) {
        int nx = static_cast<int>(random() % 3), ny = static_cast<int>(random() % 5);
        if (nx == px && ny == py)
            ny = (ny + 2) % 5;
        glyph.strokes.push_back({px / 2.0f, py / 4.0f, nx / 2.0f, ny / 4.0f});
        px = nx;
        py = ny;
    }
    return glyph;
}

// Paints a line of glyphs `height` high from (x, y), as wide as `width`.
void PaintText(Canvas& canvas, std::mt19937& random, float x, float y, float height, float width,
               Colour colour) {
    const float glyphWidth = height * 0.6f;
    const float pen = height * 0.12f;
    for (float left = x; left + glyphWidth <= x + width; left += glyphWidth * 1.4f) {
        const Glyph glyph = RandomGlyph(random);
        canvas.Fill(
            [=](float u, float v) {
                if (u < left - pen || u > left + glyphWidth + pen || v < y - pen ||
                    v > y + height + pen)
                    return false;
                for (const auto& s : glyph.strokes)
                    if (SegmentDistance(u, v, left + s[0] * glyphWidth, y + s[1] * height,
                                        left + s[2] * glyphWidth, y + s[3] * height) < pen / 2)
                        return true;
                return false;
            },
            [=](float, float) { return colour; });
    }
}

Colour Solid(float r, float g, float b) {
    return {r, g, b};
}

wren::BgraImage Kit(uint32_t side, bool withAlpha) {
    Canvas canvas(side, withAlpha, Solid(40, 110, 50));
    const Colour body = Solid(200, 20, 35), stripe = Solid(245, 245, 240), trim = Solid(20, 30, 90);
    auto shirt = [](float u, float v) {
        const bool torso = u > 0.25f && u < 0.75f && v > 0.12f && v < 0.92f;
        // Sleeves slant down and out from the shoulders.
        const bool sleeve =
            v > 0.12f && v < 0.45f && std::fabs(u - 0.5f) < 0.25f + (0.45f - v) * 0.8f &&
            std::fabs(u - 0.5f) > 0.2f && v < 0.12f + (std::fabs(u - 0.5f) - 0.2f) * 1.6f + 0.2f;
        const bool neck = (u - 0.5f) * (u - 0.5f) + (v - 0.1f) * (v - 0.1f) < 0.1f * 0.1f;
        return (torso || sleeve) && !neck;
    };
    canvas.Fill(shirt,
                [&](float u, float) { return std::fmod(u * 10.0f, 1.0f) < 0.5f ? body : stripe; });
    // Sleeve cuffs and the collar ring.
    canvas.Fill(
        [&](float u, float v) {
            return shirt(u, v) && (u < 0.2f || u > 0.8f) && v > 0.2f && v < 0.24f;
        },
        [&](float, float) { return trim; });
    canvas.Fill(
        [](float u, float v) {
            const float d = std::sqrt((u - 0.5f) * (u - 0.5f) + (v - 0.1f) * (v - 0.1f));
            return d > 0.1f && d < 0.125f && v > 0.1f;
        },
        [&](float, float) { return trim; });
    // Badge and sponsor text on the chest.
    canvas.Fill(
        [](float u, float v) {
            return (u - 0.62f) * (u - 0.62f) + (v - 0.3f) * (v - 0.3f) < 0.045f * 0.045f;
        },
        [](float, float v) { return Solid(230, 190, 40 + 200 * (v - 0.25f)); });
    std::mt19937 random(side + 7);
    PaintText(canvas, random, 0.32f, 0.5f, 0.08f, 0.36f, trim);
    // Folds of the cloth and woven grain.
    canvas.Shade(
        [](float u, float v) {
            return 0.82f + 0.18f * std::sin(u * 19.0f + std::sin(v * 7.0f) * 2.0f);
        },
        3.0f, side);
    return canvas.Image();
}

wren::BgraImage Crest(uint32_t side, bool withAlpha) {
    Canvas canvas(side, withAlpha, Solid(235, 235, 230));
    auto radius = [](float u, float v) {
        return std::sqrt((u - 0.5f) * (u - 0.5f) + (v - 0.5f) * (v - 0.5f));
    };
    // A gold ring with a metallic gradient, the field split on the diagonal, a star.
    canvas.Fill([=](float u, float v) { return radius(u, v) < 0.47f; },
                [](float u, float v) {
                    const float t = 0.5f + 0.5f * std::sin((u + v) * 6.0f);
                    return Solid(150 + 100 * t, 110 + 80 * t, 20 + 30 * t);
                });
    canvas.Fill([=](float u, float v) { return radius(u, v) < 0.36f; },
                [](float u, float v) { return u > v ? Solid(10, 60, 160) : Solid(250, 250, 250); });
    canvas.Fill(
        [](float u, float v) {
            const float x = u - 0.5f, y = v - 0.5f;
            const float angle = std::atan2(y, x);
            const float r = std::sqrt(x * x + y * y);
            const float spike =
                std::fabs(std::fmod(angle * 5.0f / 6.2831853f + 10.25f, 1.0f) - 0.5f) * 2.0f;
            return r < 0.07f + 0.13f * spike;
        },
        [](float, float) { return Solid(220, 30, 30); });
    std::mt19937 random(side + 11);
    PaintText(canvas, random, 0.3f, 0.14f, 0.05f, 0.4f, Solid(30, 20, 10));
    PaintText(canvas, random, 0.34f, 0.8f, 0.05f, 0.32f, Solid(30, 20, 10));
    canvas.Shade([=](float u, float v) { return 1.05f - 0.3f * radius(u - 0.1f, v - 0.1f); }, 1.0f,
                 side);
    return canvas.Image();
}

wren::BgraImage Gradient(uint32_t side, bool withAlpha) {
    Canvas canvas(side, withAlpha, Solid(0, 0, 0));
    canvas.Fill([](float, float) { return true; },
                [](float u, float v) {
                    const float glow =
                        std::exp(-((u - 0.3f) * (u - 0.3f) + (v - 0.35f) * (v - 0.35f)) * 12.0f);
                    return Solid(30 + 180 * u + 40 * glow, 60 + 120 * v + 60 * glow,
                                 200 - 150 * u * v + 50 * glow);
                });
    if (withAlpha)
        canvas.ScaleAlpha([](float u, float v) {
            return std::clamp(
                1.4f - 2.2f * std::sqrt((u - 0.5f) * (u - 0.5f) + (v - 0.5f) * (v - 0.5f)), 0.0f,
                1.0f);
        });
    return canvas.Image();
}

wren::BgraImage Stripes(uint32_t side, bool withAlpha) {
    Canvas canvas(side, withAlpha, Solid(0, 0, 0));
    const Colour colours[4] = {Solid(250, 200, 0), Solid(0, 0, 0), Solid(0, 120, 70),
                               Solid(240, 240, 240)};
    // Hoops of several widths and pin stripes one and two pixels wide.
    canvas.Fill(
        [](float, float) { return true; },
        [&](float u, float v) {
            const float px = u * side, py = v * side;
            if (static_cast<int>(px) % 23 < (static_cast<int>(py) / 64 % 2 + 1))
                return colours[3];
            return colours[static_cast<int>(py / (6 + static_cast<int>(py) / 40 % 4 * 5)) % 3];
        });
    // A sash across, with smooth edges.
    canvas.Fill([](float u, float v) { return std::fabs(u - v) < 0.08f; },
                [](float, float) { return Solid(200, 0, 40); });
    if (withAlpha)
        canvas.ScaleAlpha([](float u, float) { return u < 0.1f || u > 0.9f ? 0.0f : 1.0f; });
    return canvas.Image();
}

wren::BgraImage Glyphs(uint32_t side, bool withAlpha) {
    Canvas canvas(side, withAlpha, Solid(20, 40, 120));
    std::mt19937 random(side + 3);
    const Colour inks[3] = {Solid(255, 255, 255), Solid(255, 210, 0), Solid(0, 0, 0)};
    float y = 0.03f;
    for (int line = 0; y < 0.9f; ++line) {
        const float height = (6.0f + 5.0f * (line % 5)) / 256.0f;
        PaintText(canvas, random, 0.03f, y, height, 0.94f, inks[line % 3]);
        y += height * 1.5f;
    }
    return canvas.Image();
}

wren::BgraImage Noise(uint32_t side, bool withAlpha) {
    Canvas canvas(side, withAlpha, Solid(0, 0, 0));
    const ValueNoise coarse(8, 21), fine(64, 22);
    canvas.Fill([](float, float) { return true; },
                [&](float u, float v) {
                    const float n = 0.6f * coarse.At(u, v) + 0.4f * fine.At(u, v);
                    return Solid(60 + 150 * n, 90 + 60 * n, 40 + 120 * (1 - n));
                });
    canvas.Shade([](float, float) { return 1.0f; }, 12.0f, side);
    if (withAlpha) {
        const ValueNoise wear(16, 23);
        canvas.ScaleAlpha([&](float u, float v) {
            return std::clamp((wear.At(u, v) - 0.3f) * 4.0f, 0.0f, 1.0f);
        });
    }
    return canvas.Image();
}

} // namespace

const std::vector<TestPicture>& AllTestPictures() {
    static const std::vector<TestPicture> all = {TestPicture::Kit,      TestPicture::Crest,
                                                 TestPicture::Gradient, TestPicture::Stripes,
                                                 TestPicture::Glyphs,   TestPicture::Noise};
    return all;
}

std::string TestPictureName(TestPicture picture) {
    switch (picture) {
    case TestPicture::Kit:
        return "Kit";
    case TestPicture::Crest:
        return "Crest";
    case TestPicture::Gradient:
        return "Gradient";
    case TestPicture::Stripes:
        return "Stripes";
    case TestPicture::Glyphs:
        return "Glyphs";
    case TestPicture::Noise:
        return "Noise";
    }
    return {};
}

wren::BgraImage MakeTestPicture(TestPicture picture, uint32_t side, bool withAlpha) {
    switch (picture) {
    case TestPicture::Kit:
        return Kit(side, withAlpha);
    case TestPicture::Crest:
        return Crest(side, withAlpha);
    case TestPicture::Gradient:
        return Gradient(side, withAlpha);
    case TestPicture::Stripes:
        return Stripes(side, withAlpha);
    case TestPicture::Glyphs:
        return Glyphs(side, withAlpha);
    case TestPicture::Noise:
        return Noise(side, withAlpha);
    }
    return {};
}

namespace {

double Psnr(double squaredError, double samples) {
    if (samples == 0 || squaredError == 0)
        return 99.0;
    return 10.0 * std::log10(255.0 * 255.0 * samples / squaredError);
}

} // namespace

double PsnrRgb(const wren::BgraImage& source, std::span<const uint8_t> decoded, size_t stride,
               int minAlpha) {
    double error = 0, samples = 0;
    for (size_t y = 0; y < source.height; ++y)
        for (size_t x = 0; x < source.width; ++x) {
            const uint8_t* s = source.pixels.data() + 4 * (y * source.width + x);
            if (s[3] < minAlpha)
                continue;
            const uint8_t* d = decoded.data() + y * stride + 4 * x;
            for (int c = 0; c < 3; ++c)
                error += (s[c] - d[c]) * (s[c] - d[c]);
            samples += 3;
        }
    return Psnr(error, samples);
}

double PsnrAlpha(const wren::BgraImage& source, std::span<const uint8_t> decoded, size_t stride) {
    double error = 0;
    for (size_t y = 0; y < source.height; ++y)
        for (size_t x = 0; x < source.width; ++x) {
            const int s = source.pixels[4 * (y * source.width + x) + 3];
            const int d = decoded[y * stride + 4 * x + 3];
            error += (s - d) * (s - d);
        }
    return Psnr(error, double(source.width) * source.height);
}
