#pragma once

#include "BgraImage.h"
#include "ShapeRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace wren {

// Turns a shape record into a record whose pixels a bitmap can be made from.
class ShapeConverter {
public:
    // A new record with the pixel data right after its 16-byte header and the attached records
    // behind it at 16-byte boundaries. A packed shape is unpacked first; DXT1/3/5 become type
    // 0x7D with width and height rounded up to multiples of 4 (first level only); other types
    // are copied. Nothing when the record is damaged: pixels outside the container, a stream
    // that does not unpack.
    static std::optional<std::vector<uint8_t>> Convert(const ShapeRecord& record);

    // The first level of a converted type-0x7D record as a picture; nothing for other types or
    // when the record holds fewer pixels than its size claims.
    static std::optional<BgraImage> MakeImage(std::span<const uint8_t> converted);

    // Convert, then MakeImage.
    static std::optional<BgraImage> ToImage(const ShapeRecord& record);
};

} // namespace wren
