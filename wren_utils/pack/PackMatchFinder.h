#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace wren {

struct PackMatch {
    std::size_t length = 0; // 0: none
    std::size_t distance = 0;
    std::ptrdiff_t gain = 0; // bytes saved against sending the matched bytes as literals
};

// Hash chains over 3-byte prefixes inside the farthest distance a command can reach.
class PackMatchFinder {
public:
    PackMatchFinder(std::span<const std::uint8_t> data, int chainDepth, int niceLength);

    // The match at position with the greatest gain (longer on equal gain); position must not yet
    // have been inserted.
    PackMatch Find(std::size_t position) const;
    void Insert(std::size_t position);

private:
    static constexpr int kHashBits = 16;
    static constexpr std::size_t kWindow = 131072;

    std::uint32_t Hash(std::size_t position) const;
    std::size_t CommonLength(std::size_t a, std::size_t b, std::size_t limit) const;

    std::span<const std::uint8_t> data_;
    int chainDepth_;
    std::size_t niceLength_;
    std::vector<std::int64_t> head_;
    std::vector<std::int64_t> previous_;
};

} // namespace wren
