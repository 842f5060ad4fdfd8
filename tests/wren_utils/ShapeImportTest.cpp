#include "WrenTestFiles.h"

#include "wren_utils/archive/BigArchiveUpdate.h"
#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/engine/FileSystem.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/pack/PackEncoder.h"
#include "wren_utils/shapes/DxtDecoder.h"
#include "wren_utils/shapes/ImageResampler.h"
#include "wren_utils/shapes/MagentaKey.h"
#include "wren_utils/shapes/ShapeContainer.h"
#include "wren_utils/shapes/ShapeContainerWriter.h"
#include "wren_utils/shapes/ShapeConverter.h"
#include "wren_utils/shapes/ShapeFormat.h"
#include "wren_utils/shapes/ShapeImporter.h"
#include "wren_utils/shapes/ShapeLoader.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wren;

namespace {

using Bytes = std::vector<uint8_t>;

BgraImage Filled(uint32_t w, uint32_t h, uint32_t bgra) {
    BgraImage image{w, h, Bytes(size_t{w} * h * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<uint8_t>(bgra >> (8 * (i % 4)));
    return image;
}

// Smooth colour ramps, opaque unless alpha is asked for (then a soft edge on the right).
BgraImage Ramp(uint32_t w, uint32_t h, bool alpha) {
    BgraImage image{w, h, Bytes(size_t{w} * h * 4)};
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = &image.pixels[4 * (size_t{y} * w + x)];
            p[0] = static_cast<uint8_t>(255 * x / w);
            p[1] = static_cast<uint8_t>(255 * y / h);
            p[2] = 128;
            p[3] =
                alpha && x > w / 2 ? static_cast<uint8_t>(255 - 255 * (x - w / 2) / (w / 2)) : 255;
        }
    return image;
}

const uint8_t* Pixel(const BgraImage& image, uint32_t x, uint32_t y) {
    return &image.pixels[4 * (size_t{y} * image.width + x)];
}

TEST(ImageResampler, AveragesAreasWhenShrinkingAndInterpolatesWhenGrowing) {
    // Pairs of grey levels shrink to exactly their means.
    BgraImage blocks{4, 2, Bytes(32)};
    const uint8_t levels[] = {0, 80};
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 4; ++x) {
            uint8_t* p = &blocks.pixels[4 * (y * 4 + x)];
            p[0] = p[1] = p[2] = static_cast<uint8_t>(levels[x / 2] + 10 * (x % 2));
            p[3] = 255;
        }
    const BgraImage half = ImageResampler::Resize(blocks, 2, 1);
    EXPECT_EQ(Pixel(half, 0, 0)[0], 5);
    EXPECT_EQ(Pixel(half, 1, 0)[0], 85);
    // Uneven factors: the parts of source pixels each target pixel covers add up to one.
    const BgraImage odd = ImageResampler::Resize(Filled(7, 5, 0xFF204060), 3, 2);
    for (uint32_t i = 0; i < 6; ++i)
        EXPECT_EQ(Pixel(odd, i % 3, i / 3)[1], 0x40);

    // Growing keeps a flat colour flat and a ramp monotonic, without ringing past its ends.
    const BgraImage big = ImageResampler::Resize(Filled(3, 3, 0xFF123456), 17, 10);
    ASSERT_EQ(big.width, 17u);
    for (uint32_t y = 0; y < 10; ++y)
        EXPECT_EQ(Pixel(big, 16, y)[2], 0x12);
    const BgraImage ramp = ImageResampler::Resize(Ramp(8, 1, false), 32, 1);
    for (uint32_t x = 1; x < 32; ++x)
        EXPECT_GE(Pixel(ramp, x, 0)[0], Pixel(ramp, x - 1, 0)[0]) << x;

    EXPECT_TRUE(ImageResampler::Resize(BgraImage{}, 4, 4).pixels.empty());
    EXPECT_TRUE(ImageResampler::Resize(Filled(2, 2, 0), 0, 4).pixels.empty());
}

TEST(ImageResampler, TransparentPixelsLendNoColour) {
    // Opaque red beside fully transparent green: the mix is red at half alpha, not brown.
    BgraImage image{2, 1, {0, 0, 255, 255, 0, 255, 0, 0}};
    const BgraImage one = ImageResampler::Resize(image, 1, 1);
    EXPECT_EQ(one.pixels, (Bytes{0, 0, 255, 128}));
    EXPECT_FALSE(ImageResampler::IsOpaque(image));
    EXPECT_TRUE(ImageResampler::IsOpaque(Filled(3, 3, 0xFF000000)));
}

// A packed container like the game's: "tp00" behind tag "pic2" with a name record, in DXT3,
// beside a second shape that must survive byte for byte.
Bytes GameContainer(bool packed, uint8_t type = kShapeTypeDxt3) {
    ShapeContainerWriter writer;
    std::string error;
    ShapeWriteOptions named;
    named.type = type;
    named.name = "tp00";
    EXPECT_TRUE(writer.Add("pic2", Ramp(64, 32, true), named, error)) << error;
    ShapeWriteOptions other;
    other.type = kShapeTypeBgra32;
    other.packed = true;
    EXPECT_TRUE(writer.Add("logo", Ramp(16, 16, false), other, error)) << error;
    const Bytes container = writer.Build();
    return packed ? *PACK_pack(container) : container;
}

Bytes RecordBytes(const Bytes& container, const std::string& name) {
    const auto record = ShapeContainer(container).Find(name);
    return record ? Bytes(record->Bytes().begin(), record->Bytes().begin() + record->Size())
                  : Bytes{};
}

TEST(ShapeImporter, ReplacesTheShapeAsTheOldOneWasStored) {
    const Bytes oldEntry = GameContainer(true);
    const Bytes oldContainer = *PACK_unpackToVector(oldEntry);
    ShapeImportRequest request;
    request.shape = "tp00";
    std::string error;
    const auto result = ShapeImporter::Import(oldEntry, Ramp(200, 100, true), request, error);
    ASSERT_TRUE(result) << error;
    EXPECT_TRUE(result->packed);
    EXPECT_TRUE(result->replacedShape);
    EXPECT_EQ(result->type, kShapeTypeDxt3); // alpha, and the old shape was DXT3
    EXPECT_EQ(result->width, 64u);
    EXPECT_EQ(result->height, 32u);
    EXPECT_EQ(*PACK_unpackToVector(result->entry), result->container);

    const ShapeContainer container(result->container);
    ASSERT_EQ(container.Count(), 2);
    EXPECT_EQ(container.Tag(0), "pic2");
    EXPECT_EQ(container.Name(0), "tp00");
    EXPECT_EQ(container.Shape(0)->Type(), kShapeTypeDxt3);
    EXPECT_EQ(RecordBytes(result->container, "logo"), RecordBytes(oldContainer, "logo"));
    EXPECT_EQ(ShapeConverter::ToImage(*container.Find("logo"))->pixels,
              ShapeConverter::ToImage(*ShapeContainer(oldContainer).Find("logo"))->pixels);

    // The preview is what the game decodes, and it looks like the picture.
    const auto decoded = ShapeConverter::ToImage(*container.Find("tp00"));
    EXPECT_EQ(result->decoded.pixels, decoded->pixels);
    const BgraImage expected = ImageResampler::Resize(Ramp(200, 100, true), 64, 32);
    double error2 = 0;
    for (size_t i = 0; i < expected.pixels.size(); ++i)
        error2 += std::pow(expected.pixels[i] - result->decoded.pixels[i], 2.0);
    const double psnr = 10 * std::log10(255.0 * 255.0 / (error2 / expected.pixels.size()));
    EXPECT_GT(psnr, 30.0);
}

TEST(ShapeImporter, KeepsTheOldShapesSmallerLevels) {
    ShapeContainerWriter writer;
    std::string error;
    ShapeWriteOptions options;
    options.type = kShapeTypeDxt1;
    options.mipmaps = 3;
    ASSERT_TRUE(writer.Add("tp00", Ramp(32, 16, false), options, error)) << error;
    ShapeImportRequest request;
    request.shape = "tp00";
    for (const bool alpha : {false, true}) {
        const auto result = ShapeImporter::Import(
            writer.Build(), Filled(50, 50, alpha ? 0x80FF0000 : 0xFFFF0000), request, error);
        ASSERT_TRUE(result) << error;
        const auto record = ShapeContainer(result->container).Find("tp00");
        ASSERT_TRUE(record);
        EXPECT_EQ(record->Mipmaps(), 3u);
        // Every level is there: 32 x 16, 16 x 8, 8 x 4 and 4 x 2 (a whole block each way).
        const uint64_t levels = ShapePixelBytes(result->type, 32, 16, 3);
        EXPECT_EQ(levels, (alpha ? 16u : 8u) * (8 * 4 + 4 * 2 + 2 * 1 + 1 * 1));
        EXPECT_EQ(record->Size(), 16 + levels);
        EXPECT_GE(result->container.size(), record->Offset() + record->Size());
        // The smallest level is the picture's colour too.
        const uint8_t* smallest = record->Bytes().data() + 16 + levels - (alpha ? 16 : 8);
        uint8_t decoded[4 * 4 * 4] = {};
        if (alpha)
            DxtDecoder::DecodeDxt5Block(smallest, decoded, 16, false);
        else
            DxtDecoder::DecodeDxt1Block(smallest, decoded, 16);
        EXPECT_LT(decoded[0], 40);  // blue
        EXPECT_GT(decoded[2], 200); // red
        EXPECT_NEAR(decoded[3], alpha ? 128 : 255, 3);
    }
}

TEST(ShapeImporter, ChoosesTheFormatFromThePictureAndTheRequest) {
    const Bytes oldEntry = GameContainer(false, kShapeTypeDxt5);
    ShapeImportRequest request;
    request.shape = "tp00";
    std::string error;
    auto opaque = ShapeImporter::Import(oldEntry, Ramp(64, 32, false), request, error);
    ASSERT_TRUE(opaque) << error;
    EXPECT_EQ(opaque->type, kShapeTypeDxt1);
    EXPECT_FALSE(opaque->packed);
    EXPECT_EQ(opaque->entry, opaque->container);

    auto alpha = ShapeImporter::Import(oldEntry, Ramp(64, 32, true), request, error);
    ASSERT_TRUE(alpha) << error;
    EXPECT_EQ(alpha->type, kShapeTypeDxt5);

    request.format = ShapeImportFormat::Bgra32;
    request.width = 40;
    request.height = 20;
    auto exact = ShapeImporter::Import(oldEntry, Ramp(80, 40, true), request, error);
    ASSERT_TRUE(exact) << error;
    EXPECT_EQ(exact->type, kShapeTypeBgra32);
    EXPECT_EQ(exact->decoded.width, 40u);
    EXPECT_EQ(exact->decoded.pixels, ImageResampler::Resize(Ramp(80, 40, true), 40, 20).pixels);
}

TEST(ShapeImporter, MakesANewContainerOrAddsTheShape) {
    ShapeImportRequest request;
    request.shape = "logo";
    std::string error;
    const auto fresh = ShapeImporter::Import(std::nullopt, Ramp(48, 48, false), request, error);
    ASSERT_TRUE(fresh) << error;
    EXPECT_TRUE(fresh->packed);
    EXPECT_FALSE(fresh->replacedShape);
    const ShapeContainer one(fresh->container);
    ASSERT_EQ(one.Count(), 1);
    EXPECT_EQ(one.Tag(0), "logo");
    EXPECT_EQ(one.Shape(0)->Width(), 48);

    // A container without the shape gets it behind its own; a long name rides in a name record.
    request.shape = "crowd_texture";
    const auto added = ShapeImporter::Import(fresh->entry, Ramp(8, 8, false), request, error);
    ASSERT_TRUE(added) << error;
    const ShapeContainer two(added->container);
    ASSERT_EQ(two.Count(), 2);
    EXPECT_EQ(two.Name(1), "crowd_texture");
    EXPECT_EQ(two.Tag(1), "crow");
}

TEST(ShapeImporter, RefusesWhatItCannotMake) {
    ShapeImportRequest request;
    request.shape = "tp00";
    std::string error;
    EXPECT_FALSE(ShapeImporter::Import(std::nullopt, BgraImage{}, request, error));
    EXPECT_FALSE(ShapeImporter::Import(std::nullopt, BgraImage{4, 4, Bytes(10)}, request, error));
    Bytes damaged = GameContainer(true);
    damaged.resize(damaged.size() / 2);
    EXPECT_FALSE(ShapeImporter::Import(damaged, Ramp(8, 8, false), request, error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    EXPECT_FALSE(ShapeImporter::Import(Bytes{1, 2, 3}, Ramp(8, 8, false), request, error));
    // A damaged old shape claiming 65535 x 65535 pixels is refused, not resized to.
    Bytes huge = GameContainer(false);
    const size_t record = ShapeContainer(huge).Shape(0)->Offset();
    std::fill(huge.begin() + static_cast<std::ptrdiff_t>(record) + 4,
              huge.begin() + static_cast<std::ptrdiff_t>(record) + 8, 0xFF);
    EXPECT_FALSE(ShapeImporter::Import(huge, Ramp(8, 8, false), request, error));
    EXPECT_NE(error.find("65535 x 65535"), std::string::npos) << error;
    request.width = 70000;
    request.height = 5;
    EXPECT_FALSE(ShapeImporter::Import(std::nullopt, Ramp(8, 8, false), request, error));
    request.shape.clear();
    EXPECT_FALSE(ShapeImporter::Import(std::nullopt, Ramp(8, 8, false), request, error));
}

// A picture in the game's own style: a magenta background around a green-to-yellow badge.
BgraImage MagentaBackground(uint32_t w, uint32_t h) {
    BgraImage image = Filled(w, h, 0xFFFF00FF);
    for (uint32_t y = h / 4; y < h - h / 4; ++y)
        for (uint32_t x = w / 4; x < w - w / 4; ++x) {
            uint8_t* p = &image.pixels[4 * (size_t{y} * w + x)];
            p[0] = 30;
            p[1] = static_cast<uint8_t>(120 + 120 * (y - h / 4) / (h / 2));
            p[2] = static_cast<uint8_t>(200 * (x - w / 4) / (w / 2));
        }
    return image;
}

bool IsBadge(uint32_t w, uint32_t h, uint32_t x, uint32_t y) {
    return x >= w / 4 && x < w - w / 4 && y >= h / 4 && y < h - h / 4;
}

TEST(MagentaKey, OnlyOpaquePicturesLoseTheirMagenta) {
    BgraImage picture = MagentaBackground(8, 8);
    EXPECT_EQ(MagentaKey::Count(picture), 48u);
    BgraImage keyed = picture;
    EXPECT_EQ(MagentaKey::Apply(keyed), 48u);
    EXPECT_EQ(MagentaKey::Count(keyed), 0u);
    for (uint32_t i = 0; i < 64; ++i) {
        const uint8_t* now = Pixel(keyed, i % 8, i / 8);
        const uint8_t* was = Pixel(picture, i % 8, i / 8);
        if (IsBadge(8, 8, i % 8, i / 8))
            EXPECT_TRUE(std::equal(now, now + 4, was)) << i;
        else
            EXPECT_EQ(Bytes(now, now + 4), Bytes(4, 0)) << i;
    }
    // Near magenta is a colour, and a picture with alpha of its own keeps its magenta.
    EXPECT_EQ(MagentaKey::Count(Filled(4, 4, 0xFFFE00FF)), 0u);
    picture.pixels[4 * 27 + 3] = 200;
    EXPECT_EQ(MagentaKey::Apply(picture), 0u);
    EXPECT_EQ(Pixel(picture, 0, 0)[2], 255);
}

// A magenta background comes back transparent through both of the library's requests, for
// each kind of old shape, at the old shape's size and resized; the badge looks as drawn and
// no pixel that shows has a magenta tint.
TEST(ShapeImporter, MagentaBackgroundsReadBackTransparent) {
    ASSERT_TRUE(FILESYS_init());
    CTempFolder folder;
    const uint8_t kinds[] = {kShapeTypeDxt1, kShapeTypeDxt3, kShapeTypeDxt5};
    BigArchiveWriter writer;
    for (const uint8_t kind : kinds) {
        writer.Add("packed" + std::to_string(kind) + ".fsh", GameContainer(true, kind));
        writer.Add("plain" + std::to_string(kind) + ".fsh", GameContainer(false, kind));
    }
    std::string error;
    const std::string path = folder.Write("zdata_05.big", *writer.Build(error));
    for (const uint8_t kind : kinds)
        for (const uint32_t side : {64u, 210u})
            for (const bool packed : {true, false}) {
                const std::string entry =
                    (packed ? "packed" : "plain") + std::to_string(kind) + ".fsh";
                SCOPED_TRACE(entry + " from " + std::to_string(side) + " pixels");
                const uint32_t w = side;
                const uint32_t h = side / 2;
                const BgraImage picture = MagentaBackground(w, h);
                const auto oldEntry = BIG_readfileentry(path, entry, error);
                ASSERT_TRUE(oldEntry) << error;
                ShapeImportRequest request;
                request.shape = "tp00";
                const auto result = ShapeImporter::Import(*oldEntry, picture, request, error);
                ASSERT_TRUE(result) << error;
                EXPECT_EQ(result->magentaPixels, w * h - (w - w / 4 * 2) * (h - h / 4 * 2));
                // Only 0 and 255 at the old size: a DXT1 slot stays DXT1; resized edges are soft.
                const bool exactSize = side == 64;
                EXPECT_EQ(result->type, kind == kShapeTypeDxt1 && exactSize ? kShapeTypeDxt1
                                        : kind == kShapeTypeDxt3           ? kShapeTypeDxt3
                                                                           : kShapeTypeDxt5);
                BigPutResult put;
                ASSERT_TRUE(BIG_putentry(path, entry, result->entry, put, error)) << error;
                const auto read = packed ? ShapeLoader::FromStreamedEntry(path, entry, "tp00")
                                         : ShapeLoader::FromWholeArchive(path, entry, "tp00");
                ASSERT_TRUE(read);
                ASSERT_EQ(read->width, 64u);
                ASSERT_EQ(read->height, 32u);
                EXPECT_EQ(read->pixels, result->decoded.pixels);
                const BgraImage expected = ImageResampler::Resize(
                    [&] {
                        BgraImage keyed = picture;
                        MagentaKey::Apply(keyed);
                        return keyed;
                    }(),
                    64, 32);
                for (uint32_t y = 0; y < 32; ++y)
                    for (uint32_t x = 0; x < 64; ++x) {
                        const uint8_t* got = Pixel(*read, x, y);
                        // A whole pixel clear of the badge's edge is background.
                        if (x < 15 || x > 48 || y < 7 || y > 24) {
                            ASSERT_EQ(got[3], 0) << x << "," << y;
                        } else if (x >= 17 && x < 47 && y >= 9 && y < 23) {
                            ASSERT_EQ(got[3], 255) << x << "," << y;
                        }
                        if (got[3] >= 128) {
                            ASSERT_FALSE(got[2] > 200 && got[0] > 150) << x << "," << y;
                            const uint8_t* want = Pixel(expected, x, y);
                            for (int c = 0; c < 3; ++c)
                                ASSERT_NEAR(got[c], want[c], 24) << x << "," << y << " " << c;
                        }
                    }
            }
    FILESYS_shutdown();
}

TEST(ShapeImporter, MagentaIsKeptWhenAsked) {
    const Bytes oldEntry = GameContainer(true, kShapeTypeDxt1);
    ShapeImportRequest request;
    request.shape = "tp00";
    request.magentaTransparent = false;
    std::string error;
    const auto kept = ShapeImporter::Import(oldEntry, MagentaBackground(64, 32), request, error);
    ASSERT_TRUE(kept) << error;
    EXPECT_EQ(kept->magentaPixels, 0u);
    EXPECT_EQ(kept->type, kShapeTypeDxt1);
    EXPECT_TRUE(ImageResampler::IsOpaque(kept->decoded));
    // As the game decodes it, DXT1's magenta is 255 - 3, never the key itself.
    EXPECT_EQ(Pixel(kept->decoded, 0, 0)[0], 252);
    EXPECT_EQ(Pixel(kept->decoded, 0, 0)[2], 252);
}

// Through both ways the library answers requests: the streamed reader needs the entry packed,
// the whole-archive reader needs it unpacked; each import keeps what the entry was.
TEST(ShapeImporter, ImportedShapesReadBackThroughTheArchive) {
    ASSERT_TRUE(FILESYS_init());
    CTempFolder folder;
    BigArchiveWriter writer;
    writer.Add("packed.fsh", GameContainer(true));
    writer.Add("plain.fsh", GameContainer(false));
    std::string error;
    const std::string path = folder.Write("zdata_05.big", *writer.Build(error));
    for (const char* entry : {"packed.fsh", "plain.fsh"}) {
        const auto oldEntry = BIG_readfileentry(path, entry, error);
        ASSERT_TRUE(oldEntry) << error;
        ShapeImportRequest request;
        request.shape = "tp00";
        const auto result = ShapeImporter::Import(*oldEntry, Ramp(128, 64, true), request, error);
        ASSERT_TRUE(result) << error;
        BigPutResult put;
        ASSERT_TRUE(BIG_putentry(path, entry, result->entry, put, error)) << error;
        const auto read = result->packed ? ShapeLoader::FromStreamedEntry(path, entry, "tp00")
                                         : ShapeLoader::FromWholeArchive(path, entry, "tp00");
        ASSERT_TRUE(read) << entry;
        EXPECT_EQ(read->pixels, result->decoded.pixels) << entry;
    }
    FILESYS_shutdown();
}

} // namespace
