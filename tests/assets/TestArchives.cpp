#include "TestArchives.h"

#include "tests/support/WholeFile.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/pack/PackEncoder.h"
#include "wren_utils/shapes/ShapeContainerWriter.h"

#include <gtest/gtest.h>

namespace testarchives {

wren::BgraImage Picture(uint32_t width, uint32_t height, uint8_t seed) {
    wren::BgraImage image{width, height, std::vector<uint8_t>(size_t{width} * height * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<uint8_t>(seed * 31 + i * 13 + (i >> 5));
    return image;
}

std::vector<uint8_t> Container(const std::vector<std::pair<std::string, wren::BgraImage>>& shapes) {
    wren::ShapeContainerWriter writer;
    std::string error;
    for (const auto& [tag, image] : shapes)
        EXPECT_TRUE(writer.Add(tag, image, wren::ShapeWriteOptions{}, error)) << error;
    return writer.Build();
}

std::vector<uint8_t>
Archive(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries,
        bool packEntries) {
    wren::BigArchiveWriter writer;
    for (const auto& [name, bytes] : entries)
        writer.Add(name, packEntries ? *wren::PACK_pack(bytes) : bytes);
    std::string error;
    auto archive = writer.Build(error);
    EXPECT_TRUE(archive) << error;
    return archive ? *archive : std::vector<uint8_t>{};
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(WriteAll(path, bytes)) << path;
}

} // namespace testarchives
