#include "ShapeRecord.h"

#include "ShapeFormat.h"
#include "wren_utils/pack/PackDecoder.h"

#include <cstring>

namespace wren {

std::optional<ShapeRecord> ShapeRecord::At(std::span<const uint8_t> buffer, size_t offset) {
    if (offset > buffer.size() || buffer.size() - offset < 4)
        return std::nullopt;
    return ShapeRecord(buffer, offset);
}

uint32_t ShapeRecord::NextOffset() const {
    const uint8_t* p = buffer.data() + offset;
    return p[1] | (p[2] << 8) | (static_cast<uint32_t>(p[3]) << 16);
}

bool ShapeRecord::HasFullHeader() const {
    return buffer.size() - offset >= kShapeHeaderSize;
}

uint16_t ShapeRecord::Read16(size_t at) const {
    if (buffer.size() - offset < at + 2)
        return 0;
    const uint8_t* p = buffer.data() + offset + at;
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ShapeRecord::Read32(size_t at) const {
    if (buffer.size() - offset < at + 4)
        return 0;
    const uint8_t* p = buffer.data() + offset + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

std::optional<size_t> ShapeRecord::PixelDataOffset() const {
    if (!HasFullHeader())
        return std::nullopt;
    size_t start = kShapeHeaderSize;
    if (Flags() & kShapeFlagPixelOffset) {
        if (buffer.size() - offset < kShapeHeaderSize + 4)
            return std::nullopt;
        start = Read32(kShapeHeaderSize);
    }
    if (start > buffer.size() - offset)
        return std::nullopt;
    return start;
}

std::optional<ShapeRecord> ShapeRecord::Next() const {
    const uint32_t next = NextOffset();
    if (next == 0 || next > buffer.size() - offset)
        return std::nullopt;
    return At(buffer, offset + next);
}

std::optional<std::string> ShapeRecord::NameText() const {
    if (Type() != kShapeTypeName)
        return std::nullopt;
    const auto text = Bytes().subspan(4);
    const void* end = std::memchr(text.data(), 0, text.size());
    if (!end)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(text.data()),
                       static_cast<const uint8_t*>(end) - text.data());
}

uint64_t ShapeRecord::Size() const {
    switch (Type()) {
    case kShapeTypeName: {
        const auto name = NameText();
        return name ? name->size() + 5 : 0;
    }
    case 0x6F:
        return uint64_t{Read32(4)} + 8;
    case 0x7C:
        return uint64_t{Read32(4)} * 8 + 8;
    case 0x69: {
        if (buffer.size() - offset > 6 && (buffer[offset + 6] & 0x10)) {
            const uint32_t count = Read16(4);
            return (count ? count : 64) + 16;
        }
        return 16;
    }
    default:
        break;
    }
    if (IsPacked()) {
        const auto start = PixelDataOffset();
        if (!start)
            return 0;
        const size_t length = PACK_packedLength(Bytes().subspan(*start));
        return length ? *start + length : 0;
    }
    return ImageSize();
}

uint64_t ShapeRecord::ImageSize() const {
    const uint8_t type = BaseType();
    const int bits = ShapeBitsPerPixel(type);
    if ((type == 0x20 || type == 0x21) && (Flags() & kShapeFlagPaletteRule)) {
        uint32_t width = Width();
        const uint32_t low = width & 0x1F;
        if ((width & 0x10) && low < 24)
            width = (width & ~0x1Fu) | 24;
        else if (!(width & 0x10) && low > 7)
            width += 8;
        return uint64_t{bits == 15 ? 16u : static_cast<uint32_t>(bits)} * width / 8 +
               kShapeHeaderSize;
    }
    const uint64_t pixels = ShapePixelBytes(type, Width(), Height(), Mipmaps());
    return pixels ? pixels + kShapeHeaderSize : 0;
}

} // namespace wren
