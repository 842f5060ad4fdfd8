#pragma once

#include <cstddef>
#include <cstdint>

namespace wren {

// Where a rewritten archive's bytes go, in order. The archive update writes through it into
// its temporary file; a caller may put its own in between (a test's full disk, a progress bar).
class BigOutput {
public:
    virtual ~BigOutput() = default;
    // False when the bytes could not all be written.
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    // Flushes everything written to the disk; false when that fails.
    virtual bool Sync() = 0;
};

} // namespace wren
