#pragma once

#include "BgraImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wren {

// How one shape is stored.
struct ShapeWriteOptions {
    uint8_t type = 0x7D;           // 0x7D (32-bit), 0x60 (DXT1), 0x61 (DXT3) or 0x62 (DXT5)
    std::string name;              // stored in a name record when not empty
    bool packed = false;           // pixel data as a packed stream (type bit 7)
    bool pixelOffsetField = false; // flag bit 12: pixel data behind an offset held at byte 16
    uint32_t mipmaps = 0;          // smaller levels after the first (0 to 15), each half the last
};

// Writes shape containers that the reader of this library understands: records at 16-byte
// boundaries, each with its name record attached behind its pixel data.
class ShapeContainerWriter {
public:
    // False with `error` set when the shape cannot be stored: a tag of more than 4 characters,
    // a name with a zero byte, a picture larger than 65535 pixels a side or with too few pixels,
    // an unknown type.
    bool Add(const std::string& tag, const BgraImage& image, const ShapeWriteOptions& options,
             std::string& error);

    // A record kept as it is (its attachments behind it): its offsets are relative to itself,
    // so it may move. False for a tag that Add would refuse or an empty record.
    bool AddRecord(const std::string& tag, std::vector<uint8_t> record, std::string& error);

    int Count() const { return static_cast<int>(shapes.size()); }

    // The container's bytes.
    std::vector<uint8_t> Build() const;

private:
    struct Shape {
        std::string tag;
        std::vector<uint8_t> record;
    };
    std::vector<Shape> shapes;
};

} // namespace wren
