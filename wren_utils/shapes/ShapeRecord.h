#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace wren {

// A view of one record inside a shape container's bytes. Every read is checked against the
// container's end: fields that lie outside read as 0, pixel data outside yields nothing.
class ShapeRecord {
public:
    // Records attached behind one shape that are looked at; real shapes carry a handful, and a
    // damaged chain of tiny steps must not make every lookup walk the whole container.
    static constexpr int kMaxAttachments = 64;

    // A record needs at least its type byte and next offset (4 bytes) inside the buffer.
    static std::optional<ShapeRecord> At(std::span<const uint8_t> buffer, size_t offset);

    uint8_t Type() const { return buffer[offset]; }
    uint8_t BaseType() const { return Type() & 0x7F; }
    bool IsPacked() const { return (Type() & 0x80) != 0; }
    uint32_t NextOffset() const;
    uint16_t Width() const { return Read16(4); }
    uint16_t Height() const { return Read16(6); }
    uint32_t Flags() const { return Read32(12); }
    uint32_t Mipmaps() const { return Flags() >> 28; }
    bool HasFullHeader() const;

    size_t Offset() const { return offset; }
    // The record's bytes up to the end of the container.
    std::span<const uint8_t> Bytes() const { return buffer.subspan(offset); }
    std::span<const uint8_t> Buffer() const { return buffer; }

    // Offset of the pixel data from the record start: byte 16, or the number held there when
    // flag bit 12 is set. Nothing when the data would start outside the container.
    std::optional<size_t> PixelDataOffset() const;

    // The record attached to this one, if any and inside the container.
    std::optional<ShapeRecord> Next() const;

    // The text of a name record (type 0x70), bounded by the container's end.
    std::optional<std::string> NameText() const;

    // The record's size in bytes by its type (header included); 0 when unknown or damaged.
    uint64_t Size() const;

    uint16_t Read16(size_t at) const;
    uint32_t Read32(size_t at) const;

private:
    ShapeRecord(std::span<const uint8_t> buffer, size_t offset) : buffer(buffer), offset(offset) {}

    uint64_t ImageSize() const;

    std::span<const uint8_t> buffer;
    size_t offset;
};

} // namespace wren
