#include "editor/assets/CPngCodec.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The input with every chunk's checksum made right, so that mutations reach past the checks.
std::vector<std::uint8_t> WithChecksums(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(data, data + size);
    std::size_t at = 8;
    while (at + 12 <= file.size()) {
        const std::size_t length = std::size_t{file[at]} << 24 | std::size_t{file[at + 1]} << 16 |
                                   std::size_t{file[at + 2]} << 8 | file[at + 3];
        if (length > file.size() - at - 12)
            break;
        const uLong crc = crc32(0, file.data() + at + 4, static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i)
            file[at + 8 + length + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += length + 12;
    }
    return file;
}

// A picture that decodes must come back unchanged through the encoder (small ones: the large
// ones that compressed data can declare would slow the run to a crawl).
void Check(const std::vector<std::uint8_t>& input) {
    std::string error;
    const auto image = CPngCodec::Decode(input, error);
    if (!image) {
        if (error.empty())
            std::abort();
        return;
    }
    if (image->pixels.size() != std::size_t{image->width} * image->height * 4)
        std::abort();
    if (image->pixels.size() > (std::size_t{1} << 18))
        return;
    const auto file = CPngCodec::Encode(*image, error);
    if (!file)
        std::abort();
    const auto again = CPngCodec::Decode(*file, error);
    if (!again || again->pixels != image->pixels)
        std::abort();
}

} // namespace

// Any input as a PNG file, as it is and with its checksums mended.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check(std::vector<std::uint8_t>(data, data + size));
    Check(WithChecksums(data, size));
    return 0;
}
