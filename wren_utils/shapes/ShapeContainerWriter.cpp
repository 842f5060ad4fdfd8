#include "ShapeContainerWriter.h"

#include "DxtEncoder.h"
#include "ImageResampler.h"
#include "ShapeFormat.h"
#include "wren_utils/pack/PackEncoder.h"

#include <algorithm>
#include <cstring>

namespace wren {

namespace {

constexpr uint32_t kMaxSide = 0xFFFF;
constexpr uint32_t kOffsetFieldGap = 16;

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
    out[at + 2] = static_cast<uint8_t>(value >> 16);
    out[at + 3] = static_cast<uint8_t>(value >> 24);
}

void Align16(std::vector<uint8_t>& out) {
    out.resize((out.size() + 15) & ~size_t{15}, 0);
}

bool IsValidTag(const std::string& tag, std::string& error) {
    if (tag.empty() || tag.size() > 4 || tag.find('\0') != std::string::npos) {
        error = "shape tag '" + tag + "' must have 1 to 4 characters";
        return false;
    }
    return true;
}

} // namespace

bool ShapeContainerWriter::AddRecord(const std::string& tag, std::vector<uint8_t> record,
                                     std::string& error) {
    if (!IsValidTag(tag, error))
        return false;
    if (record.size() < 4) {
        error = "shape '" + tag + "' has no record";
        return false;
    }
    shapes.push_back({tag, std::move(record)});
    return true;
}

bool ShapeContainerWriter::Add(const std::string& tag, const BgraImage& image,
                               const ShapeWriteOptions& options, std::string& error) {
    if (!IsValidTag(tag, error))
        return false;
    if (options.name.find('\0') != std::string::npos) {
        error = "shape name of '" + tag + "' holds a zero byte";
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
        image.height > kMaxSide) {
        error = "shape '" + tag + "' must be 1 to 65535 pixels a side";
        return false;
    }
    if (image.pixels.size() / 4 / image.width < image.height) {
        error = "shape '" + tag + "' has fewer pixels than its size";
        return false;
    }
    if (options.type != kShapeTypeBgra32 &&
        !(IsDxtShapeType(options.type) && !(options.type & kShapeTypePackedBit))) {
        error = "shape '" + tag + "' has a type the writer does not make";
        return false;
    }
    if (options.mipmaps > 15) {
        error = "shape '" + tag + "' can have at most 15 smaller levels";
        return false;
    }
    std::vector<uint8_t> pixels;
    for (uint32_t level = 0; level <= options.mipmaps; ++level) {
        // Each level is averaged from the whole picture, not from the level before it.
        const BgraImage scaled =
            level == 0 ? image
                       : ImageResampler::Resize(image, std::max(1u, image.width >> level),
                                                std::max(1u, image.height >> level));
        if (options.type == kShapeTypeBgra32)
            pixels.insert(pixels.end(), scaled.pixels.begin(),
                          scaled.pixels.begin() + size_t{4} * scaled.width * scaled.height);
        else {
            const auto blocks = DxtEncoder::Encode(options.type, scaled);
            pixels.insert(pixels.end(), blocks->begin(), blocks->end());
        }
    }
    if (options.packed) {
        auto packed = PACK_pack(pixels);
        if (!packed) {
            error = "shape '" + tag + "' is too large to pack";
            return false;
        }
        pixels = std::move(*packed);
    }

    std::vector<uint8_t> record(kShapeHeaderSize, 0);
    record[0] = static_cast<uint8_t>(options.type | (options.packed ? kShapeTypePackedBit : 0));
    record[4] = static_cast<uint8_t>(image.width);
    record[5] = static_cast<uint8_t>(image.width >> 8);
    record[6] = static_cast<uint8_t>(image.height);
    record[7] = static_cast<uint8_t>(image.height >> 8);
    Put32(record, 12,
          (options.mipmaps << 28) | (options.pixelOffsetField ? kShapeFlagPixelOffset : 0));
    if (options.pixelOffsetField) {
        record.resize(kShapeHeaderSize + kOffsetFieldGap, 0);
        Put32(record, kShapeHeaderSize, kShapeHeaderSize + kOffsetFieldGap);
    }
    record.insert(record.end(), pixels.begin(), pixels.end());
    if (!options.name.empty()) {
        Align16(record);
        const size_t at = record.size();
        if (at > 0xFFFFFF) {
            error = "shape '" + tag + "' is too large for a name record";
            return false;
        }
        record[1] = static_cast<uint8_t>(at);
        record[2] = static_cast<uint8_t>(at >> 8);
        record[3] = static_cast<uint8_t>(at >> 16);
        record.push_back(kShapeTypeName);
        record.insert(record.end(), 3, 0);
        record.insert(record.end(), options.name.begin(), options.name.end());
        record.push_back(0);
    }
    shapes.push_back({tag, std::move(record)});
    return true;
}

std::vector<uint8_t> ShapeContainerWriter::Build() const {
    std::vector<uint8_t> out(16 + 8 * shapes.size(), 0);
    std::memcpy(out.data(), "SHPI", 4);
    Put32(out, 8, static_cast<uint32_t>(shapes.size()));
    std::memcpy(out.data() + 12, "KSTL", 4);
    for (size_t i = 0; i < shapes.size(); ++i) {
        Align16(out);
        const size_t entry = 16 + 8 * i;
        std::memcpy(out.data() + entry, shapes[i].tag.data(), shapes[i].tag.size());
        Put32(out, entry + 4, static_cast<uint32_t>(out.size()));
        out.insert(out.end(), shapes[i].record.begin(), shapes[i].record.end());
    }
    Put32(out, 4, static_cast<uint32_t>(out.size()));
    return out;
}

} // namespace wren
