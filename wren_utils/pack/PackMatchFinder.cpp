#include "wren_utils/pack/PackMatchFinder.h"

#include "wren_utils/pack/PackCommandWriter.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace wren {

PackMatchFinder::PackMatchFinder(std::span<const std::uint8_t> data, int chainDepth, int niceLength)
    : data_(data), chainDepth_(std::max(1, chainDepth)),
      niceLength_(static_cast<std::size_t>(std::max(3, niceLength))),
      hashBits_(std::clamp(static_cast<int>(std::bit_width(data.size())), 8, kMaxHashBits)),
      shortHashBits_(std::min(hashBits_, kMaxShortHashBits)),
      head_(std::size_t{1} << hashBits_, kNone),
      previous_(std::clamp(data.size(), std::size_t{1}, kWindow), kNone),
      shortHead_(std::size_t{1} << shortHashBits_, kNone) {}

std::uint32_t PackMatchFinder::Hash4(std::size_t position) const {
    std::uint32_t prefix;
    std::memcpy(&prefix, data_.data() + position, 4);
    return (prefix * 2654435761u) >> (32 - hashBits_);
}

std::uint32_t PackMatchFinder::Hash3(std::size_t position) const {
    const std::uint32_t prefix = (std::uint32_t{data_[position]} << 16) |
                                 (std::uint32_t{data_[position + 1]} << 8) | data_[position + 2];
    return (prefix * 2654435761u) >> (32 - shortHashBits_);
}

std::size_t PackMatchFinder::CommonLength(std::size_t a, std::size_t b, std::size_t limit) const {
    const std::uint8_t* p = data_.data() + a;
    const std::uint8_t* q = data_.data() + b;
    std::size_t length = 0;
    while (length + 8 <= limit) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, p + length, 8);
        std::memcpy(&y, q + length, 8);
        if (x != y) {
            const std::uint64_t diff = x ^ y;
            const int bits = std::endian::native == std::endian::little ? std::countr_zero(diff)
                                                                        : std::countl_zero(diff);
            return length + static_cast<std::size_t>(bits / 8);
        }
        length += 8;
    }
    while (length < limit && p[length] == q[length])
        ++length;
    return length;
}

void PackMatchFinder::Consider(std::size_t from, std::size_t position, std::size_t limit,
                               PackMatch& best) const {
    // A candidate can only win by being longer than the best so far, unless it is the first.
    if (best.length != 0 && best.length < limit &&
        data_[from + best.length] != data_[position + best.length])
        return;
    const std::size_t length = CommonLength(from, position, limit);
    const std::size_t distance = position - from;
    const std::size_t cost = PackCommandWriter::MatchCost(length, distance);
    if (cost == 0)
        return;
    const auto gain = static_cast<std::ptrdiff_t>(length) - static_cast<std::ptrdiff_t>(cost);
    if (gain > best.gain || (gain == best.gain && length > best.length))
        best = {length, distance, gain};
}

PackMatch PackMatchFinder::Find(std::size_t position) const {
    PackMatch best;
    if (position + 3 > data_.size())
        return best;
    const std::size_t limit = std::min(PackLimits::kLongMaxLength, data_.size() - position);
    const std::uint32_t near = shortHead_[Hash3(position)];
    if (near != kNone && near < position && position - near <= PackLimits::kShortMaxDistance)
        Consider(near, position, limit, best);
    if (position + 4 > data_.size())
        return best;
    const std::size_t oldest =
        position > PackLimits::kLongMaxDistance ? position - PackLimits::kLongMaxDistance : 0;
    std::size_t newer = position;
    std::uint32_t candidate = head_[Hash4(position)];
    // Chains run to older positions; a newer one is a slot reused after the window moved on.
    for (int depth = chainDepth_;
         depth > 0 && candidate != kNone && candidate >= oldest && candidate < newer; --depth) {
        Consider(candidate, position, limit, best);
        if (best.length >= niceLength_ || best.length >= limit)
            break;
        newer = candidate;
        candidate = previous_[candidate % kWindow];
    }
    return best;
}

void PackMatchFinder::Insert(std::size_t position) {
    if (position + 3 > data_.size())
        return;
    shortHead_[Hash3(position)] = static_cast<std::uint32_t>(position);
    if (position + 4 > data_.size())
        return;
    std::uint32_t& slot = head_[Hash4(position)];
    previous_[position % kWindow] = slot;
    slot = static_cast<std::uint32_t>(position);
}

} // namespace wren
