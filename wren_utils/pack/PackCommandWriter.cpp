#include "wren_utils/pack/PackCommandWriter.h"

#include <algorithm>

namespace wren {

std::size_t PackCommandWriter::MatchCost(std::size_t length, std::size_t distance) {
    if (distance == 0)
        return 0;
    if (length >= 3 && length <= PackLimits::kShortMaxLength &&
        distance <= PackLimits::kShortMaxDistance)
        return 2;
    if (length >= 4 && length <= PackLimits::kMediumMaxLength &&
        distance <= PackLimits::kMediumMaxDistance)
        return 3;
    if (length >= 5 && length <= PackLimits::kLongMaxLength &&
        distance <= PackLimits::kLongMaxDistance)
        return 4;
    return 0;
}

std::size_t PackCommandWriter::LiteralRuns(const std::uint8_t*& literals, std::size_t count) {
    while (count > 3) {
        const std::size_t run = std::min<std::size_t>(112, count & ~std::size_t{3});
        out_.push_back(static_cast<std::uint8_t>(0xE0 | ((run - 4) >> 2)));
        out_.insert(out_.end(), literals, literals + run);
        literals += run;
        count -= run;
    }
    return count;
}

void PackCommandWriter::Match(const std::uint8_t* literals, std::size_t literalCount,
                              std::size_t length, std::size_t distance) {
    const std::size_t rest = LiteralRuns(literals, literalCount);
    const std::size_t d = distance - 1;
    switch (MatchCost(length, distance)) {
    case 2:
        out_.push_back(static_cast<std::uint8_t>(((d >> 3) & 0x60) | ((length - 3) << 2) | rest));
        out_.push_back(static_cast<std::uint8_t>(d));
        break;
    case 3:
        out_.push_back(static_cast<std::uint8_t>(0x80 | (length - 4)));
        out_.push_back(static_cast<std::uint8_t>((rest << 6) | (d >> 8)));
        out_.push_back(static_cast<std::uint8_t>(d));
        break;
    default: {
        const std::size_t l = length - 5;
        out_.push_back(static_cast<std::uint8_t>(0xC0 | ((d >> 16) << 4) | ((l >> 8) << 2) | rest));
        out_.push_back(static_cast<std::uint8_t>(d >> 8));
        out_.push_back(static_cast<std::uint8_t>(d));
        out_.push_back(static_cast<std::uint8_t>(l));
        break;
    }
    }
    out_.insert(out_.end(), literals, literals + rest);
}

void PackCommandWriter::End(const std::uint8_t* literals, std::size_t literalCount) {
    const std::size_t rest = LiteralRuns(literals, literalCount);
    out_.push_back(static_cast<std::uint8_t>(0xFC | rest));
    out_.insert(out_.end(), literals, literals + rest);
}

} // namespace wren
