#pragma once

#include "wren_utils/shapes/BgraImage.h"

#include <cstdint>
#include <optional>
#include <string_view>

// A small raster for the sample pictures. Colours are 0xAARRGGBB; pixels are stored as the
// shape containers want them (bytes blue, green, red, alpha).
class CSampleCanvas {
public:
    CSampleCanvas(uint32_t width, uint32_t height, uint32_t background);

    uint32_t Width() const { return m_image.width; }
    uint32_t Height() const { return m_image.height; }

    // Calls colourAt(u, v) for every pixel centre (u, v in 0..1 across the picture) and sets
    // the pixels it returns a colour for.
    template <typename F> void Paint(F&& colourAt) {
        for (uint32_t y = 0; y < m_image.height; ++y)
            for (uint32_t x = 0; x < m_image.width; ++x) {
                const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(m_image.width);
                const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(m_image.height);
                if (const std::optional<uint32_t> colour = colourAt(u, v))
                    Set(x, y, *colour);
            }
    }

    void Set(uint32_t x, uint32_t y, uint32_t colour);

    // Capitals and digits of the built-in font, `scale` pixels a font pixel, top left at (x, y).
    void Text(int x, int y, std::string_view text, int scale, uint32_t colour);
    static int TextWidth(std::string_view text, int scale);

    const wren::BgraImage& Image() const { return m_image; }
    wren::BgraImage Take() { return std::move(m_image); }

    // Colour helpers.
    static uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | (rgb & 0xFFFFFFu); }
    static uint32_t Mix(uint32_t a, uint32_t b, float t);
    static bool IsLight(uint32_t colour);

private:
    wren::BgraImage m_image;
};
