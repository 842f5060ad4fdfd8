#include "wren_utils/shapes/DxtDecoder.h"
#include "wren_utils/shapes/ShapeContainer.h"
#include "wren_utils/shapes/ShapeConverter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The input as a shape container: every shape's name, size and conversion; then the same bytes
// as raw DXT blocks of a small level whose type and size come from the first bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const wren::ShapeContainer container(bytes);
    for (int i = 0; i < container.Count() && i < 32; ++i) {
        const std::string name = container.Name(i);
        if (const auto shape = container.Shape(i)) {
            volatile std::uint64_t recordSize = shape->Size();
            (void)recordSize;
            if (const auto image = wren::ShapeConverter::ToImage(*shape)) {
                volatile std::uint8_t sink = image->pixels.empty() ? 0 : image->pixels.back();
                (void)sink;
            }
        }
        container.Find(name);
    }
    if (size >= 3) {
        const std::uint8_t type = static_cast<std::uint8_t>(0x60 + data[0] % 3);
        const std::uint32_t width = data[1] % 64 + 1;
        const std::uint32_t height = data[2] % 64 + 1;
        std::vector<std::uint8_t> pixels(std::size_t{(width + 3) & ~3u} * ((height + 3) & ~3u) * 4);
        wren::DxtDecoder::DecodeLevel(type, bytes.subspan(3), width, height, pixels);
    }
    return 0;
}
