#pragma once

#include "wren_utils/shapes/BgraImage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// PNG without Qt, for the pictures the command-line tool reads and writes. Decodes every
// colour type at every bit depth the format allows, interlaced or not; a file is read
// whole and refused, with a reason, on any damage: a wrong checksum, a chunk cut short, image
// data that ends early or runs on, an unknown critical chunk, a palette index beyond the
// palette. Encodes as 8-bit RGB when the picture is opaque, else 8-bit RGBA.
class CPngCodec {
public:
    // A picture the decoder makes at most: 64 Mi pixels, 256 MiB as 32 bits a pixel.
    static constexpr uint64_t kMaxPixels = uint64_t{1} << 26;

    // True when the bytes start with the PNG signature.
    static bool IsPng(std::span<const uint8_t> data);
    // The picture, or nothing with a short English reason ("damaged: ...") in error.
    static std::optional<wren::BgraImage> Decode(std::span<const uint8_t> data,
                                                 std::string& error);
    // The PNG file, or nothing with the reason when the picture is empty, larger than
    // kMaxPixels or its pixels do not match its size.
    static std::optional<std::vector<uint8_t>> Encode(const wren::BgraImage& image,
                                                      std::string& error);
};
