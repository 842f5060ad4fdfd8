#include "wren_utils/shapes/DxtEncoder.h"
#include "tests/support/TestPictures.h"
#include "wren_utils/shapes/DxtDecoder.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

using namespace wren;

namespace {

constexpr uint32_t kSide = 128;

std::vector<uint8_t> EncodeAndDecode(uint8_t type, const BgraImage& image, DxtQuality quality) {
    const auto blocks = DxtEncoder::Encode(type, image, quality);
    EXPECT_TRUE(blocks);
    if (!blocks)
        return {};
    const size_t stride = size_t{(image.width + 3) / 4 * 4} * 4;
    std::vector<uint8_t> out(stride * ((image.height + 3) / 4 * 4));
    EXPECT_TRUE(DxtDecoder::DecodeLevel(type, *blocks, image.width, image.height, out));
    return out;
}

// PSNR floors in dB on 128 x 128 pictures, a little under what the encoder reaches. The encoder
// this one replaced (endpoints at the ends of the main axis, no refinement, one DXT5 alpha
// palette) fell below every high-quality floor: DXT1 30.8 / 34.0 / 40.4 / 27.1 / 31.5 / 31.1,
// DXT5 colour 28.0 / 33.0 / 40.3 / 27.4 / 41.0 / 28.6, DXT5 alpha 46.1 / 44.5 / 51.4 / exact /
// 35.5 / 36.5 in the order of the table.
struct Floors {
    double dxt1High;
    double dxt1Fast;
    double dxt5ColourHigh;
    double dxt5AlphaHigh;
    double dxt5AlphaFast;
};

const std::map<TestPicture, Floors> kFloors = {
    {TestPicture::Kit, {31.3, 27.5, 28.5, 53.0, 45.8}},
    {TestPicture::Crest, {34.9, 32.0, 33.9, 50.0, 44.3}},
    {TestPicture::Gradient, {44.0, 41.0, 44.3, 51.5, 51.2}},
    {TestPicture::Stripes, {27.3, 25.3, 27.7, 90.0, 90.0}},
    {TestPicture::Glyphs, {32.3, 31.4, 40.7, 39.0, 35.3}},
    {TestPicture::Noise, {31.6, 29.6, 30.3, 37.5, 36.3}},
};

BgraImage SolidBlock(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    BgraImage image{4, 4, {}};
    for (int i = 0; i < 16; ++i)
        image.pixels.insert(image.pixels.end(), {b, g, r, a});
    return image;
}

} // namespace

TEST(DxtEncoderQuality, EveryPictureKindKeepsItsFloorInBothModes) {
    for (TestPicture picture : AllTestPictures()) {
        SCOPED_TRACE(TestPictureName(picture));
        const BgraImage opaque = MakeTestPicture(picture, kSide, false);
        const BgraImage withAlpha = MakeTestPicture(picture, kSide, true);
        const size_t stride = kSide * 4;
        const double dxt1High =
            PsnrRgb(opaque, EncodeAndDecode(kShapeTypeDxt1, opaque, DxtQuality::High), stride, 0);
        const double dxt1Fast =
            PsnrRgb(opaque, EncodeAndDecode(kShapeTypeDxt1, opaque, DxtQuality::Fast), stride, 0);
        const Floors& floors = kFloors.at(picture);
        EXPECT_GE(dxt1High, floors.dxt1High);
        EXPECT_GE(dxt1Fast, floors.dxt1Fast);
        EXPECT_GE(dxt1High, dxt1Fast);

        const auto dxt5High = EncodeAndDecode(kShapeTypeDxt5, withAlpha, DxtQuality::High);
        const auto dxt5Fast = EncodeAndDecode(kShapeTypeDxt5, withAlpha, DxtQuality::Fast);
        EXPECT_GE(PsnrRgb(withAlpha, dxt5High, stride, 1), floors.dxt5ColourHigh);
        EXPECT_GE(PsnrAlpha(withAlpha, dxt5High, stride), floors.dxt5AlphaHigh);
        EXPECT_GE(PsnrAlpha(withAlpha, dxt5Fast, stride), floors.dxt5AlphaFast);
    }
}

TEST(DxtEncoderQuality, TwoColoursOfTheDecodersPaletteComeBackExactly) {
    // End colours decode as 565 values expanded with the decoder's bias: any two of them, in any
    // pattern, are one block's palette.
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        const uint16_t colours[2] = {static_cast<uint16_t>(random()),
                                     static_cast<uint16_t>(random())};
        BgraImage image{4, 4, {}};
        for (int i = 0; i < 16; ++i) {
            const uint16_t c = colours[random() % 2];
            image.pixels.insert(image.pixels.end(),
                                {static_cast<uint8_t>((c & 0x1F) * 8 + 4),
                                 static_cast<uint8_t>(((c >> 5) & 0x3F) * 4 + 2),
                                 static_cast<uint8_t>((c >> 11) * 8 + 4), 255});
        }
        for (uint8_t type : {kShapeTypeDxt1, kShapeTypeDxt3, kShapeTypeDxt5})
            for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
                const auto out = EncodeAndDecode(type, image, quality);
                ASSERT_EQ(out, image.pixels) << "round " << round << " type " << int(type)
                                             << (quality == DxtQuality::Fast ? " fast" : " high");
            }
    }
}

TEST(DxtEncoderQuality, OneColourBlocksComeWithinThreeOfEveryGreyAndColour) {
    // A single colour takes the palette entry that comes closest in each channel: an end colour or
    // a mix, so no channel is off by more than 3 (white: the brightest entry is 252).
    std::mt19937 random(9);
    for (int round = 0; round < 600; ++round) {
        const int grey = round < 256 ? round : -1;
        const uint8_t b = static_cast<uint8_t>(grey >= 0 ? grey : random());
        const uint8_t g = static_cast<uint8_t>(grey >= 0 ? grey : random());
        const uint8_t r = static_cast<uint8_t>(grey >= 0 ? grey : random());
        const BgraImage block = SolidBlock(b, g, r, 255);
        for (uint8_t type : {kShapeTypeDxt1, kShapeTypeDxt5})
            for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
                const auto out = EncodeAndDecode(type, block, quality);
                for (int i = 0; i < 16; ++i) {
                    ASSERT_LE(std::abs(out[4 * i] - b), 3)
                        << int(r) << " " << int(g) << " " << int(b);
                    ASSERT_LE(std::abs(out[4 * i + 1] - g), 3)
                        << int(r) << " " << int(g) << " " << int(b);
                    ASSERT_LE(std::abs(out[4 * i + 2] - r), 3)
                        << int(r) << " " << int(g) << " " << int(b);
                    ASSERT_EQ(out[4 * i + 3], 255);
                }
            }
    }
}

TEST(DxtEncoderAlpha, Dxt1KeepsTransparentPixelsTransparentAndBlack) {
    for (TestPicture picture : AllTestPictures())
        for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
            const BgraImage image = MakeTestPicture(picture, 64, true);
            const auto out = EncodeAndDecode(kShapeTypeDxt1, image, quality);
            for (size_t i = 0; i < image.pixels.size(); i += 4) {
                const bool visible = image.pixels[i + 3] >= 128;
                ASSERT_EQ(out[i + 3], visible ? 255 : 0)
                    << TestPictureName(picture) << " pixel " << i / 4;
                if (!visible) {
                    ASSERT_EQ(out[i] | out[i + 1] | out[i + 2], 0);
                }
            }
        }
    // Every pixel transparent, and a block of one colour with one transparent pixel.
    const auto none =
        EncodeAndDecode(kShapeTypeDxt1, SolidBlock(200, 100, 50, 0), DxtQuality::High);
    for (size_t i = 3; i < none.size(); i += 4)
        EXPECT_EQ(none[i], 0);
    BgraImage one = SolidBlock(255, 255, 255, 255);
    one.pixels[4 * 5 + 3] = 10;
    for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
        const auto out = EncodeAndDecode(kShapeTypeDxt1, one, quality);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(out[4 * i + 3], i == 5 ? 0 : 255);
        EXPECT_GE(out[0], 248);
    }
}

TEST(DxtEncoderAlpha, Dxt5AlphaStaysWithinHalfAStepOfItsRange) {
    // Eight graded values over the block's range: no pixel further than half a step, plus the
    // decoder's rounding.
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        BgraImage block = SolidBlock(10, 20, 30, 0);
        const int low = static_cast<int>(random() % 200);
        const int span = 1 + static_cast<int>(random() % (255 - low));
        for (int i = 0; i < 16; ++i)
            block.pixels[4 * i + 3] = static_cast<uint8_t>(low + random() % (span + 1));
        for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
            const auto out = EncodeAndDecode(kShapeTypeDxt5, block, quality);
            for (int i = 0; i < 16; ++i)
                ASSERT_LE(std::abs(out[4 * i + 3] - block.pixels[4 * i + 3]), span / 14 + 1)
                    << "round " << round;
        }
    }
}

TEST(DxtEncoderAlpha, Dxt5CutOutsStayCutOutAndOpaqueLevelsStayOpaque) {
    // Alpha only 0 and 255 in every block: no block may claim to be opaque (both ends 255), or the
    // decoder would show the whole level opaque.
    BgraImage image{8, 8, std::vector<uint8_t>(8 * 8 * 4, 128)};
    for (size_t i = 0; i < 64; ++i)
        image.pixels[4 * i + 3] = (i % 3 == 0) ? 0 : 255;
    for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
        const auto out = EncodeAndDecode(kShapeTypeDxt5, image, quality);
        for (size_t i = 0; i < 64; ++i)
            ASSERT_EQ(out[4 * i + 3], image.pixels[4 * i + 3]) << i;
    }
    const auto blocks = DxtEncoder::Encode(kShapeTypeDxt5, SolidBlock(1, 2, 3, 255));
    ASSERT_TRUE(blocks);
    EXPECT_TRUE(DxtDecoder::IsLevelOpaque(kShapeTypeDxt5, blocks->data(), 1));

    // DXT3 rounds to the nearest of the sixteen steps.
    BgraImage ramp = SolidBlock(0, 0, 0, 0);
    for (int i = 0; i < 16; ++i)
        ramp.pixels[4 * i + 3] =
            static_cast<uint8_t>(std::clamp(i * 17 + (i % 2 ? 8 : -8), 0, 255));
    const auto dxt3 = EncodeAndDecode(kShapeTypeDxt3, ramp, DxtQuality::High);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(dxt3[4 * i + 3], i * 17) << i;
}

TEST(DxtEncoderEdges, SidesThatAreNotMultiplesOfFourAndTinyPictures) {
    for (uint32_t w : {1u, 3u, 5u, 13u})
        for (uint32_t h : {1u, 2u, 7u}) {
            BgraImage image{w, h, std::vector<uint8_t>(size_t{w} * h * 4)};
            for (size_t i = 0; i < image.pixels.size(); ++i)
                image.pixels[i] = static_cast<uint8_t>(i * 37);
            for (uint8_t type : {kShapeTypeDxt1, kShapeTypeDxt3, kShapeTypeDxt5})
                for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
                    const auto blocks = DxtEncoder::Encode(type, image, quality);
                    ASSERT_TRUE(blocks);
                    EXPECT_EQ(blocks->size(), DxtDecoder::LevelBytes(type, w, h));
                }
        }
    // A pixel buffer shorter than the sides say is refused, not read past.
    BgraImage shortImage{8, 8, std::vector<uint8_t>(8 * 8 * 4 - 1)};
    EXPECT_FALSE(DxtEncoder::Encode(kShapeTypeDxt1, shortImage, DxtQuality::Fast));
}

TEST(DxtEncoderEdges, RepeatedBlocksGetTheSameBlocksAsEncodedOneByOne) {
    // Stripes repeat blocks and noise does not; more distinct blocks than the encoder keeps in
    // its table of repeats.
    const uint32_t w = 1032, h = 1032;
    BgraImage image{w, h, std::vector<uint8_t>(size_t{w} * h * 4)};
    std::mt19937 random(11);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = image.pixels.data() + 4 * (size_t{y} * w + x);
            const bool noisy = (x / 4 + y / 4) % 3 != 0;
            for (int c = 0; c < 4; ++c)
                p[c] = noisy ? static_cast<uint8_t>(random())
                             : static_cast<uint8_t>((x % 12) * 20 + c);
        }
    for (uint8_t type : {kShapeTypeDxt1, kShapeTypeDxt5}) {
        const auto blocks = DxtEncoder::Encode(type, image, DxtQuality::Fast);
        ASSERT_TRUE(blocks);
        const size_t blockBytes = type == kShapeTypeDxt1 ? 8 : 16;
        uint8_t pixels[64];
        uint8_t expected[16];
        for (size_t n = 0; n < blocks->size() / blockBytes; ++n) {
            const size_t bx = n % (w / 4), by = n / (w / 4);
            for (size_t i = 0; i < 16; ++i)
                std::copy_n(image.pixels.data() + 4 * ((by * 4 + i / 4) * w + bx * 4 + i % 4), 4,
                            pixels + 4 * i);
            if (type == kShapeTypeDxt1)
                DxtEncoder::EncodeDxt1Block(pixels, expected, DxtQuality::Fast);
            else
                DxtEncoder::EncodeDxt5Block(pixels, expected, DxtQuality::Fast);
            ASSERT_TRUE(
                std::equal(expected, expected + blockBytes, blocks->data() + n * blockBytes))
                << "block " << n;
        }
    }
}

namespace {

// The least error per channel value that the decoder's palettes allow, found by decoding every
// pair of 5- or 6-bit ends: an end entry, a 5:3 mix of the four-colour palette, the mean of the
// three-colour palette from any ends (equal ends give the end's plain value) or from unequal ones.
struct ChannelBest {
    int end[3][256];
    int mix4[3][256];
    int mean[3][256];
    int unequalMean[3][256];

    ChannelBest() {
        constexpr int kPosition[3] = {11, 5, 0};
        constexpr int kMax[3] = {31, 63, 31};
        constexpr int kByte[3] = {16, 8, 0}; // red, green, blue in a 0xAARRGGBB entry
        for (int c = 0; c < 3; ++c) {
            for (int v = 0; v < 256; ++v)
                end[c][v] = mix4[c][v] = mean[c][v] = unequalMean[c][v] = 1 << 20;
            for (int a = 0; a <= kMax[c]; ++a)
                for (int b = 0; b <= kMax[c]; ++b) {
                    const uint16_t c0 = static_cast<uint16_t>(a << kPosition[c]);
                    const uint16_t c1 = static_cast<uint16_t>(b << kPosition[c]);
                    const uint8_t colours[4] = {static_cast<uint8_t>(c0),
                                                static_cast<uint8_t>(c0 >> 8),
                                                static_cast<uint8_t>(c1),
                                                static_cast<uint8_t>(c1 >> 8)};
                    uint32_t palette[4];
                    DxtDecoder::ColourPalette(colours, palette);
                    auto value = [&](int k) { return static_cast<int>(palette[k] >> kByte[c] & 0xFF); };
                    for (int v = 0; v < 256; ++v) {
                        auto keep = [&](int (&best)[3][256], int entry) {
                            best[c][v] = std::min(best[c][v], std::abs(value(entry) - v));
                        };
                        keep(end, 0);
                        if (a >= b) {
                            keep(mix4, 2);
                            keep(mix4, 3);
                        }
                        if (a == b)
                            keep(mean, 2);
                        if (a < b) {
                            keep(mean, 2);
                            keep(unequalMean, 2);
                        }
                    }
                }
        }
    }

    static int Squares(const int (&best)[3][256], const int rgb[3]) {
        return best[0][rgb[0]] * best[0][rgb[0]] + best[1][rgb[1]] * best[1][rgb[1]] +
               best[2][rgb[2]] * best[2][rgb[2]];
    }

    // Four colours: one entry for every pixel, an end or a mix.
    int FourColours(const int rgb[3]) const {
        return std::min(Squares(end, rgb), Squares(mix4, rgb));
    }

    // Three colours (c0 < c1): an end, or the mean with at least one channel from unequal ends.
    int ThreeColours(const int rgb[3]) const {
        int best = Squares(end, rgb);
        for (int split = 0; split < 3; ++split) {
            int total = 0;
            for (int c = 0; c < 3; ++c) {
                const int e = c == split ? unequalMean[c][rgb[c]] : mean[c][rgb[c]];
                total += e * e;
            }
            best = std::min(best, total);
        }
        return best;
    }
};

int SquaredError(const std::vector<uint8_t>& decoded, const BgraImage& source, int pixel) {
    int total = 0;
    for (int c = 0; c < 3; ++c) {
        const int d = decoded[4 * pixel + c] - source.pixels[4 * pixel + c];
        total += d * d;
    }
    return total;
}

} // namespace

TEST(DxtEncoderQuality, OneColourBlocksGetTheBestEntryThePaletteHas) {
    static const ChannelBest best;
    std::mt19937 random(13);
    std::vector<std::array<int, 3>> colours;
    for (int v = 0; v < 256; ++v) {
        colours.push_back({v, v, v});
        colours.push_back({v, 255 - v, (v * 37) & 255});
    }
    for (int i = 0; i < 600; ++i)
        colours.push_back({static_cast<int>(random() & 255), static_cast<int>(random() & 255),
                           static_cast<int>(random() & 255)});
    for (const auto& rgb : colours) {
        const auto r = static_cast<uint8_t>(rgb[0]), g = static_cast<uint8_t>(rgb[1]),
                   b = static_cast<uint8_t>(rgb[2]);
        const BgraImage opaque = SolidBlock(b, g, r, 255);
        // DXT1 with a transparent pixel has the three-colour palette only.
        BgraImage holed = opaque;
        holed.pixels[4 * 6 + 3] = 0;
        for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
            for (uint8_t type : {kShapeTypeDxt1, kShapeTypeDxt3, kShapeTypeDxt5}) {
                const auto out = EncodeAndDecode(type, opaque, quality);
                for (int i = 0; i < 16; ++i)
                    ASSERT_EQ(SquaredError(out, opaque, i), best.FourColours(rgb.data()))
                        << int(r) << " " << int(g) << " " << int(b) << " type " << int(type);
            }
            const auto out = EncodeAndDecode(kShapeTypeDxt1, holed, quality);
            for (int i = 0; i < 16; ++i) {
                ASSERT_EQ(out[4 * i + 3], i == 6 ? 0 : 255);
                if (i == 6)
                    continue;
                ASSERT_EQ(SquaredError(out, holed, i), best.ThreeColours(rgb.data()))
                        << int(r) << " " << int(g) << " " << int(b) << " with a hole";
            }
        }
    }
}

TEST(DxtEncoderAlpha, Dxt5BlocksOfZeroAnd255WithUpToTwoOtherValuesComeBackExactly) {
    // The six-value palette has 0 and 255 as fixed entries and its own two ends for the rest.
    std::mt19937 random(17);
    for (int round = 0; round < 400; ++round) {
        const uint8_t values[4] = {0, 255, static_cast<uint8_t>(1 + random() % 254),
                                   static_cast<uint8_t>(1 + random() % 254)};
        const int kinds = 2 + round % 3; // 0 and 255, plus none, one or two others
        BgraImage block = SolidBlock(40, 50, 60, 0);
        for (int i = 0; i < 16; ++i)
            block.pixels[4 * i + 3] = values[i < kinds ? i : random() % kinds];
        for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
            if (quality == DxtQuality::Fast && kinds > 2)
                continue; // previews take the eight-value palette over the whole range
            const auto out = EncodeAndDecode(kShapeTypeDxt5, block, quality);
            for (int i = 0; i < 16; ++i)
                ASSERT_EQ(out[4 * i + 3], block.pixels[4 * i + 3]) << "round " << round;
        }
    }
}

TEST(DxtEncoderAlpha, Dxt5BlocksOfVaryingAlphaNeverCarryTheOpaqueMark) {
    // Both ends 255 mark a block opaque: a level made only of such blocks is shown opaque. Alpha
    // that varies, however close to 255, must never be written that way.
    std::mt19937 random(19);
    const uint32_t side = 64;
    BgraImage image{side, side, std::vector<uint8_t>(size_t{side} * side * 4, 90)};
    for (size_t i = 0; i < size_t{side} * side; ++i)
        image.pixels[4 * i + 3] =
            static_cast<uint8_t>(i % 3 ? 255 : 255 - random() % (1 + i % 40));
    for (DxtQuality quality : {DxtQuality::High, DxtQuality::Fast}) {
        const auto blocks = DxtEncoder::Encode(kShapeTypeDxt5, image, quality);
        ASSERT_TRUE(blocks);
        for (size_t n = 0; n < blocks->size() / 16; ++n)
            ASSERT_FALSE((*blocks)[16 * n] == 255 && (*blocks)[16 * n + 1] == 255) << n;
        EXPECT_FALSE(DxtDecoder::IsLevelOpaque(kShapeTypeDxt5, blocks->data(), blocks->size() / 16));
    }
}
