#include "editor/assets/CPngCodec.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void PutBe32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

Bytes Chunk(const std::string& type, const Bytes& body) {
    Bytes out;
    PutBe32(out, static_cast<uint32_t>(body.size()));
    Bytes typed(type.begin(), type.end());
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBe32(out, static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
    return out;
}

Bytes Deflate(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    EXPECT_EQ(compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
    out.resize(size);
    return out;
}

Bytes Header(uint32_t w, uint32_t h, uint8_t depth, uint8_t colour, uint8_t interlace = 0) {
    Bytes body;
    PutBe32(body, w);
    PutBe32(body, h);
    body.insert(body.end(), {depth, colour, 0, 0, interlace});
    return Chunk("IHDR", body);
}

// A PNG file laid out chunk by chunk; `rows` are the filtered rows with their filter bytes.
Bytes Png(const Bytes& header, const std::vector<Bytes>& before, const Bytes& rows) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.insert(out.end(), header.begin(), header.end());
    for (const Bytes& chunk : before)
        out.insert(out.end(), chunk.begin(), chunk.end());
    const Bytes data = Chunk("IDAT", Deflate(rows));
    out.insert(out.end(), data.begin(), data.end());
    const Bytes end = Chunk("IEND", {});
    out.insert(out.end(), end.begin(), end.end());
    return out;
}

std::optional<wren::BgraImage> Decode(const Bytes& file, std::string& error) {
    return CPngCodec::Decode(file, error);
}

// The decoded pixels as "b,g,r,a b,g,r,a ..." for readable failures.
std::string Pixels(const wren::BgraImage& image) {
    std::string text;
    for (size_t i = 0; i < image.pixels.size(); ++i)
        text += std::to_string(image.pixels[i]) + (i % 4 == 3 ? " " : ",");
    if (!text.empty())
        text.pop_back();
    return text;
}

std::string DecodedPixels(const Bytes& file) {
    std::string error;
    const auto image = Decode(file, error);
    return image ? Pixels(*image) : "error: " + error;
}

wren::BgraImage Gradient(uint32_t w, uint32_t h, bool alpha) {
    wren::BgraImage image{w, h, Bytes(size_t{w} * h * 4)};
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = image.pixels.data() + (size_t{y} * w + x) * 4;
            p[0] = static_cast<uint8_t>(x * 7 + y);
            p[1] = static_cast<uint8_t>(y * 5);
            p[2] = static_cast<uint8_t>((x * y) ^ 0x5A);
            p[3] = alpha ? static_cast<uint8_t>(x * 255 / w) : 255;
        }
    return image;
}

// A small valid file to damage: 8-bit palette with transparency, two rows.
Bytes PaletteFile() {
    return Png(Header(3, 2, 8, 3),
               {Chunk("PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255}), Chunk("tRNS", {128})},
               {0, 0, 1, 2, 0, 2, 1, 0});
}

TEST(PngCodecTest, EncodedPicturesDecodeToTheSamePixels) {
    for (const bool alpha : {false, true}) {
        const wren::BgraImage picture = Gradient(37, 23, alpha);
        std::string error;
        const auto file = CPngCodec::Encode(picture, error);
        ASSERT_TRUE(file) << error;
        EXPECT_TRUE(CPngCodec::IsPng(*file));
        // Colour type: RGB for an opaque picture, RGBA otherwise.
        EXPECT_EQ((*file)[25], alpha ? 6 : 2);
        const auto back = CPngCodec::Decode(*file, error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(back->width, 37u);
        EXPECT_EQ(back->height, 23u);
        EXPECT_EQ(back->pixels, picture.pixels);
        // The same picture always gives the same bytes.
        EXPECT_EQ(CPngCodec::Encode(picture, error), file);
    }
    const wren::BgraImage one{1, 1, {1, 2, 3, 4}};
    std::string error;
    const auto file = CPngCodec::Encode(one, error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(DecodedPixels(*file), "1,2,3,4");
}

TEST(PngCodecTest, EncodingRefusesPicturesThatCannotBeWritten) {
    std::string error;
    EXPECT_FALSE(CPngCodec::Encode({}, error));
    EXPECT_NE(error.find("0 x 0"), std::string::npos) << error;
    EXPECT_FALSE(CPngCodec::Encode({2, 2, Bytes(15)}, error));
    EXPECT_FALSE(CPngCodec::Encode({8193, 8192, {}}, error));
}

TEST(PngCodecTest, EveryColourTypeAndDepthDecodes) {
    struct SCase {
        const char* what;
        Bytes file;
        const char* pixels;
    };
    const std::vector<SCase> cases = {
        {"grey 1 bit", Png(Header(3, 1, 1, 0), {}, {0, 0b10100000}), "255,255,255,255 0,0,0,255 255,255,255,255"},
        {"grey 2 bits", Png(Header(4, 1, 2, 0), {}, {0, 0b00011011}),
         "0,0,0,255 85,85,85,255 170,170,170,255 255,255,255,255"},
        {"grey 4 bits", Png(Header(3, 1, 4, 0), {}, {0, 0xF1, 0x80}),
         "255,255,255,255 17,17,17,255 136,136,136,255"},
        {"grey 8 bits with a transparent grey", Png(Header(3, 1, 8, 0), {Chunk("tRNS", {0, 128})},
                                                    {0, 0, 128, 255}),
         "0,0,0,255 128,128,128,0 255,255,255,255"},
        {"grey 16 bits, rounded", Png(Header(4, 1, 16, 0), {}, {0, 0xFF, 0xFF, 0x00, 0x7F, 0x00, 0x80, 0x7F, 0x7F}),
         "255,255,255,255 0,0,0,255 1,1,1,255 127,127,127,255"},
        {"grey and alpha 8 bits", Png(Header(2, 1, 8, 4), {}, {0, 10, 20, 30, 255}),
         "10,10,10,20 30,30,30,255"},
        {"grey and alpha 16 bits", Png(Header(1, 1, 16, 4), {}, {0, 0x12, 0x34, 0x7F, 0x00}),
         "18,18,18,127"},
        {"RGB 8 bits with a transparent colour",
         Png(Header(2, 1, 8, 2), {Chunk("tRNS", {0, 1, 0, 2, 0, 3})}, {0, 1, 2, 3, 1, 2, 4}),
         "3,2,1,0 4,2,1,255"},
        {"RGB 16 bits", Png(Header(1, 1, 16, 2), {}, {0, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00}),
         "0,1,255,255"},
        {"RGBA 8 bits", Png(Header(1, 1, 8, 6), {}, {0, 10, 20, 30, 40}), "30,20,10,40"},
        {"RGBA 16 bits", Png(Header(1, 1, 16, 6), {}, {0, 0, 10, 0, 20, 0, 30, 0xFF, 0xFF}),
         "0,0,0,255"},
        {"palette 1 bit", Png(Header(2, 1, 1, 3), {Chunk("PLTE", {1, 2, 3, 4, 5, 6})}, {0, 0b01000000}),
         "3,2,1,255 6,5,4,255"},
        {"palette 2 bits with transparency",
         Png(Header(3, 1, 2, 3), {Chunk("PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9}), Chunk("tRNS", {0, 99})},
             {0, 0b00011000}),
         "3,2,1,0 6,5,4,99 9,8,7,255"},
        {"palette 4 bits", Png(Header(2, 1, 4, 3), {Chunk("PLTE", {1, 2, 3, 4, 5, 6})}, {0, 0x10}),
         "6,5,4,255 3,2,1,255"},
        {"palette 8 bits", PaletteFile(), "0,0,255,128 0,255,0,255 255,0,0,255 255,0,0,255 0,255,0,255 0,0,255,128"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(DecodedPixels(c.file), c.pixels) << c.what;
}

TEST(PngCodecTest, EveryRowFilterIsUndone) {
    // Sub, Up, Average and Paeth rows of a 3 x 4 grey picture.
    const Bytes rows = {1, 10, 10, 10, 2, 1, 2, 3, 3, 0, 0, 0, 4, 0, 0, 0};
    EXPECT_EQ(DecodedPixels(Png(Header(3, 4, 8, 0), {}, rows)),
              "10,10,10,255 20,20,20,255 30,30,30,255 "
              "11,11,11,255 22,22,22,255 33,33,33,255 "
              "5,5,5,255 13,13,13,255 23,23,23,255 "
              "5,5,5,255 13,13,13,255 23,23,23,255");
    std::string error;
    EXPECT_FALSE(Decode(Png(Header(3, 1, 8, 0), {}, {5, 1, 2, 3}), error));
    EXPECT_NE(error.find("unknown filter"), std::string::npos) << error;
}

// Unfiltered rows of the picture whose sample (x, y, channel) is `sample`, at `depth` bits, for
// the pixels of each row in `rows`.
Bytes PackRows(const std::vector<std::vector<std::pair<uint32_t, uint32_t>>>& rows,
               unsigned channels, unsigned depth,
               const std::function<uint16_t(uint32_t, uint32_t, unsigned)>& sample) {
    Bytes out;
    for (const auto& row : rows) {
        out.push_back(0);
        Bytes bits((row.size() * channels * depth + 7) / 8, 0);
        size_t bit = 0;
        for (const auto& [x, y] : row)
            for (unsigned c = 0; c < channels; ++c, bit += depth) {
                const uint16_t v = sample(x, y, c);
                if (depth == 16) {
                    bits[bit / 8] = static_cast<uint8_t>(v >> 8);
                    bits[bit / 8 + 1] = static_cast<uint8_t>(v);
                } else {
                    bits[bit / 8] |= static_cast<uint8_t>(v << (8 - depth - bit % 8));
                }
            }
        out.insert(out.end(), bits.begin(), bits.end());
    }
    return out;
}

TEST(PngCodecTest, InterlacedPicturesDecodeAsTheirPlainTwins) {
    struct SKind {
        uint8_t colour;
        unsigned channels;
        uint8_t depth;
    };
    const std::vector<SKind> kinds = {{0, 1, 1}, {3, 1, 4}, {2, 3, 8}, {6, 4, 16}, {4, 2, 8}};
    Bytes palette;
    for (int i = 0; i < 16 * 3; ++i)
        palette.push_back(static_cast<uint8_t>(i * 5));
    const std::vector<std::pair<uint32_t, uint32_t>> sizes = {{1, 1}, {2, 2}, {3, 2},  {9, 9},
                                                              {13, 5}, {1, 9}, {17, 3}};
    for (const SKind& kind : kinds)
        for (const auto& [w, h] : sizes) {
            const uint16_t top = static_cast<uint16_t>((1u << kind.depth) - 1);
            const auto sample = [&](uint32_t x, uint32_t y, unsigned c) {
                return static_cast<uint16_t>((x * 37 + y * 101 + c * 59) * 977 % (top + 1u));
            };
            std::vector<std::vector<std::pair<uint32_t, uint32_t>>> plain, interlaced;
            for (uint32_t y = 0; y < h; ++y) {
                plain.emplace_back();
                for (uint32_t x = 0; x < w; ++x)
                    plain.back().emplace_back(x, y);
            }
            // Adam7's passes: start and step across, then down.
            const int passes[7][4] = {{0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
                                      {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2}};
            for (const auto& p : passes)
                for (uint32_t y = p[2]; y < h; y += p[3]) {
                    std::vector<std::pair<uint32_t, uint32_t>> row;
                    for (uint32_t x = p[0]; x < w; x += p[1])
                        row.emplace_back(x, y);
                    if (!row.empty())
                        interlaced.push_back(row);
                }
            std::vector<Bytes> before;
            if (kind.colour == 3)
                before.push_back(Chunk("PLTE", palette));
            const std::string what = "colour " + std::to_string(kind.colour) + " " +
                                     std::to_string(kind.depth) + " bits " + std::to_string(w) +
                                     "x" + std::to_string(h);
            const std::string expected = DecodedPixels(
                Png(Header(w, h, kind.depth, kind.colour), before,
                    PackRows(plain, kind.channels, kind.depth, sample)));
            ASSERT_EQ(expected.find("error"), std::string::npos) << what << ": " << expected;
            EXPECT_EQ(DecodedPixels(Png(Header(w, h, kind.depth, kind.colour, 1), before,
                                        PackRows(interlaced, kind.channels, kind.depth, sample))),
                      expected)
                << what;
        }
    // Each pass is filtered on its own: an Up filter in a pass's first row sees zeros.
    EXPECT_EQ(DecodedPixels(Png(Header(2, 2, 8, 0, 1), {}, {2, 10, 2, 20, 2, 30, 40})),
              "10,10,10,255 20,20,20,255 30,30,30,255 40,40,40,255");
}

TEST(PngCodecTest, EveryCutOfAFileAndEveryFlippedByteIsRefused) {
    const Bytes file = PaletteFile();
    std::string error;
    ASSERT_TRUE(Decode(file, error)) << error;
    for (size_t size = 0; size < file.size(); ++size)
        EXPECT_FALSE(Decode(Bytes(file.begin(), file.begin() + static_cast<long>(size)), error))
            << "cut at " << size;
    // Every byte is covered by the signature, a length or a checksum.
    for (size_t at = 0; at < file.size(); ++at) {
        Bytes damaged = file;
        damaged[at] ^= 0x10;
        EXPECT_FALSE(Decode(damaged, error)) << "byte " << at;
    }
}

TEST(PngCodecTest, DamageBehindValidChecksumsIsRefusedWithItsReason) {
    const Bytes grey = Header(3, 2, 8, 0);
    const Bytes rows = {0, 1, 2, 3, 0, 4, 5, 6};
    struct SCase {
        const char* what;
        Bytes file;
        const char* reason;
    };
    Bytes noEnd = Png(grey, {}, rows);
    noEnd.resize(noEnd.size() - 12);
    Bytes twoStreams = Png(grey, {}, {0, 1, 2, 3});
    const Bytes rest = Chunk("IDAT", Deflate({0, 4, 5, 6}));
    twoStreams.insert(twoStreams.end() - 12, rest.begin(), rest.end());
    Bytes split = Png(grey, {}, rows);
    const Bytes text = Chunk("tEXt", {'a', 0, 'b'});
    const Bytes second = Chunk("IDAT", {});
    split.insert(split.end() - 12, text.begin(), text.end());
    split.insert(split.end() - 12, second.begin(), second.end());
    const std::vector<SCase> cases = {
        {"rows missing", Png(grey, {}, {0, 1, 2, 3}), "ends early"},
        {"a row too many", Png(grey, {}, {0, 1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9}), "more image data"},
        {"not zlib data", [&] {
             Bytes out = Png(grey, {}, rows);
             const Bytes bad = Chunk("IDAT", {1, 2, 3, 4});
             const size_t at = 8 + grey.size();
             out.erase(out.begin() + static_cast<long>(at), out.end() - 12);
             out.insert(out.begin() + static_cast<long>(at), bad.begin(), bad.end());
             return out;
         }(),
         "cannot be unpacked"},
        {"two zlib streams", twoStreams, "ends early"},
        {"image data split by another chunk", split, "split"},
        {"no IEND", noEnd, "ends early"},
        {"zero width", Png(Header(0, 2, 8, 0), {}, rows), "size"},
        {"larger than allowed", Png(Header(100000, 100000, 8, 0), {}, rows), "too large"},
        {"huge but little data", Png(Header(8192, 8192, 8, 6), {}, rows), "ends early"},
        {"a side beyond the format's", Png(Header(0x80000000u, 1, 8, 0), {}, rows), "size"},
        {"three bits", Png(Header(3, 2, 3, 0), {}, rows), "3 bits"},
        {"RGB with 4 bits", Png(Header(3, 2, 4, 2), {}, rows), "4 bits"},
        {"interlaced, the last pass missing", Png(Header(3, 2, 8, 0, 1), {}, {0, 1, 0, 2}),
         "ends early"},
        {"unknown interlace method", Png(Header(3, 2, 8, 0, 2), {}, rows), "interlace method"},
        {"unknown critical chunk", Png(grey, {Chunk("ABCD", {})}, rows), "ABCD"},
        {"palette picture without palette", Png(Header(3, 2, 8, 3), {}, rows), "without a palette"},
        {"index beyond the palette",
         Png(Header(3, 2, 8, 3), {Chunk("PLTE", {1, 2, 3})}, rows), "palette index 1"},
        {"palette of 257 colours", Png(Header(3, 2, 8, 3), {Chunk("PLTE", Bytes(771))}, rows),
         "palette has the wrong length"},
        {"transparency beyond the palette",
         Png(Header(3, 2, 8, 3), {Chunk("PLTE", {1, 2, 3}), Chunk("tRNS", {1, 2})}, rows),
         "more transparency entries"},
        {"transparency in an RGBA picture", Png(Header(1, 1, 8, 6), {Chunk("tRNS", {0, 0})}, rows),
         "with alpha"},
        {"header of the wrong length", [&] {
             Bytes out = Png(grey, {}, rows);
             const Bytes longer = Chunk("IHDR", Bytes(14));
             out.erase(out.begin() + 8, out.begin() + 8 + static_cast<long>(grey.size()));
             out.insert(out.begin() + 8, longer.begin(), longer.end());
             return out;
         }(),
         "wrong length"},
        {"no header first", Png(Chunk("tEXt", {'a', 0}), {grey}, rows), "start with its header"},
        {"not a PNG", Bytes{0xFF, 0xD8, 0xFF, 0xE0}, "not a PNG"},
    };
    for (const SCase& c : cases) {
        std::string error;
        EXPECT_FALSE(Decode(c.file, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
    // Ancillary chunks are read past, and what follows IEND is not looked at.
    Bytes extra = Png(grey, {Chunk("tEXt", {'k', 0, 'v'})}, rows);
    extra.insert(extra.end(), {1, 2, 3});
    EXPECT_EQ(DecodedPixels(extra), "1,1,1,255 2,2,2,255 3,3,3,255 4,4,4,255 5,5,5,255 6,6,6,255");
}

} // namespace
