#pragma once

#include "tests/support/CTempFolder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes that differ from their neighbours and do not repeat within 251, so a misplaced chunk shows.
inline std::vector<std::uint8_t> CountingBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}
