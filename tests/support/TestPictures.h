#pragma once

#include "wren_utils/shapes/BgraImage.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Pictures like the kits and crests of the game's archives, drawn by code: flat areas with sharp
// edges, stripes, gradients, text-like glyphs, fabric noise and soft alpha edges.
enum class TestPicture { Kit, Crest, Gradient, Stripes, Glyphs, Noise };

const std::vector<TestPicture>& AllTestPictures();
std::string TestPictureName(TestPicture picture);

// A side x side picture; without alpha every pixel is opaque (the figure drawn on a background),
// with alpha the background is transparent black and the figure's edges are soft.
wren::BgraImage MakeTestPicture(TestPicture picture, uint32_t side, bool withAlpha);

// Peak signal-to-noise ratio in dB of `decoded` (rows of `stride` bytes) against the source:
// over red, green and blue of the pixels whose source alpha is at least `minAlpha`, or over
// alpha of every pixel. 99 when they are equal.
double PsnrRgb(const wren::BgraImage& source, std::span<const uint8_t> decoded, size_t stride,
               int minAlpha);
double PsnrAlpha(const wren::BgraImage& source, std::span<const uint8_t> decoded, size_t stride);
