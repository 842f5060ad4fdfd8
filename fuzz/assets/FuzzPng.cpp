#include "editor/assets/CPngCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// Any input as a PNG file; a picture that decodes must come back unchanged through the encoder.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto image = CPngCodec::Decode(std::span<const std::uint8_t>(data, size), error);
    if (!image) {
        if (error.empty())
            std::abort();
        return 0;
    }
    if (image->pixels.size() != std::size_t{image->width} * image->height * 4)
        std::abort();
    const auto file = CPngCodec::Encode(*image, error);
    if (!file)
        std::abort();
    const auto again = CPngCodec::Decode(*file, error);
    if (!again || again->pixels != image->pixels)
        std::abort();
    return 0;
}
