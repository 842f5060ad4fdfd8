#pragma once

#include "CDbColumn.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The description of one table of a database file: name, record size, the three name lists that
// are only carried through, and the bit-packed columns. Also the bit cursor of the record loop.
class CDbTable {
public:
    CDbTable(uint32_t sectionOffset, uint32_t descriptorOffset);
    virtual ~CDbTable() = default;
    CDbTable(CDbTable&&) noexcept = default;
    CDbTable& operator=(CDbTable&&) noexcept = default;

    uint32_t SectionOffset() const { return m_sectionOffset; }
    void SetSectionOffset(uint32_t offset) { m_sectionOffset = offset; }
    uint32_t DescriptorOffset() const { return m_descriptorOffset; }
    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    uint32_t RecordSize() const { return m_recordSize; }
    void SetRecordSize(uint32_t size) { m_recordSize = size; }
    // Number of records of the section, as read (or as last written).
    uint32_t RecordCount() const { return m_recordCount; }
    void SetRecordCount(uint32_t count) { m_recordCount = count; }

    // Name lists are numbered 1, 2, 3. An index past the end gives an empty string.
    int32_t NameListCount(int list) const;
    const std::string& NameListEntry(int list, int index) const;
    const std::vector<std::string>& NameList(int list) const;
    void AddNameListEntry(int list, std::string entry);

    int32_t ColumnCount() const { return static_cast<int32_t>(m_columns.size()); }
    void AddColumn(std::string name, int32_t low, int32_t high);
    void SetColumnName(int index, std::string name);
    // Null for an index outside the columns.
    const CDbColumn* Column(int index) const;
    // An index past the end gives an empty string, or -1 for low and high.
    const std::string& ColumnName(int index) const;
    int32_t ColumnLow(int index) const;
    int32_t ColumnHigh(int index) const;
    // Sum of all column widths in bits.
    int64_t TotalColumnBits() const;

    void ResetBitCursor();
    // Reads the next field of the packed area with the width of the given column and returns
    // low + the stored number; -1 for an index at or past the column count. Bits beyond the
    // end of the area read as zero.
    int32_t ReadField(int column, std::span<const uint8_t> area);
    int32_t BitIndex() const { return m_bitIndex; }
    int32_t ByteIndex() const { return m_byteIndex; }

    // Packs stored numbers (value - low, already computed) for columns 0..n-1 into the zeroed
    // buffer, most significant bit first, and returns the bytes used; -1 when there are more
    // numbers than columns or the buffer is too small.
    int PackFields(std::span<uint8_t> buffer, std::span<const uint32_t> stored) const;

private:
    std::vector<std::string>& ListRef(int list);

    uint32_t m_sectionOffset;
    uint32_t m_descriptorOffset;
    std::string m_name;
    uint32_t m_recordSize = 0;
    uint32_t m_recordCount = 0;
    std::array<std::vector<std::string>, 3> m_nameLists;
    int32_t m_bitIndex = 0;
    int32_t m_byteIndex = 0;
    std::vector<std::unique_ptr<CDbColumn>> m_columns;
};
