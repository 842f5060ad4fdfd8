#include "CColourTable.h"

#include <algorithm>

uint32_t CColourTable::ColourOfIndex(int index) const {
    if (index < 0 || index >= Count())
        return 0;
    return m_entries[index];
}

int CColourTable::IndexOfColour(uint32_t value) const {
    auto it = std::find(m_entries.begin(), m_entries.end(), value);
    return it == m_entries.end() ? -1 : static_cast<int>(it - m_entries.begin());
}

uint32_t CColourTable::FromColumns(int32_t c0, int32_t c1, int32_t c2) {
    return (static_cast<uint32_t>(c0 & 0xFF) << 16) | (static_cast<uint32_t>(c1 & 0xFF) << 8) |
           static_cast<uint32_t>(c2 & 0xFF);
}

void CColourTable::ToColumns(uint32_t value, int32_t& c0, int32_t& c1, int32_t& c2) {
    c0 = static_cast<int32_t>((value >> 16) & 0xFF);
    c1 = static_cast<int32_t>((value >> 8) & 0xFF);
    c2 = static_cast<int32_t>(value & 0xFF);
}
