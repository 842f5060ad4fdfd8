#include "CSampleCanvas.h"

#include "CSampleFont.h"

#include <algorithm>

CSampleCanvas::CSampleCanvas(uint32_t width, uint32_t height, uint32_t background) {
    m_image.width = width;
    m_image.height = height;
    m_image.pixels.resize(size_t{width} * height * 4);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            Set(x, y, background);
}

void CSampleCanvas::Set(uint32_t x, uint32_t y, uint32_t colour) {
    if (x >= m_image.width || y >= m_image.height)
        return;
    uint8_t* p = m_image.pixels.data() + 4 * (size_t{y} * m_image.width + x);
    p[0] = static_cast<uint8_t>(colour);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour >> 16);
    p[3] = static_cast<uint8_t>(colour >> 24);
}

void CSampleCanvas::Text(int x, int y, std::string_view text, int scale, uint32_t colour) {
    for (char c : text) {
        const auto glyph = CSampleFont::Glyph(c);
        for (int row = 0; row < CSampleFont::kHeight; ++row)
            for (int column = 0; column < CSampleFont::kWidth; ++column)
                if (glyph[row] & (1 << (CSampleFont::kWidth - 1 - column)))
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx) {
                            const int px = x + column * scale + dx;
                            const int py = y + row * scale + dy;
                            if (px >= 0 && py >= 0)
                                Set(static_cast<uint32_t>(px), static_cast<uint32_t>(py), colour);
                        }
        x += (CSampleFont::kWidth + 1) * scale;
    }
}

int CSampleCanvas::TextWidth(std::string_view text, int scale) {
    if (text.empty())
        return 0;
    return static_cast<int>(text.size()) * (CSampleFont::kWidth + 1) * scale - scale;
}

uint32_t CSampleCanvas::Mix(uint32_t a, uint32_t b, float t) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float ca = static_cast<float>((a >> shift) & 0xFF);
        const float cb = static_cast<float>((b >> shift) & 0xFF);
        const auto c = static_cast<uint32_t>(std::clamp(ca + (cb - ca) * t, 0.0f, 255.0f));
        out |= c << shift;
    }
    return out;
}

bool CSampleCanvas::IsLight(uint32_t colour) {
    const uint32_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    return 299 * r + 587 * g + 114 * b > 140000;
}
