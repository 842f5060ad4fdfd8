#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// An archive held whole in memory: its kind, version marker and directory. The view does not
// own the bytes. Every directory walk stays inside the directory, and an entry whose data lies
// outside the archive is never handed out as data.
namespace wren {

enum class BigKind {
    Short,    // C0 FB, 3-byte offsets and sizes
    Bigf,     // "BIGF", 4-byte offsets and sizes
    Numbered, // "BIG" and a digit giving the offset width
};

struct BigEntry {
    std::string_view name;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    // The entry's bytes; empty when they do not lie wholly inside the archive.
    std::span<const std::uint8_t> data;
    bool inBounds = false;
};

class BigArchiveView {
public:
    // Fails when the bytes are not an archive of a known kind or its header length runs past
    // them.
    static std::optional<BigArchiveView> Open(std::span<const std::uint8_t> archive);

    BigKind Kind() const { return kind_; }
    // The three digits of the version marker, when the directory ends with one.
    std::optional<int> Version() const { return version_; }
    std::uint32_t VersionValue() const { return versionValue_; }

    // First entry of that name, letter case ignored; nullopt when absent or out of bounds.
    std::optional<BigEntry> Find(std::string_view name) const;
    // The index-th entry (from 0); nullopt when absent or out of bounds.
    std::optional<BigEntry> At(std::size_t index) const;
    // Every entry of the directory, in order, out-of-bounds ones included.
    std::vector<BigEntry> Entries() const;

private:
    BigArchiveView() = default;
    // Calls visit for each entry until it returns true; returns whether one did.
    bool Walk(const std::function<bool(const BigEntry&)>& visit) const;

    std::span<const std::uint8_t> bytes_;
    BigKind kind_ = BigKind::Bigf;
    std::size_t offsetWidth_ = 4;
    std::size_t sizeWidth_ = 4;
    std::size_t directoryStart_ = 16;
    std::size_t directoryEnd_ = 16;
    std::optional<int> version_;
    std::uint32_t versionValue_ = 0;
};

} // namespace wren
