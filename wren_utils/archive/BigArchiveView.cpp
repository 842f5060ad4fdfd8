#include "wren_utils/archive/BigArchiveView.h"

#include <cstring>

namespace wren {
namespace {

std::uint64_t ReadBigEndian(const std::uint8_t* at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = (value << 8) | at[i];
    return value;
}

bool IsLetter(std::uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

} // namespace

std::optional<BigArchiveView> BigArchiveView::Open(std::span<const std::uint8_t> archive) {
    BigArchiveView view;
    view.bytes_ = archive;
    const std::uint8_t* b = archive.data();
    std::uint64_t headerLength = 0;
    if (archive.size() >= 6 && b[0] == 0xC0 && b[1] == 0xFB) {
        view.kind_ = BigKind::Short;
        view.offsetWidth_ = view.sizeWidth_ = 3;
        view.directoryStart_ = 6;
        headerLength = ReadBigEndian(b + 2, 2) + 4;
    } else if (archive.size() >= 16 && std::memcmp(b, "BIG", 3) == 0) {
        if (b[3] == 'F') {
            view.kind_ = BigKind::Bigf;
            view.offsetWidth_ = view.sizeWidth_ = 4;
        } else {
            // Widths beyond 8 bytes cannot describe offsets we could hold.
            const int width = b[3] - '0';
            if (width < 1 || width > 8)
                return std::nullopt;
            view.kind_ = BigKind::Numbered;
            view.offsetWidth_ = static_cast<std::size_t>(width);
            view.sizeWidth_ = b[3] < '5' ? view.offsetWidth_ : 4;
        }
        view.directoryStart_ = 16;
        headerLength = ReadBigEndian(b + 12, 4);
    } else {
        return std::nullopt;
    }
    if (headerLength > archive.size())
        return std::nullopt;
    view.directoryEnd_ = static_cast<std::size_t>(headerLength);
    if (view.directoryEnd_ >= view.directoryStart_ + 8) {
        const std::uint8_t* marker = b + view.directoryEnd_ - 8;
        if (IsLetter(marker[0]) && IsDigit(marker[1]) && IsDigit(marker[2]) && IsDigit(marker[3])) {
            view.version_ = (marker[1] - '0') * 100 + (marker[2] - '0') * 10 + (marker[3] - '0');
            view.versionValue_ = static_cast<std::uint32_t>(ReadBigEndian(marker + 4, 4));
            view.directoryEnd_ -= 8;
        }
    }
    return view;
}

bool BigArchiveView::Walk(const std::function<bool(const BigEntry&)>& visit) const {
    const std::uint8_t* b = bytes_.data();
    std::size_t position = directoryStart_;
    while (position < directoryEnd_) {
        const std::size_t nameStart = position + offsetWidth_ + sizeWidth_;
        if (nameStart >= directoryEnd_)
            return false;
        const void* zero = std::memchr(b + nameStart, 0, directoryEnd_ - nameStart);
        if (zero == nullptr)
            return false;
        const auto nameEnd = static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - b);
        BigEntry entry;
        entry.offset = ReadBigEndian(b + position, offsetWidth_);
        entry.size = ReadBigEndian(b + position + offsetWidth_, sizeWidth_);
        entry.name =
            std::string_view(reinterpret_cast<const char*>(b + nameStart), nameEnd - nameStart);
        entry.inBounds =
            entry.offset <= bytes_.size() && entry.size <= bytes_.size() - entry.offset;
        if (entry.inBounds)
            entry.data = bytes_.subspan(static_cast<std::size_t>(entry.offset),
                                        static_cast<std::size_t>(entry.size));
        if (visit(entry))
            return true;
        position = nameEnd + 1;
    }
    return false;
}

std::optional<BigEntry> BigArchiveView::Find(std::string_view name) const {
    std::optional<BigEntry> found;
    Walk([&](const BigEntry& entry) {
        if (!EqualIgnoringCase(entry.name, name))
            return false;
        if (entry.inBounds)
            found = entry;
        return true;
    });
    return found;
}

std::optional<BigEntry> BigArchiveView::At(std::size_t index) const {
    std::optional<BigEntry> found;
    std::size_t i = 0;
    Walk([&](const BigEntry& entry) {
        if (i++ != index)
            return false;
        if (entry.inBounds)
            found = entry;
        return true;
    });
    return found;
}

std::vector<BigEntry> BigArchiveView::Entries() const {
    std::vector<BigEntry> entries;
    Walk([&](const BigEntry& entry) {
        entries.push_back(entry);
        return false;
    });
    return entries;
}

} // namespace wren
