#include "wren_utils/shapes/ShapeImporter.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The input after two control bytes as the old archive entry of an import (a container, packed
// or not): the first byte picks the shape's name and the format, the second the picture's size.
// The new shape's size is given, so a damaged header cannot make the run slow.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    static const char* const kNames[] = {"tp00", "logo", "shape name 2", "crwd"};
    wren::ShapeImportRequest request;
    request.shape = kNames[data[0] % 4];
    request.format =
        (data[0] & 4) ? wren::ShapeImportFormat::Bgra32 : wren::ShapeImportFormat::Auto;
    request.width = 1u + (data[1] & 15u);
    request.height = 1u + (data[1] >> 4);
    wren::BgraImage picture{7, 5, std::vector<std::uint8_t>(7 * 5 * 4)};
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = static_cast<std::uint8_t>(i * 29 + data[1]);
    std::string error;
    const auto result = wren::ShapeImporter::Import(
        std::span<const std::uint8_t>(data + 2, size - 2), picture, request, error);
    if (result) {
        volatile std::size_t sink = result->entry.size() + result->decoded.pixels.size();
        (void)sink;
    }
    return 0;
}
