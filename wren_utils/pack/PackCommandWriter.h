#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wren {

// Smallest and largest match lengths and farthest distances each command kind can carry.
struct PackLimits {
    static constexpr std::size_t kShortMaxLength = 10;
    static constexpr std::size_t kShortMaxDistance = 1024;
    static constexpr std::size_t kMediumMaxLength = 67;
    static constexpr std::size_t kMediumMaxDistance = 16384;
    static constexpr std::size_t kLongMaxLength = 1028;
    static constexpr std::size_t kLongMaxDistance = 131072;
};

// Writes commands of a packed stream: literal runs, matches and the end command.
class PackCommandWriter {
public:
    explicit PackCommandWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // Bytes a match of this length and distance costs, or 0 when no command can carry it.
    static std::size_t MatchCost(std::size_t length, std::size_t distance);

    // literals: the bytes before the match (any number; all but the last 0-3 go into literal
    // commands). The match must have a non-zero MatchCost.
    void Match(const std::uint8_t* literals, std::size_t literalCount, std::size_t length,
               std::size_t distance);
    void End(const std::uint8_t* literals, std::size_t literalCount);

private:
    // Emits literal commands until at most 3 bytes remain; returns how many remain.
    std::size_t LiteralRuns(const std::uint8_t*& literals, std::size_t count);

    std::vector<std::uint8_t>& out_;
};

} // namespace wren
