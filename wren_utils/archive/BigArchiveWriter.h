#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wren {

// Builds an archive with 4-byte offsets and sizes: the "BIGF" kind or the numbered kind "BIG4".
// Entries keep the order they were added in; their data follows the directory.
class BigArchiveWriter {
public:
    enum class Kind { Bigf, Big4 };

    struct VersionMarker {
        char letter = 'L';
        int version = 0; // 0 to 999
        std::uint32_t value = 0;
    };

    explicit BigArchiveWriter(Kind kind = Kind::Bigf) : kind_(kind) {}

    // Writes the marker after the directory. Without one, a marker is still written when the
    // directory's last bytes would otherwise be taken for a marker by readers.
    void SetVersionMarker(const VersionMarker& marker) { marker_ = marker; }
    // Each entry's data starts at a multiple of this (1 to 4096).
    void SetAlignment(std::uint32_t alignment) { alignment_ = alignment; }

    void Add(std::string name, std::span<const std::uint8_t> data);

    // The archive's bytes, or nullopt with a reason in error (a name that is empty, holds a zero
    // byte or is longer than 255 bytes; a bad marker or alignment; an archive of 4 GiB or more).
    std::optional<std::vector<std::uint8_t>> Build(std::string& error) const;

private:
    struct Entry {
        std::string name;
        std::vector<std::uint8_t> data;
    };

    std::optional<std::vector<std::uint8_t>> Layout(std::uint64_t directoryEnd,
                                                    const std::optional<VersionMarker>& marker,
                                                    std::string& error) const;

    Kind kind_;
    std::optional<VersionMarker> marker_;
    std::uint32_t alignment_ = 1;
    std::vector<Entry> entries_;
};

} // namespace wren
