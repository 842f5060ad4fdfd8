#include "ShapeConverter.h"

#include "DxtDecoder.h"
#include "ShapeFormat.h"
#include "wren_utils/pack/PackDecoder.h"

#include <cstring>

namespace wren {

namespace {

constexpr uint32_t kMaxNextOffset = 0xFFFFFF;

size_t AlignTo16(size_t value) {
    return (value + 15) & ~size_t{15};
}

void Write32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

void WriteNext(uint8_t* record, uint32_t next) {
    record[1] = static_cast<uint8_t>(next);
    record[2] = static_cast<uint8_t>(next >> 8);
    record[3] = static_cast<uint8_t>(next >> 16);
}

// Appends the records attached to `record`, each at a 16-byte boundary, and links them. A
// damaged attachment ends the chain there; the picture itself does not depend on them.
void CarryAttachments(const ShapeRecord& record, std::vector<uint8_t>& out) {
    size_t previous = 0;
    int steps = 0;
    for (auto attached = record.Next(); attached && steps < ShapeRecord::kMaxAttachments;
         attached = attached->Next(), ++steps) {
        const uint64_t size = attached->Size();
        if (size < 4 || size > attached->Bytes().size())
            break;
        const size_t at = AlignTo16(out.size());
        if (at - previous > kMaxNextOffset)
            break;
        out.resize(at, 0);
        out.insert(out.end(), attached->Bytes().begin(), attached->Bytes().begin() + size);
        WriteNext(out.data() + previous, static_cast<uint32_t>(at - previous));
        WriteNext(out.data() + at, 0);
        previous = at;
    }
}

// A record of `header`'s fields with `pixels` right after its header (flag bit 12 cleared).
std::vector<uint8_t> NewRecord(const ShapeRecord& header, uint8_t type, uint32_t width,
                               uint32_t height, size_t pixelBytes) {
    std::vector<uint8_t> out(kShapeHeaderSize + pixelBytes);
    std::memcpy(out.data(), header.Bytes().data(), kShapeHeaderSize);
    out[0] = type;
    WriteNext(out.data(), 0);
    out[4] = static_cast<uint8_t>(width);
    out[5] = static_cast<uint8_t>(width >> 8);
    out[6] = static_cast<uint8_t>(height);
    out[7] = static_cast<uint8_t>(height >> 8);
    Write32(out.data() + 12, header.Flags() & ~kShapeFlagPixelOffset);
    return out;
}

// Converts an unpacked record whose pixels are `pixels`; attachments come from `chain`.
std::optional<std::vector<uint8_t>> ConvertPixels(const ShapeRecord& header,
                                                  std::span<const uint8_t> pixels,
                                                  const ShapeRecord& chain) {
    const uint8_t type = header.BaseType();
    const uint32_t width = header.Width();
    const uint32_t height = header.Height();
    std::vector<uint8_t> out;
    if (IsDxtShapeType(type)) {
        if (width == 0 || height == 0)
            return std::nullopt;
        const uint32_t w4 = (width + 3) & ~3u;
        const uint32_t h4 = (height + 3) & ~3u;
        if (pixels.size() < DxtDecoder::LevelBytes(type, w4, h4))
            return std::nullopt;
        out = NewRecord(header, kShapeTypeBgra32, w4, h4, size_t{w4} * h4 * 4);
        // Only the first level is decoded, so the record holds no further levels.
        out[15] &= 0x0F;
        if (!DxtDecoder::DecodeLevel(type, pixels, w4, h4,
                                     std::span(out).subspan(kShapeHeaderSize)))
            return std::nullopt;
    } else {
        const uint64_t bytes = ShapePixelBytes(type, width, height, header.Mipmaps());
        const uint64_t first = ShapeLevelBytes(type, width, height);
        // Keep every level that is there; the first one at least must be complete.
        if (pixels.size() < first)
            return std::nullopt;
        const size_t kept = static_cast<size_t>(std::min<uint64_t>(bytes, pixels.size()));
        out = NewRecord(header, type, width, height, kept);
        if (kept < bytes)
            out[15] &= 0x0F;
        std::memcpy(out.data() + kShapeHeaderSize, pixels.data(), kept);
    }
    CarryAttachments(chain, out);
    return out;
}

} // namespace

std::optional<std::vector<uint8_t>> ShapeConverter::Convert(const ShapeRecord& record) {
    if (!record.HasFullHeader())
        return std::nullopt;
    const auto start = record.PixelDataOffset();
    if (!start)
        return std::nullopt;
    const auto data = record.Bytes().subspan(*start);
    if (!record.IsPacked())
        return ConvertPixels(record, data, record);
    auto unpacked = PACK_unpackToVector(data);
    if (!unpacked)
        return std::nullopt;
    return ConvertPixels(record, *unpacked, record);
}

std::optional<BgraImage> ShapeConverter::MakeImage(std::span<const uint8_t> converted) {
    const auto record = ShapeRecord::At(converted, 0);
    if (!record || !record->HasFullHeader() || record->Type() != kShapeTypeBgra32)
        return std::nullopt;
    const auto start = record->PixelDataOffset();
    const uint32_t width = record->Width();
    const uint32_t height = record->Height();
    const size_t bytes = size_t{width} * height * 4;
    if (!start || bytes == 0 || converted.size() - *start < bytes)
        return std::nullopt;
    BgraImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(converted.begin() + static_cast<std::ptrdiff_t>(*start),
                        converted.begin() + static_cast<std::ptrdiff_t>(*start + bytes));
    return image;
}

std::optional<BgraImage> ShapeConverter::ToImage(const ShapeRecord& record) {
    const auto converted = Convert(record);
    if (!converted)
        return std::nullopt;
    return MakeImage(*converted);
}

} // namespace wren
