#pragma once

#include "ShapeRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace wren {

// A shape container (little-endian): 16-byte header with the number of shapes at byte 8, then a
// directory of 4-byte tags and record offsets. Directory entries outside the bytes count as
// absent.
class ShapeContainer {
public:
    explicit ShapeContainer(std::span<const uint8_t> bytes);

    // Directory entries that lie inside the bytes (0 for a negative or damaged count).
    int Count() const { return count; }

    std::optional<ShapeRecord> Shape(int index) const;
    // The text of the shape's name record when it has one, else its tag (up to 4 characters).
    std::string Name(int index) const;
    std::string Tag(int index) const;
    // The first shape whose name equals `name` exactly.
    std::optional<ShapeRecord> Find(const std::string& name) const;

private:
    std::span<const uint8_t> bytes;
    int count = 0;
};

} // namespace wren
