#include "ShapeSeeds.h"

#include "wren_utils/pack/PackEncoder.h"
#include "wren_utils/shapes/ShapeContainerWriter.h"
#include "wren_utils/shapes/ShapeFormat.h"

std::vector<Seed> ShapeSeeds() {
    std::vector<Seed> seeds;
    const std::uint8_t types[] = {wren::kShapeTypeBgra32, wren::kShapeTypeDxt1,
                                  wren::kShapeTypeDxt3, wren::kShapeTypeDxt5};
    int n = 0;
    for (const std::uint8_t type : types)
        for (int variant = 0; variant < 4; ++variant) {
            const std::uint32_t side = 4u + 6u * static_cast<std::uint32_t>(variant);
            wren::BgraImage image{side, side + 2, {}};
            image.pixels.resize(std::size_t{image.width} * image.height * 4);
            for (std::size_t i = 0; i < image.pixels.size(); ++i)
                image.pixels[i] = static_cast<std::uint8_t>(i * 37 + variant * 11 + (i >> 7));
            wren::ShapeWriteOptions options;
            options.type = type;
            options.packed = (variant & 1) != 0;
            options.pixelOffsetField = (variant & 2) != 0;
            if (variant >= 2)
                options.name = "shape name " + std::to_string(variant);
            wren::ShapeContainerWriter writer;
            std::string error;
            writer.Add("tp00", image, options, error);
            // A second shape so lookups walk past the first.
            options.name.clear();
            writer.Add("logo", image, options, error);
            seeds.emplace_back("shape" + std::to_string(n++) + ".fsh", writer.Build());
        }
    return seeds;
}

std::vector<Seed> ShapeImportSeeds() {
    std::vector<Seed> seeds;
    std::uint8_t control = 0;
    for (const Seed& shape : ShapeSeeds()) {
        const auto packed = wren::PACK_pack(shape.second);
        for (const auto* entry : {&shape.second, packed ? &*packed : nullptr}) {
            if (!entry)
                continue;
            std::vector<std::uint8_t> bytes = {control, static_cast<std::uint8_t>(control * 37)};
            ++control;
            bytes.insert(bytes.end(), entry->begin(), entry->end());
            seeds.emplace_back("import" + std::to_string(seeds.size()) + ".bin", std::move(bytes));
        }
    }
    return seeds;
}
