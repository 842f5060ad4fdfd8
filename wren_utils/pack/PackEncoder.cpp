#include "wren_utils/pack/PackEncoder.h"

#include "wren_utils/pack/PackCommandWriter.h"
#include "wren_utils/pack/PackMatchFinder.h"

#include <algorithm>
#include <new>

namespace wren {

namespace {

std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> input, const PackOptions& options) {
    const std::uint64_t size = input.size();
    std::vector<std::uint8_t> out;
    out.reserve(input.size() / 2 + 16);
    const bool wide = size >= (1u << 24);
    out.push_back(wide ? 0x90 : 0x10);
    out.push_back(0xFB);
    for (int shift = wide ? 24 : 16; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(size >> shift));

    PackMatchFinder finder(input, options.chainDepth, options.niceLength);
    PackCommandWriter writer(out);
    const std::uint8_t* data = input.data();
    std::size_t position = 0;
    std::size_t literalStart = 0;
    while (position < input.size()) {
        PackMatch match = finder.Find(position);
        finder.Insert(position);
        if (match.length == 0) {
            ++position;
            continue;
        }
        const auto lazyLength = static_cast<std::size_t>(std::max(0, options.lazyLength));
        while (options.lazy && match.length < lazyLength && position + 1 < input.size()) {
            const PackMatch next = finder.Find(position + 1);
            if (next.gain <= match.gain)
                break;
            ++position;
            finder.Insert(position);
            match = next;
        }
        writer.Match(data + literalStart, position - literalStart, match.length, match.distance);
        for (std::size_t p = position + 1; p < position + match.length; ++p)
            finder.Insert(p);
        position += match.length;
        literalStart = position;
    }
    writer.End(data + literalStart, input.size() - literalStart);
    return out;
}

} // namespace

std::optional<std::vector<std::uint8_t>> PACK_pack(std::span<const std::uint8_t> input,
                                                   const PackOptions& options) {
    if (input.size() > 0xFFFFFFFFu)
        return std::nullopt;
    try {
        return Pack(input, options);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace wren
