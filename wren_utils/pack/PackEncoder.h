#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Encoder of the maker's packed streams: hash-chain match finding with one step of lazy
// evaluation, choosing for each match the shortest command that can carry it.
namespace wren {

struct PackOptions {
    int chainDepth = 48;  // candidates examined per position
    bool lazy = true;     // try the next position before taking a match
    int lazyLength = 8;   // a match this long is taken without trying the next position
    int niceLength = 258; // a match this long ends the search at once
};

// The stream has kind 0x10 (3-byte size) when the input is below 16 MiB, else 0x90. Fails
// (nullopt) for inputs of 4 GiB or more, which the format cannot describe, and when memory
// runs out.
std::optional<std::vector<std::uint8_t>> PACK_pack(std::span<const std::uint8_t> input,
                                                   const PackOptions& options = {});

} // namespace wren
