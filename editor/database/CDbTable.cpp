#include "CDbTable.h"

#include <algorithm>

namespace {
const std::string kEmpty;
const std::vector<std::string> kNoList;
} // namespace

CDbTable::CDbTable(uint32_t sectionOffset, uint32_t descriptorOffset)
    : m_sectionOffset(sectionOffset), m_descriptorOffset(descriptorOffset) {}

const std::vector<std::string>& CDbTable::NameList(int list) const {
    if (list < 1 || list > 3)
        return kNoList;
    return m_nameLists[static_cast<size_t>(list - 1)];
}

int32_t CDbTable::NameListCount(int list) const {
    return static_cast<int32_t>(NameList(list).size());
}

const std::string& CDbTable::NameListEntry(int list, int index) const {
    const auto& entries = NameList(list);
    if (index < 0 || static_cast<size_t>(index) >= entries.size())
        return kEmpty;
    return entries[static_cast<size_t>(index)];
}

std::vector<std::string>& CDbTable::ListRef(int list) {
    return m_nameLists[static_cast<size_t>(std::clamp(list, 1, 3) - 1)];
}

void CDbTable::AddNameListEntry(int list, std::string entry) {
    ListRef(list).push_back(std::move(entry));
}

void CDbTable::AddColumn(std::string name, int32_t low, int32_t high) {
    m_columns.push_back(std::make_unique<CDbColumn>(std::move(name), low, high));
}

void CDbTable::SetColumnName(int index, std::string name) {
    if (index >= 0 && index < ColumnCount())
        m_columns[static_cast<size_t>(index)]->SetName(std::move(name));
}

const CDbColumn* CDbTable::Column(int index) const {
    if (index < 0 || index >= ColumnCount())
        return nullptr;
    return m_columns[static_cast<size_t>(index)].get();
}

const std::string& CDbTable::ColumnName(int index) const {
    const CDbColumn* column = Column(index);
    return column ? column->Name() : kEmpty;
}

int32_t CDbTable::ColumnLow(int index) const {
    const CDbColumn* column = Column(index);
    return column ? column->Low() : -1;
}

int32_t CDbTable::ColumnHigh(int index) const {
    const CDbColumn* column = Column(index);
    return column ? column->High() : -1;
}

int64_t CDbTable::TotalColumnBits() const {
    int64_t bits = 0;
    for (const auto& column : m_columns)
        bits += CDbColumn::WidthFor(column->Low(), column->High());
    return bits;
}

void CDbTable::ResetBitCursor() {
    m_bitIndex = 0;
    m_byteIndex = 0;
}

int32_t CDbTable::ReadField(int column, std::span<const uint8_t> area) {
    if (column < 0 || column >= ColumnCount())
        return -1;
    CDbColumn& col = *m_columns[static_cast<size_t>(column)];
    // Low and high never change after a column is made, so its stored width is current.
    const int32_t width = col.Width();

    // The cursor leaves the byte index on the last byte read until the next bit is taken.
    const int64_t start = int64_t{m_byteIndex} * 8 + m_bitIndex;
    const int64_t firstByte = start / 8;
    const int shift = static_cast<int>(start % 8);

    // A field of at most 31 bits starting anywhere in a byte lies within five bytes.
    uint64_t window = 0;
    const auto first = static_cast<size_t>(firstByte);
    if (first + 5 <= area.size()) {
        const uint8_t* p = area.data() + first;
        window = uint64_t{p[0]} << 32 | uint64_t{p[1]} << 24 | uint64_t{p[2]} << 16 |
                 uint64_t{p[3]} << 8 | p[4];
    } else {
        for (size_t i = 0; i < 5; ++i)
            window = window << 8 | (first + i < area.size() ? area[first + i] : 0);
    }
    const uint64_t stored = (window >> (40 - shift - width)) & ((uint64_t{1} << width) - 1);

    const int64_t end = start + width;
    m_byteIndex = static_cast<int32_t>((end - 1) / 8);
    m_bitIndex = static_cast<int32_t>((end - 1) % 8 + 1);
    return static_cast<int32_t>(static_cast<uint32_t>(col.Low()) + static_cast<uint32_t>(stored));
}

int CDbTable::PackFields(std::span<uint8_t> buffer, std::span<const uint32_t> stored) const {
    if (stored.size() > m_columns.size())
        return -1;
    int64_t totalBits = 0;
    for (size_t k = 0; k < stored.size(); ++k)
        totalBits += m_columns[k]->Width();
    const int64_t bytes = (totalBits + 7) / 8;
    if (bytes > static_cast<int64_t>(buffer.size()))
        return -1;

    // Bits gather in a 64-bit accumulator and leave it a byte at a time.
    uint64_t acc = 0;
    int accBits = 0;
    size_t out = 0;
    for (size_t k = 0; k < stored.size(); ++k) {
        const int width = m_columns[k]->Width();
        acc = acc << width | (stored[k] & ((uint64_t{1} << width) - 1));
        accBits += width;
        while (accBits >= 8) {
            accBits -= 8;
            buffer[out++] |= static_cast<uint8_t>(acc >> accBits);
        }
    }
    if (accBits > 0)
        buffer[out] |= static_cast<uint8_t>(acc << (8 - accBits));
    return static_cast<int>(bytes);
}
