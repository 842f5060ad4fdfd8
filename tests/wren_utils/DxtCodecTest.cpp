#include "wren_utils/shapes/DxtDecoder.h"
#include "wren_utils/shapes/DxtEncoder.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

using namespace wren;

namespace {

struct Bgra {
    int b, g, r, a;
};

Bgra PixelAt(const std::vector<uint8_t>& pixels, size_t stride, int x, int y) {
    const uint8_t* p = pixels.data() + y * stride + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

void ExpectPixel(const Bgra& actual, int r, int g, int b, int a) {
    EXPECT_EQ(actual.r, r);
    EXPECT_EQ(actual.g, g);
    EXPECT_EQ(actual.b, b);
    EXPECT_EQ(actual.a, a);
}

std::vector<uint8_t> DecodeOne(void (*decode)(const uint8_t*, uint8_t*, size_t),
                               const std::vector<uint8_t>& block) {
    std::vector<uint8_t> out(64);
    decode(block.data(), out.data(), 16);
    return out;
}

std::vector<uint8_t> DecodeLevel(uint8_t type, const std::vector<uint8_t>& blocks, uint32_t w,
                                 uint32_t h) {
    std::vector<uint8_t> out(size_t{(w + 3) / 4 * 4} * ((h + 3) / 4 * 4) * 4);
    EXPECT_TRUE(DxtDecoder::DecodeLevel(type, blocks, w, h, out));
    return out;
}

} // namespace

TEST(DxtColourBlock, FourColourPaletteFromTheFormulas) {
    // c0 pure red, c1 pure blue; rows use indices 0,1,2,3 then 3,2,1,0.
    const std::vector<uint8_t> block = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0x1B, 0x00, 0xFF};
    const auto out = DecodeOne(DxtDecoder::DecodeDxt1Block, block);
    ExpectPixel(PixelAt(out, 16, 0, 0), 252, 2, 4, 255);
    ExpectPixel(PixelAt(out, 16, 1, 0), 4, 2, 252, 255);
    ExpectPixel(PixelAt(out, 16, 2, 0), 155, 0, 93, 255);
    ExpectPixel(PixelAt(out, 16, 3, 0), 93, 0, 155, 255);
    ExpectPixel(PixelAt(out, 16, 0, 1), 93, 0, 155, 255);
    ExpectPixel(PixelAt(out, 16, 3, 1), 252, 2, 4, 255);
    ExpectPixel(PixelAt(out, 16, 2, 2), 252, 2, 4, 255);
    ExpectPixel(PixelAt(out, 16, 1, 3), 93, 0, 155, 255);
}

TEST(DxtColourBlock, ThreeColourPaletteWhenFirstColourIsSmaller) {
    const std::vector<uint8_t> block = {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4};
    const auto out = DecodeOne(DxtDecoder::DecodeDxt1Block, block);
    ExpectPixel(PixelAt(out, 16, 0, 0), 4, 2, 252, 255);
    ExpectPixel(PixelAt(out, 16, 1, 0), 252, 2, 4, 255);
    ExpectPixel(PixelAt(out, 16, 2, 0), 124, 0, 124, 255);
    ExpectPixel(PixelAt(out, 16, 3, 3), 0, 0, 0, 0);
}

TEST(DxtColourBlock, EqualColoursUseTheFourColourRuleAndStayOpaque) {
    const std::vector<uint8_t> block = {0xE0, 0x07, 0xE0, 0x07, 0xFF, 0xFF, 0xFF, 0xFF};
    const auto out = DecodeOne(DxtDecoder::DecodeDxt1Block, block);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            ExpectPixel(PixelAt(out, 16, x, y), 0, 252, 0, 255);
}

TEST(DxtAlpha, Dxt3NibblesTimesSeventeenLowNibbleFirst) {
    std::vector<uint8_t> block(16, 0);
    block[0] = 0x10; // pixels 0 and 1 of row 0: 0 and 1
    block[1] = 0xF8; // pixels 2 and 3: 8 and 15
    block[6] = 0x0F; // row 3, pixel 0: 15
    block[8] = 0xFF;
    block[9] = 0xFF; // c0 white, c1 black, all indices 0
    std::vector<uint8_t> out(64);
    DxtDecoder::DecodeDxt3Block(block.data(), out.data(), 16, false);
    EXPECT_EQ(PixelAt(out, 16, 0, 0).a, 0);
    EXPECT_EQ(PixelAt(out, 16, 1, 0).a, 17);
    EXPECT_EQ(PixelAt(out, 16, 2, 0).a, 136);
    EXPECT_EQ(PixelAt(out, 16, 3, 0).a, 255);
    EXPECT_EQ(PixelAt(out, 16, 0, 3).a, 255);
    EXPECT_EQ(PixelAt(out, 16, 1, 3).a, 0);
    ExpectPixel(PixelAt(out, 16, 3, 0), 252, 254, 252, 255);
}

TEST(DxtAlpha, Dxt5EightAndSixEntryPalettes) {
    // Indices 0..7 in the first group (pixels 0-7), 7..0 in the second.
    auto indices = [](std::array<int, 16> idx, uint8_t* out) {
        for (int group = 0; group < 2; ++group) {
            uint32_t bits = 0;
            for (int i = 0; i < 8; ++i)
                bits |= static_cast<uint32_t>(idx[8 * group + i]) << (3 * i);
            out[3 * group] = static_cast<uint8_t>(bits);
            out[3 * group + 1] = static_cast<uint8_t>(bits >> 8);
            out[3 * group + 2] = static_cast<uint8_t>(bits >> 16);
        }
    };
    const std::array<int, 16> idx = {0, 1, 2, 3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0};
    std::vector<uint8_t> block(16, 0);
    indices(idx, block.data() + 2);
    std::vector<uint8_t> out(64);

    block[0] = 200;
    block[1] = 100;
    DxtDecoder::DecodeDxt5Block(block.data(), out.data(), 16, false);
    const int eight[8] = {200,
                          100,
                          (6 * 200 + 100 + 3) / 7,
                          (5 * 200 + 2 * 100 + 3) / 7,
                          (4 * 200 + 3 * 100 + 3) / 7,
                          (3 * 200 + 4 * 100 + 3) / 7,
                          (2 * 200 + 5 * 100 + 3) / 7,
                          (200 + 6 * 100 + 3) / 7};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(PixelAt(out, 16, i % 4, i / 4).a, eight[idx[i]]) << "pixel " << i;

    block[0] = 100;
    block[1] = 200;
    DxtDecoder::DecodeDxt5Block(block.data(), out.data(), 16, false);
    const int six[8] = {100,
                        200,
                        (4 * 100 + 200 + 2) / 5,
                        (3 * 100 + 2 * 200 + 2) / 5,
                        (2 * 100 + 3 * 200 + 2) / 5,
                        (100 + 4 * 200 + 2) / 5,
                        0,
                        255};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(PixelAt(out, 16, i % 4, i / 4).a, six[idx[i]]) << "pixel " << i;
}

TEST(DxtAlpha, Dxt5PaletteMatchesTheFormulasForEveryPairOfEnds) {
    for (int a0 = 0; a0 < 256; ++a0)
        for (int a1 = 0; a1 < 256; ++a1) {
            int expected[8] = {a0, a1, 0, 0, 0, 0, 0, 255};
            if (a0 > a1) {
                for (int i = 1; i <= 6; ++i)
                    expected[1 + i] = ((7 - i) * a0 + i * a1 + 3) / 7;
            } else {
                for (int i = 1; i <= 4; ++i)
                    expected[1 + i] = ((5 - i) * a0 + i * a1 + 2) / 5;
            }
            uint8_t palette[8];
            DxtDecoder::AlphaPalette(static_cast<uint8_t>(a0), static_cast<uint8_t>(a1), palette);
            for (int k = 0; k < 8; ++k)
                ASSERT_EQ(palette[k], expected[k]) << "a0 " << a0 << " a1 " << a1 << " entry " << k;
        }
}

TEST(DxtOpaqueShortcut, AllOpaqueDxt5LevelKeepsAlpha255WhateverItsIndices) {
    // Two blocks, both a0 = a1 = 255 with every index 6, which alone would decode to alpha 0.
    std::vector<uint8_t> blocks(32, 0);
    for (int b = 0; b < 2; ++b) {
        uint8_t* block = blocks.data() + 16 * b;
        block[0] = block[1] = 255;
        uint32_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= 6u << (3 * i);
        for (int group = 0; group < 2; ++group)
            for (int i = 0; i < 3; ++i)
                block[2 + 3 * group + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    std::vector<uint8_t> single(64);
    DxtDecoder::DecodeDxt5Block(blocks.data(), single.data(), 16, false);
    ASSERT_EQ(PixelAt(single, 16, 0, 0).a, 0) << "the indices really say alpha 0";

    const auto out = DecodeLevel(kShapeTypeDxt5, blocks, 8, 4);
    for (size_t i = 0; i < out.size(); i += 4)
        EXPECT_EQ(out[i + 3], 255);

    // One block that is not opaque switches the shortcut off for the whole level.
    blocks[16] = 254;
    const auto mixed = DecodeLevel(kShapeTypeDxt5, blocks, 8, 4);
    EXPECT_EQ(PixelAt(mixed, 32, 0, 0).a, 0);
}

TEST(DxtOpaqueShortcut, Dxt3NeedsEveryAlphaBitSet) {
    std::vector<uint8_t> blocks(16, 0xFF);
    blocks[8] = blocks[9] = 0; // c0 = 0 < c1: index 3 is the transparent entry
    EXPECT_TRUE(DxtDecoder::IsLevelOpaque(kShapeTypeDxt3, blocks.data(), 1));
    const auto out = DecodeLevel(kShapeTypeDxt3, blocks, 4, 4);
    ExpectPixel(PixelAt(out, 16, 0, 0), 0, 0, 0, 255);
    blocks[3] = 0xFE;
    EXPECT_FALSE(DxtDecoder::IsLevelOpaque(kShapeTypeDxt3, blocks.data(), 1));
}

TEST(DxtLevel, BlocksInRowsFromTheTopLeftAndRoundedSizes) {
    // 8 x 8 DXT1: four solid blocks in red, green, blue, white order.
    const uint16_t colours[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
    std::vector<uint8_t> blocks;
    for (uint16_t c : colours) {
        const uint8_t b[8] = {static_cast<uint8_t>(c),
                              static_cast<uint8_t>(c >> 8),
                              static_cast<uint8_t>(c),
                              static_cast<uint8_t>(c >> 8),
                              0,
                              0,
                              0,
                              0};
        blocks.insert(blocks.end(), b, b + 8);
    }
    const auto out = DecodeLevel(kShapeTypeDxt1, blocks, 8, 8);
    ExpectPixel(PixelAt(out, 32, 1, 1), 252, 2, 4, 255);
    ExpectPixel(PixelAt(out, 32, 6, 2), 4, 254, 4, 255);
    ExpectPixel(PixelAt(out, 32, 3, 7), 4, 2, 252, 255);
    ExpectPixel(PixelAt(out, 32, 7, 7), 252, 254, 252, 255);

    EXPECT_EQ(DxtDecoder::LevelBytes(kShapeTypeDxt1, 30, 30), 8u * 8 * 8);
    EXPECT_EQ(DxtDecoder::LevelBytes(kShapeTypeDxt5, 30, 30), 8u * 8 * 16);
}

TEST(DxtLevel, RefusesShortInputOutputAndOtherTypes) {
    std::vector<uint8_t> blocks(8 * 3, 0);
    std::vector<uint8_t> out(8 * 8 * 4, 0xAB);
    EXPECT_FALSE(DxtDecoder::DecodeLevel(kShapeTypeDxt1, blocks, 8, 8, out));
    blocks.resize(8 * 4);
    std::vector<uint8_t> small(8 * 8 * 4 - 1);
    EXPECT_FALSE(DxtDecoder::DecodeLevel(kShapeTypeDxt1, blocks, 8, 8, small));
    EXPECT_FALSE(DxtDecoder::DecodeLevel(kShapeTypeBgra32, blocks, 8, 8, out));
    EXPECT_FALSE(DxtDecoder::DecodeLevel(kShapeTypeDxt1, blocks, 0, 8, out));
    EXPECT_FALSE(DxtDecoder::DecodeLevel(kShapeTypeDxt1, blocks, 8, 0, out));
    EXPECT_EQ(out[0], 0xAB);
    EXPECT_TRUE(DxtDecoder::DecodeLevel(kShapeTypeDxt1, blocks, 8, 8, out));
}

namespace {

BgraImage Gradient(uint32_t w, uint32_t h, bool withAlpha) {
    BgraImage image{w, h, std::vector<uint8_t>(size_t{w} * h * 4)};
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = image.pixels.data() + 4 * (y * w + x);
            p[0] = static_cast<uint8_t>(x * 255 / (w - 1));
            p[1] = static_cast<uint8_t>(y * 255 / (h - 1));
            p[2] = static_cast<uint8_t>(((x / 8 + y / 8) % 2) ? 220 : 30);
            p[3] = withAlpha ? static_cast<uint8_t>(x < w / 2 ? 0 : 255) : 255;
        }
    return image;
}

double MeanColourError(const BgraImage& image, const std::vector<uint8_t>& decoded) {
    double sum = 0;
    for (size_t y = 0; y < image.height; ++y)
        for (size_t x = 0; x < image.width; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(image.pixels[4 * (y * image.width + x) + c] -
                                decoded[4 * (y * image.width + x) + c]);
    return sum / (3.0 * image.width * image.height);
}

} // namespace

TEST(DxtEncoderRoundTrip, ColoursStayCloseInEveryType) {
    const BgraImage image = Gradient(64, 32, false);
    for (uint8_t type : {kShapeTypeDxt1, kShapeTypeDxt3, kShapeTypeDxt5}) {
        const auto blocks = DxtEncoder::Encode(type, image);
        ASSERT_TRUE(blocks);
        ASSERT_EQ(blocks->size(), DxtDecoder::LevelBytes(type, 64, 32));
        const auto out = DecodeLevel(type, *blocks, 64, 32);
        EXPECT_LT(MeanColourError(image, out), 6.0) << "type " << int(type);
        for (size_t i = 3; i < out.size(); i += 4)
            ASSERT_EQ(out[i], 255);
    }
}

TEST(DxtEncoderRoundTrip, AlphaIsKeptByEachType) {
    BgraImage image = Gradient(16, 16, true);
    const auto dxt1 =
        DecodeLevel(kShapeTypeDxt1, *DxtEncoder::Encode(kShapeTypeDxt1, image), 16, 16);
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x)
            EXPECT_EQ(dxt1[4 * (y * 16 + x) + 3], x < 8 ? 0 : 255);

    for (size_t i = 0; i < image.pixels.size(); i += 4)
        image.pixels[i + 3] = static_cast<uint8_t>((i / 4) % 256);
    const auto dxt3 =
        DecodeLevel(kShapeTypeDxt3, *DxtEncoder::Encode(kShapeTypeDxt3, image), 16, 16);
    const auto dxt5 =
        DecodeLevel(kShapeTypeDxt5, *DxtEncoder::Encode(kShapeTypeDxt5, image), 16, 16);
    for (size_t i = 3; i < image.pixels.size(); i += 4) {
        EXPECT_LE(std::abs(dxt3[i] - image.pixels[i]), 9) << i;
        EXPECT_LE(std::abs(dxt5[i] - image.pixels[i]), 40) << i;
    }
}

TEST(DxtEncoderRoundTrip, OddSizesPadWithTheLastPixels) {
    const BgraImage image = Gradient(30, 30, false);
    const auto blocks = DxtEncoder::Encode(kShapeTypeDxt1, image);
    ASSERT_TRUE(blocks);
    const auto out = DecodeLevel(kShapeTypeDxt1, *blocks, 30, 30);
    // Column 31 repeats column 29.
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(out[4 * 31 + c], image.pixels[4 * 29 + c], 12);
    EXPECT_FALSE(DxtEncoder::Encode(kShapeTypeBgra32, image));
    EXPECT_FALSE(DxtEncoder::Encode(kShapeTypeDxt1, BgraImage{}));
}
