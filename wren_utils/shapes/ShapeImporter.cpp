#include "ShapeImporter.h"

#include "ImageResampler.h"
#include "MagentaKey.h"
#include "ShapeContainer.h"
#include "ShapeContainerWriter.h"
#include "ShapeConverter.h"
#include "ShapeFormat.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/pack/PackEncoder.h"

#include <algorithm>

namespace wren {

namespace {

// The game's textures are far smaller; a damaged old shape claiming 65535 x 65535 must not make
// an import allocate gigabytes.
constexpr uint32_t kMaxSide = kShapeImportMaxSide;

// Where each shape's bytes end: at the next record of the container, or at its end.
size_t RecordEnd(const ShapeContainer& container, size_t containerSize, size_t start) {
    size_t end = containerSize;
    for (int i = 0; i < container.Count(); ++i)
        if (const auto other = container.Shape(i); other && other->Offset() > start)
            end = std::min(end, other->Offset());
    return end;
}

struct OldShape {
    int index = -1;
    std::string tag;
    bool named = false; // it carries a name record
    uint8_t baseType = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    bool packed = false;
    bool pixelOffsetField = false;
    uint32_t mipmaps = 0;
};

OldShape FindOld(const ShapeContainer& container, const std::string& name) {
    OldShape old;
    for (int i = 0; i < container.Count() && old.index < 0; ++i) {
        if (container.Name(i) != name)
            continue;
        const auto record = container.Shape(i);
        if (!record || !record->HasFullHeader())
            continue;
        old.index = i;
        old.tag = container.Tag(i);
        int steps = 0;
        for (auto attached = record->Next();
             attached && !old.named && steps < ShapeRecord::kMaxAttachments;
             attached = attached->Next(), ++steps)
            old.named = attached->Type() == kShapeTypeName;
        old.baseType = record->BaseType();
        old.width = record->Width();
        old.height = record->Height();
        old.packed = record->IsPacked();
        old.pixelOffsetField = (record->Flags() & kShapeFlagPixelOffset) != 0;
        old.mipmaps = record->Mipmaps();
    }
    return old;
}

bool HasOnlyFullOrNoAlpha(const BgraImage& image) {
    const size_t count = std::min(size_t{image.width} * image.height, image.pixels.size() / 4);
    for (size_t i = 0; i < count; ++i)
        if (image.pixels[4 * i + 3] != 0 && image.pixels[4 * i + 3] != 255)
            return false;
    return true;
}

uint8_t ChooseType(const BgraImage& image, const OldShape& old, ShapeImportFormat format) {
    if (format == ShapeImportFormat::Bgra32)
        return kShapeTypeBgra32;
    if (ImageResampler::IsOpaque(image))
        return kShapeTypeDxt1;
    // DXT1's transparent entry stores alpha of only 0 and 255 exactly, in half DXT5's bytes.
    if (old.baseType == kShapeTypeDxt1 && HasOnlyFullOrNoAlpha(image))
        return kShapeTypeDxt1;
    return old.baseType == kShapeTypeDxt3 ? kShapeTypeDxt3 : kShapeTypeDxt5;
}

} // namespace

std::optional<ShapeImportResult>
ShapeImporter::Import(std::optional<std::span<const uint8_t>> oldEntry, const BgraImage& picture,
                      const ShapeImportRequest& request, std::string& error) {
    if (request.shape.empty() || request.shape.find('\0') != std::string::npos) {
        error = "the shape needs a name";
        return std::nullopt;
    }
    if (picture.width == 0 || picture.height == 0 ||
        picture.pixels.size() / 4 / picture.width < picture.height) {
        error = "the picture is empty";
        return std::nullopt;
    }
    if (request.width > kMaxSide || request.height > kMaxSide ||
        (request.width == 0) != (request.height == 0)) {
        error = "an imported shape is 1 to " + std::to_string(kMaxSide) + " pixels a side";
        return std::nullopt;
    }
    ShapeImportResult result;
    std::vector<uint8_t> oldContainer;
    if (oldEntry) {
        result.packed = PACK_isDecodable(*oldEntry);
        if (result.packed) {
            auto unpacked = PACK_unpackToVector(*oldEntry);
            if (!unpacked) {
                error = "the old entry is a damaged packed stream";
                return std::nullopt;
            }
            oldContainer = std::move(*unpacked);
        } else {
            oldContainer.assign(oldEntry->begin(), oldEntry->end());
        }
    } else {
        result.packed = true; // the game's containers are packed streams
    }
    const ShapeContainer container(oldContainer);
    if (oldEntry && container.Count() == 0) {
        error = "the old entry is not a shape container";
        return std::nullopt;
    }
    const OldShape old = FindOld(container, request.shape);
    result.replacedShape = old.index >= 0;
    result.width = request.width ? request.width : old.index >= 0 ? old.width : picture.width;
    result.height = request.height ? request.height : old.index >= 0 ? old.height : picture.height;
    if (result.width == 0 || result.height == 0 || result.width > kMaxSide ||
        result.height > kMaxSide) {
        error = "the shape would be " + std::to_string(result.width) + " x " +
                std::to_string(result.height) + " pixels; an imported shape is 1 to " +
                std::to_string(kMaxSide) + " pixels a side";
        return std::nullopt;
    }
    // Keyed before resizing, so the filter lends no magenta to the edges.
    std::optional<BgraImage> keyed;
    if (request.magentaTransparent && MagentaKey::Count(picture) > 0) {
        keyed = picture;
        result.magentaPixels = MagentaKey::Apply(*keyed);
    }
    const BgraImage resized =
        ImageResampler::Resize(keyed ? *keyed : picture, result.width, result.height);
    result.type = ChooseType(resized, old, request.format);

    ShapeWriteOptions options;
    options.type = result.type;
    options.packed = old.packed;
    options.pixelOffsetField = old.pixelOffsetField;
    // The game may draw the smaller levels: as many as the old shape had, made anew.
    options.mipmaps = old.mipmaps;
    std::string tag = old.index >= 0 ? old.tag : request.shape.substr(0, 4);
    if ((old.index >= 0 && old.named) || (old.index < 0 && tag != request.shape))
        options.name = request.shape;
    ShapeContainerWriter writer;
    for (int i = 0; i < container.Count(); ++i) {
        if (i == old.index) {
            if (!writer.Add(tag, resized, options, error))
                return std::nullopt;
            continue;
        }
        const auto record = container.Shape(i);
        if (!record) {
            error = "shape " + std::to_string(i) + " of the old container lies outside it";
            return std::nullopt;
        }
        const size_t end = RecordEnd(container, oldContainer.size(), record->Offset());
        std::vector<uint8_t> bytes(oldContainer.begin() +
                                       static_cast<std::ptrdiff_t>(record->Offset()),
                                   oldContainer.begin() + static_cast<std::ptrdiff_t>(end));
        if (!writer.AddRecord(container.Tag(i), std::move(bytes), error))
            return std::nullopt;
    }
    if (old.index < 0 && !writer.Add(tag, resized, options, error))
        return std::nullopt;
    result.container = writer.Build();
    if (result.packed) {
        auto packed = PACK_pack(result.container);
        if (!packed) {
            error = "the container is too large to pack";
            return std::nullopt;
        }
        result.entry = std::move(*packed);
    } else {
        result.entry = result.container;
    }
    const auto written = ShapeContainer(result.container).Find(request.shape);
    auto decoded = written ? ShapeConverter::ToImage(*written) : std::nullopt;
    if (!decoded) {
        error = "the new shape does not decode";
        return std::nullopt;
    }
    result.decoded = std::move(*decoded);
    return result;
}

} // namespace wren
