#include "wren_utils/shapes/ShapeContainer.h"
#include "wren_utils/pack/PackEncoder.h"
#include "wren_utils/shapes/ShapeContainerWriter.h"
#include "wren_utils/shapes/ShapeConverter.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace wren;

namespace {

BgraImage Pattern(uint32_t w, uint32_t h, uint8_t seed) {
    BgraImage image{w, h, std::vector<uint8_t>(size_t{w} * h * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 6));
    return image;
}

std::vector<uint8_t>
Build(const std::vector<std::tuple<std::string, BgraImage, ShapeWriteOptions>>& shapes) {
    ShapeContainerWriter writer;
    std::string error;
    for (const auto& [tag, image, options] : shapes)
        EXPECT_TRUE(writer.Add(tag, image, options, error)) << error;
    return writer.Build();
}

ShapeWriteOptions Options(uint8_t type, std::string name, bool packed, bool pixelOffsetField) {
    ShapeWriteOptions options;
    options.type = type;
    options.name = std::move(name);
    options.packed = packed;
    options.pixelOffsetField = pixelOffsetField;
    return options;
}

// A container with one hand-made record; `record` starts at byte 24.
std::vector<uint8_t> OneRecord(const std::vector<uint8_t>& record) {
    std::vector<uint8_t> bytes(24 + record.size(), 0);
    bytes[8] = 1;
    std::memcpy(bytes.data() + 16, "abcd", 4);
    bytes[20] = 24;
    std::copy(record.begin(), record.end(), bytes.begin() + 24);
    return bytes;
}

std::vector<uint8_t> Header(uint8_t type, uint16_t w, uint16_t h, uint32_t flags) {
    std::vector<uint8_t> r(16, 0);
    r[0] = type;
    r[4] = static_cast<uint8_t>(w);
    r[5] = static_cast<uint8_t>(w >> 8);
    r[6] = static_cast<uint8_t>(h);
    r[7] = static_cast<uint8_t>(h >> 8);
    for (int i = 0; i < 4; ++i)
        r[12 + i] = static_cast<uint8_t>(flags >> (8 * i));
    return r;
}

uint64_t SizeOf(const std::vector<uint8_t>& record) {
    return ShapeRecord::At(record, 0)->Size();
}

} // namespace

TEST(ShapeContainer, WriterAndReaderAgreeOnEveryStoredForm) {
    const BgraImage picture = Pattern(20, 12, 3);
    const auto bytes = Build({{"tp00", picture, Options(kShapeTypeBgra32, "", false, false)},
                              {"tp01", picture, Options(kShapeTypeBgra32, "", true, false)},
                              {"tp02", picture, Options(kShapeTypeBgra32, "", false, true)},
                              {"tp03", picture, Options(kShapeTypeBgra32, "", true, true)}});
    const ShapeContainer container(bytes);
    ASSERT_EQ(container.Count(), 4);
    for (const char* tag : {"tp00", "tp01", "tp02", "tp03"}) {
        const auto shape = container.Find(tag);
        ASSERT_TRUE(shape) << tag;
        const auto image = ShapeConverter::ToImage(*shape);
        ASSERT_TRUE(image) << tag;
        EXPECT_EQ(image->width, 20u);
        EXPECT_EQ(image->height, 12u);
        EXPECT_EQ(image->pixels, picture.pixels) << tag;
    }
    EXPECT_TRUE(container.Find("tp01")->IsPacked());
    EXPECT_TRUE(container.Find("tp02")->Flags() & kShapeFlagPixelOffset);
}

TEST(ShapeContainer, NameRecordReplacesTheTag) {
    const BgraImage picture = Pattern(4, 4, 9);
    const auto bytes =
        Build({{"tp00", picture, Options(kShapeTypeBgra32, "home kit", false, false)},
               {"logo", picture, Options(kShapeTypeDxt1, "", false, false)},
               {"tp00", Pattern(8, 8, 1), Options(kShapeTypeBgra32, "", false, false)}});
    const ShapeContainer container(bytes);
    EXPECT_EQ(container.Name(0), "home kit");
    EXPECT_EQ(container.Tag(0), "tp00");
    EXPECT_EQ(container.Name(1), "logo");
    ASSERT_TRUE(container.Find("home kit"));
    EXPECT_EQ(container.Find("home kit")->Width(), 4);
    // The named shape no longer answers to its tag; the next shape with that tag does.
    ASSERT_TRUE(container.Find("tp00"));
    EXPECT_EQ(container.Find("tp00")->Width(), 8);
    EXPECT_FALSE(container.Find("TP00"));
    EXPECT_FALSE(container.Find("home"));
}

TEST(ShapeContainer, DamagedDirectoryAndRecordsFindNothing) {
    auto bytes = Build({{"tp00", Pattern(4, 4, 0), Options(kShapeTypeBgra32, "", false, false)}});
    // A count far beyond the bytes is cut to the entries present.
    bytes[8] = 0xFF;
    bytes[9] = 0xFF;
    bytes[10] = 0xFF;
    bytes[11] = 0x7F;
    EXPECT_LE(ShapeContainer(bytes).Count(), static_cast<int>((bytes.size() - 16) / 8));
    // A negative count means no shapes.
    bytes[11] = 0xFF;
    EXPECT_EQ(ShapeContainer(bytes).Count(), 0);
    bytes[8] = 1;
    bytes[9] = bytes[10] = bytes[11] = 0;
    // A record offset outside the container.
    bytes[20] = 0xFF;
    bytes[21] = 0xFF;
    EXPECT_FALSE(ShapeContainer(bytes).Find("tp00"));
    EXPECT_EQ(ShapeContainer(std::span<const uint8_t>(bytes.data(), 10)).Count(), 0);
}

TEST(ShapeContainer, UnterminatedNameFallsBackToTheTag) {
    auto record = Header(kShapeTypeBgra32, 1, 1, 0);
    record[1] = 20;
    record.resize(20, 0);
    const uint8_t name[] = {kShapeTypeName, 0, 0, 0, 'x', 'y'};
    record.insert(record.end(), name, name + sizeof name);
    const auto bytes = OneRecord(record);
    EXPECT_EQ(ShapeContainer(bytes).Name(0), "abcd");
}

TEST(ShapeRecordSize, ImageAndAttachmentRules) {
    EXPECT_EQ(SizeOf(Header(0x7D, 10, 10, 2u << 28)), (100u + 25 + 4) * 4 + 16);
    EXPECT_EQ(SizeOf(Header(0x60, 30, 30, 1u << 28)), 512u + 128 + 16);
    EXPECT_EQ(SizeOf(Header(0x62, 1, 1, 0)), 16u + 16);
    EXPECT_EQ(SizeOf(Header(0x78, 3, 2, 0)), 2u * 6 + 16);
    EXPECT_EQ(SizeOf(Header(0x7E, 3, 1, 0)), 6u + 16); // 15 bits count as 16
    EXPECT_EQ(SizeOf(Header(0x01, 3, 1, 0)), 2u + 16); // rows rounded up to whole bytes
    EXPECT_EQ(SizeOf(Header(0x08, 8, 8, 0)), 0u);      // a type without pixels
    // The palette rule of types 0x20 and 0x21 with flag bit 13.
    EXPECT_EQ(SizeOf(Header(0x20, 20, 1, kShapeFlagPaletteRule)), 16u * 24 / 8 + 16);
    EXPECT_EQ(SizeOf(Header(0x21, 9, 1, kShapeFlagPaletteRule)), 32u * 17 / 8 + 16);
    EXPECT_EQ(SizeOf(Header(0x21, 40, 1, kShapeFlagPaletteRule)), 32u * 48 / 8 + 16);
    EXPECT_EQ(SizeOf(Header(0x21, 28, 1, kShapeFlagPaletteRule)), 32u * 28 / 8 + 16);

    EXPECT_EQ(SizeOf({kShapeTypeName, 0, 0, 0, 'a', 'b', 'c', 0}), 8u);
    EXPECT_EQ(SizeOf({0x6F, 0, 0, 0, 10, 0, 0, 0}), 18u);
    EXPECT_EQ(SizeOf({0x7C, 0, 0, 0, 3, 0, 0, 0}), 32u);
    EXPECT_EQ(SizeOf({0x69, 0, 0, 0, 0, 0, 0, 0}), 16u);
    EXPECT_EQ(SizeOf({0x69, 0, 0, 0, 0, 0, 0x10, 0}), 64u + 16);
    EXPECT_EQ(SizeOf({0x69, 0, 0, 0, 20, 0, 0x10, 0}), 20u + 16);

    // A packed record: header plus its stream up to the end command.
    const std::vector<uint8_t> data(100, 7);
    auto record = Header(0xFD, 5, 5, 0);
    const auto stream = *PACK_pack(data);
    record.insert(record.end(), stream.begin(), stream.end());
    record.resize(record.size() + 40, 0xEE);
    EXPECT_EQ(SizeOf(record), 16 + stream.size());
}

TEST(ShapeConversion, DxtShapesBecomeWholeBlocksOf32BitPixels) {
    const BgraImage picture = Pattern(30, 30, 5);
    for (uint8_t type : {kShapeTypeDxt1, kShapeTypeDxt3, kShapeTypeDxt5}) {
        const auto bytes = Build({{"tp00", picture, Options(type, "crest", false, false)}});
        const ShapeContainer container(bytes);
        const auto converted = ShapeConverter::Convert(*container.Find("crest"));
        ASSERT_TRUE(converted);
        const auto record = ShapeRecord::At(*converted, 0);
        EXPECT_EQ(record->Type(), kShapeTypeBgra32);
        EXPECT_EQ(record->Width(), 32);
        EXPECT_EQ(record->Height(), 32);
        // The name record travels with the converted shape, at a 16-byte boundary.
        const auto name = record->Next();
        ASSERT_TRUE(name);
        EXPECT_EQ(name->Offset() % 16, 0u);
        EXPECT_EQ(name->NameText(), "crest");
        const auto image = ShapeConverter::MakeImage(*converted);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->pixels.size(), 32u * 32 * 4);
    }
}

TEST(ShapeConversion, PackedDxtWithPixelOffsetField) {
    const BgraImage picture = Pattern(8, 8, 11);
    const auto plain = Build({{"tp00", picture, Options(kShapeTypeDxt5, "", false, false)}});
    const auto packed = Build({{"tp00", picture, Options(kShapeTypeDxt5, "", true, true)}});
    const auto a = ShapeConverter::ToImage(*ShapeContainer(plain).Find("tp00"));
    const auto b = ShapeConverter::ToImage(*ShapeContainer(packed).Find("tp00"));
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_EQ(a->pixels, b->pixels);
}

TEST(ShapeConversion, DamagedOrUnsupportedShapesGiveNoPicture) {
    // Pixels cut short.
    auto record = Header(kShapeTypeBgra32, 4, 4, 0);
    record.resize(16 + 4 * 4 * 4 - 1, 0);
    EXPECT_FALSE(ShapeConverter::ToImage(*ShapeContainer(OneRecord(record)).Shape(0)));
    auto dxt = Header(kShapeTypeDxt1, 8, 8, 0);
    dxt.resize(16 + 31, 0);
    EXPECT_FALSE(ShapeConverter::ToImage(*ShapeContainer(OneRecord(dxt)).Shape(0)));
    // A pixel offset field pointing outside the container.
    auto far = Header(kShapeTypeBgra32, 1, 1, kShapeFlagPixelOffset);
    far.insert(far.end(), {0x00, 0x10, 0x00, 0x00, 1, 2, 3, 4});
    EXPECT_FALSE(ShapeConverter::ToImage(*ShapeContainer(OneRecord(far)).Shape(0)));
    // A packed record whose stream is garbage.
    auto packed = Header(0x80 | kShapeTypeBgra32, 2, 2, 0);
    packed.insert(packed.end(), {0x10, 0xFB, 0xFF, 0xFF, 0xFF, 0x00});
    EXPECT_FALSE(ShapeConverter::ToImage(*ShapeContainer(OneRecord(packed)).Shape(0)));
    // 16-bit pixels are kept as they are but make no 32-bit picture.
    auto other = Header(0x78, 2, 2, 0);
    other.resize(16 + 8, 0x55);
    const auto otherBytes = OneRecord(other);
    const auto shape = ShapeContainer(otherBytes).Shape(0);
    ASSERT_TRUE(ShapeConverter::Convert(*shape));
    EXPECT_FALSE(ShapeConverter::ToImage(*shape));
    // Zero-sized pictures.
    EXPECT_FALSE(ShapeConverter::ToImage(
        *ShapeContainer(OneRecord(Header(kShapeTypeDxt1, 0, 0, 0))).Shape(0)));
    EXPECT_FALSE(ShapeConverter::ToImage(
        *ShapeContainer(OneRecord(Header(kShapeTypeBgra32, 0, 5, 0))).Shape(0)));
}

TEST(ShapeContainerWriter, RefusesWhatItCannotStore) {
    ShapeContainerWriter writer;
    std::string error;
    EXPECT_FALSE(writer.Add("toolong", Pattern(2, 2, 0), {}, error));
    EXPECT_NE(error.find("toolong"), std::string::npos);
    EXPECT_FALSE(writer.Add("", Pattern(2, 2, 0), {}, error));
    EXPECT_FALSE(writer.Add("a", Pattern(2, 2, 0),
                            Options(kShapeTypeBgra32, std::string("a\0b", 3), false, false),
                            error));
    EXPECT_FALSE(writer.Add("a", BgraImage{70000, 1, std::vector<uint8_t>(70000 * 4)}, {}, error));
    BgraImage shortImage = Pattern(4, 4, 0);
    shortImage.pixels.resize(10);
    EXPECT_FALSE(writer.Add("a", shortImage, {}, error));
    EXPECT_FALSE(writer.Add("a", Pattern(2, 2, 0), Options(0x78, "", false, false), error));
    EXPECT_EQ(writer.Count(), 0);
}

TEST(ShapeConversion, LevelsAndAttachmentChainOf32BitShapesAreKept) {
    // 4 x 4 with one mipmap level (64 + 16 bytes), then a 0x6F record and a name record.
    auto record = Header(kShapeTypeBgra32, 4, 4, 1u << 28);
    record[1] = 96;
    for (int i = 0; i < 80; ++i)
        record.push_back(static_cast<uint8_t>(i));
    record.insert(record.end(), {0x6F, 16, 0, 0, 4, 0, 0, 0, 'a', 'b', 'c', 'd', 0, 0, 0, 0});
    record.insert(record.end(), {kShapeTypeName, 0, 0, 0, 'k', 'i', 't', 0});
    const auto bytes = OneRecord(record);
    const ShapeContainer container(bytes);
    ASSERT_TRUE(container.Find("kit"));
    const auto converted = ShapeConverter::Convert(*container.Find("kit"));
    ASSERT_TRUE(converted);
    const auto out = ShapeRecord::At(*converted, 0);
    EXPECT_EQ(out->Mipmaps(), 1u);
    EXPECT_EQ(out->Size(), 96u);
    const auto attached = out->Next();
    ASSERT_TRUE(attached);
    EXPECT_EQ(attached->Type(), 0x6F);
    EXPECT_EQ(attached->Size(), 12u);
    EXPECT_EQ(attached->Bytes()[8], 'a');
    ASSERT_TRUE(attached->Next());
    EXPECT_EQ(attached->Next()->NameText(), "kit");
    const auto image = ShapeConverter::MakeImage(*converted);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels.size(), 64u);
    EXPECT_EQ(image->pixels[63], 63);

    // An attachment that claims more bytes than there are is left behind; the picture is not.
    record[100] = 0xFF;
    const auto damaged = OneRecord(record);
    const auto cut = ShapeConverter::Convert(*ShapeContainer(damaged).Shape(0));
    ASSERT_TRUE(cut);
    EXPECT_FALSE(ShapeRecord::At(*cut, 0)->Next());
    EXPECT_TRUE(ShapeConverter::MakeImage(*cut));
}

TEST(ShapeContainer, LongAttachmentChainsAreCutShort) {
    // 4000 one-byte steps of type 0x6F before the name record: the name is out of reach, and the
    // lookup of many shapes sharing the chain stays quick.
    auto record = Header(kShapeTypeBgra32, 1, 1, 0);
    record.resize(20, 0);
    record[1] = 20;
    for (int i = 0; i < 4000; ++i)
        record.insert(record.end(), {0x6F, 4, 0, 0});
    record.insert(record.end(), {kShapeTypeName, 0, 0, 0, 'f', 'a', 'r', 0});
    auto bytes = OneRecord(record);
    EXPECT_EQ(ShapeContainer(bytes).Name(0), "abcd");
    EXPECT_TRUE(ShapeConverter::Convert(*ShapeContainer(bytes).Shape(0)));
}
