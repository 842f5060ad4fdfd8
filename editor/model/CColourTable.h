#pragma once

#include <cstdint>
#include <vector>

// The colours of table coloridtorgb in file order; entry i is colour id i + 1. A value is
// column 0 in bits 16-23, column 1 in bits 8-15 and column 2 in bits 0-7 (red in the low byte).
class CColourTable {
public:
    const std::vector<uint32_t>& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    void Append(uint32_t value) { m_entries.push_back(value & 0xFFFFFFu); }
    void Clear() { m_entries.clear(); }

    // Black for an index outside the table; callers pass colour id - 1.
    uint32_t ColourOfIndex(int index) const;
    // Index of the first equal entry, or -1.
    int IndexOfColour(uint32_t value) const;

    static uint32_t FromColumns(int32_t c0, int32_t c1, int32_t c2);
    static void ToColumns(uint32_t value, int32_t& c0, int32_t& c1, int32_t& c2);

    bool operator==(const CColourTable&) const = default;

private:
    std::vector<uint32_t> m_entries;
};
