#pragma once

#include <array>
#include <cstdint>

// A 5 x 7 pixel font of capital letters and digits for the sample pictures (no font files or
// system fonts are needed to draw a crest's initials).
class CSampleFont {
public:
    static constexpr int kWidth = 5;
    static constexpr int kHeight = 7;

    // Seven rows of five bits (bit 4 the leftmost pixel); blank for characters not in the font.
    static std::array<uint8_t, kHeight> Glyph(char c);
};
