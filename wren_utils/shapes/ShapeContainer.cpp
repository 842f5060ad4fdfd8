#include "ShapeContainer.h"

#include "ShapeFormat.h"

namespace wren {

namespace {

constexpr size_t kDirectoryStart = 16;
constexpr size_t kDirectoryEntry = 8;

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    const uint8_t* p = bytes.data() + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

ShapeContainer::ShapeContainer(std::span<const uint8_t> bytes) : bytes(bytes) {
    if (bytes.size() < kDirectoryStart)
        return;
    const auto declared = static_cast<int32_t>(Read32(bytes, 8));
    const size_t room = (bytes.size() - kDirectoryStart) / kDirectoryEntry;
    if (declared > 0)
        count = static_cast<int>(std::min<size_t>(static_cast<size_t>(declared), room));
}

std::optional<ShapeRecord> ShapeContainer::Shape(int index) const {
    if (index < 0 || index >= count)
        return std::nullopt;
    const size_t entry = kDirectoryStart + kDirectoryEntry * static_cast<size_t>(index);
    return ShapeRecord::At(bytes, Read32(bytes, entry + 4));
}

std::string ShapeContainer::Tag(int index) const {
    if (index < 0 || index >= count)
        return {};
    const size_t entry = kDirectoryStart + kDirectoryEntry * static_cast<size_t>(index);
    std::string tag;
    for (size_t i = 0; i < 4 && bytes[entry + i] != 0; ++i)
        tag.push_back(static_cast<char>(bytes[entry + i]));
    return tag;
}

std::string ShapeContainer::Name(int index) const {
    if (const auto shape = Shape(index)) {
        int steps = 0;
        for (auto attached = shape->Next(); attached && steps < ShapeRecord::kMaxAttachments;
             attached = attached->Next(), ++steps)
            if (attached->Type() == kShapeTypeName) {
                if (auto text = attached->NameText())
                    return *text;
                break;
            }
    }
    return Tag(index);
}

std::optional<ShapeRecord> ShapeContainer::Find(const std::string& name) const {
    for (int i = 0; i < count; ++i)
        if (Name(i) == name)
            if (auto shape = Shape(i))
                return shape;
    return std::nullopt;
}

} // namespace wren
