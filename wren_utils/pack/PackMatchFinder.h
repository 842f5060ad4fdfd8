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

// Hash chains over 4-byte prefixes inside the farthest distance a command can reach, plus the
// latest position of each 3-byte prefix for the short matches only near commands can carry.
class PackMatchFinder {
public:
    PackMatchFinder(std::span<const std::uint8_t> data, int chainDepth, int niceLength);

    // The match at position with the greatest gain (longer on equal gain); position must not yet
    // have been inserted.
    PackMatch Find(std::size_t position) const;
    void Insert(std::size_t position);

private:
    static constexpr int kMaxHashBits = 17;
    static constexpr int kMaxShortHashBits = 14;
    static constexpr std::size_t kWindow = 131072;
    // Positions, kNone for none; 32 bits keep the tables small enough for the cache.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::uint32_t Hash4(std::size_t position) const;
    std::uint32_t Hash3(std::size_t position) const;
    std::size_t CommonLength(std::size_t a, std::size_t b, std::size_t limit) const;
    void Consider(std::size_t from, std::size_t position, std::size_t limit, PackMatch& best) const;

    std::span<const std::uint8_t> data_;
    int chainDepth_;
    std::size_t niceLength_;
    // Tables shrink with small inputs: many small containers are packed one after another.
    int hashBits_;
    int shortHashBits_;
    std::vector<std::uint32_t> head_;
    std::vector<std::uint32_t> previous_;
    std::vector<std::uint32_t> shortHead_;
};

} // namespace wren
