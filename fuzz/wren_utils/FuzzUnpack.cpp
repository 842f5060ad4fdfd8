#include "wren_utils/pack/PackDecoder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> packed(data, size);
    wren::PACK_unpackedSize(packed);
    wren::PACK_packedLength(packed);
    if (const auto output = wren::PACK_unpackToVector(packed)) {
        volatile std::uint8_t sink = 0;
        for (const std::uint8_t byte : *output)
            sink = sink + byte;
    }
    // A buffer exactly the declared size, when that is small, in place of a fitted vector.
    const std::size_t declared = wren::PACK_unpackedSize(packed);
    if (declared != 0 && declared <= (1u << 20)) {
        std::vector<std::uint8_t> exact(declared);
        wren::PACK_unpack(packed, exact);
    }
    return 0;
}
