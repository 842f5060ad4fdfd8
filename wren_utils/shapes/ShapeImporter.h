#pragma once

#include "BgraImage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wren {

// How an imported picture is stored.
enum class ShapeImportFormat {
    // DXT1 for an opaque picture, and for alpha of only 0 and 255 where the old shape was DXT1
    // (its transparent entry holds that exactly); other alpha DXT3 where the old shape was DXT3,
    // else DXT5.
    Auto,
    Bgra32, // 32 bits a pixel, no loss
};

// The largest side of an imported shape: the game's textures are far smaller.
inline constexpr uint32_t kShapeImportMaxSide = 4096;

struct ShapeImportRequest {
    std::string shape; // the name the game asks for, e.g. "tp00"
    // Size of the new shape (up to kShapeImportMaxSide a side); 0 x 0 keeps the old shape's size, or the
    // picture's for a new one.
    uint32_t width = 0;
    uint32_t height = 0;
    ShapeImportFormat format = ShapeImportFormat::Auto;
    // An opaque picture's pure magenta pixels become transparent before resizing (MagentaKey),
    // so the game's and the editor's transparent colour survives the compression.
    bool magentaTransparent = true;
};

struct ShapeImportResult {
    std::vector<uint8_t> entry;     // the archive entry: the container, packed when the old was
    std::vector<uint8_t> container; // the container unpacked
    uint8_t type = 0;               // shape type written (0x60, 0x61, 0x62 or 0x7D)
    uint32_t width = 0;
    uint32_t height = 0;
    bool packed = false;        // the entry is a packed stream
    bool replacedShape = false; // the container had a shape of that name
    size_t magentaPixels = 0;   // pixels of the picture made transparent for being magenta
    BgraImage decoded;          // the new shape as the game decodes it
};

// Turns a picture into the shape a game container holds at that name: resized to the old
// shape's size, compressed as the picture needs, with the old shape's tag, name record, number
// of smaller levels and storage flags, the container's other shapes kept byte for byte, and the
// container packed as the old entry was. Without an old entry a packed container of that one
// shape is made.
class ShapeImporter {
public:
    static std::optional<ShapeImportResult> Import(std::optional<std::span<const uint8_t>> oldEntry,
                                                   const BgraImage& picture,
                                                   const ShapeImportRequest& request,
                                                   std::string& error);
};

} // namespace wren
