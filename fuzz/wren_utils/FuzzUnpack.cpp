#include "wren_utils/pack/PackDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// The plainest bounded decoder, byte by byte, as the reference for the fast one.
std::optional<std::vector<std::uint8_t>> ReferenceUnpack(const std::uint8_t* data,
                                                         std::size_t size) {
    if (!wren::PACK_isDecodable({data, size}))
        return std::nullopt;
    const std::size_t declared = wren::PACK_unpackedSize({data, size});
    if (declared > wren::PACK_maxUnpackedSize(size))
        return std::nullopt;
    const std::size_t width = (data[0] & 0x80) != 0 ? 4 : 3;
    std::size_t at = 2 + width + ((data[0] & 1) != 0 ? width : 0);
    std::vector<std::uint8_t> out;
    auto byte = [&](std::size_t i) -> int { return at + i < size ? data[at + i] : -1; };
    for (;;) {
        const int c = byte(0);
        if (c < 0)
            return std::nullopt;
        std::size_t need = c < 0x80 ? 2 : c < 0xC0 ? 3 : c < 0xE0 ? 4 : 1;
        for (std::size_t i = 1; i < need; ++i)
            if (byte(i) < 0)
                return std::nullopt;
        std::size_t literals = 0, length = 0, distance = 0;
        if (c < 0x80) {
            literals = c & 3;
            length = ((c >> 2) & 7) + 3;
            distance = ((c & 0x60) << 3) + byte(1) + 1;
        } else if (c < 0xC0) {
            literals = byte(1) >> 6;
            length = (c & 0x3F) + 4;
            distance = ((byte(1) & 0x3F) << 8) + byte(2) + 1;
        } else if (c < 0xE0) {
            literals = c & 3;
            length = ((c & 0x0C) << 6) + byte(3) + 5;
            distance = ((c & 0x10) << 12) + (byte(1) << 8) + byte(2) + 1;
        } else {
            literals = c < 0xFC ? ((c & 0x1F) << 2) + 4 : (c & 3);
        }
        at += need;
        for (std::size_t i = 0; i < literals; ++i) {
            if (byte(0) < 0 || out.size() >= declared)
                return std::nullopt;
            out.push_back(static_cast<std::uint8_t>(byte(0)));
            ++at;
        }
        if (c >= 0xFC)
            break;
        if (distance > out.size() || out.size() + length > declared)
            return std::nullopt;
        for (std::size_t i = 0; i < length; ++i)
            out.push_back(out[out.size() - distance]);
    }
    if (out.size() != declared)
        return std::nullopt;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> packed(data, size);
    wren::PACK_unpackedSize(packed);
    const std::size_t length = wren::PACK_packedLength(packed);
    const auto output = wren::PACK_unpackToVector(packed);
    // The fast decoder and the reference agree on success and on every byte.
    if (output != ReferenceUnpack(data, size))
        std::abort();
    if (output && length == 0)
        std::abort();
    // A buffer exactly the declared size, when that is small, in place of the growing vector:
    // the same verdict and the same bytes.
    const std::size_t declared = wren::PACK_unpackedSize(packed);
    if (declared != 0 && declared <= (1u << 20)) {
        std::vector<std::uint8_t> exact(declared);
        const auto produced = wren::PACK_unpack(packed, exact);
        if (produced.has_value() != output.has_value() || (output && exact != *output))
            std::abort();
    }
    return 0;
}
