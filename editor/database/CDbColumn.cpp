#include "CDbColumn.h"

#include <bit>

CDbColumn::CDbColumn(std::string name, int32_t low, int32_t high)
    : m_name(std::move(name)), m_low(low), m_high(high), m_width(WidthFor(low, high)) {}

int32_t CDbColumn::ColumnWidth() {
    m_width = WidthFor(m_low, m_high);
    return m_width;
}

int32_t CDbColumn::WidthFor(int32_t low, int32_t high) {
    // The game computes the difference in 32 bits, so a range wider than that wraps.
    const auto diff =
        static_cast<int32_t>(static_cast<uint32_t>(high) - static_cast<uint32_t>(low));
    if (diff < 1)
        return 1;
    return static_cast<int32_t>(std::bit_width(static_cast<uint32_t>(diff)));
}

bool CDbColumn::Fits(int32_t value) const {
    const int64_t stored = int64_t{value} - int64_t{m_low};
    return stored >= 0 && stored < (int64_t{1} << WidthFor(m_low, m_high));
}
