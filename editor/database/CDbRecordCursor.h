#pragma once

#include <cstdint>
#include <span>
#include <string>

class CMessageSink;

// Walks the records of one table's section in a file held in memory. Every record begins with
// a fixed number of 32-bit words; the rest up to the record size is the packed area. Bounds were
// checked when the cursor was made, except string pointers, which String() checks.
class CDbRecordCursor {
public:
    CDbRecordCursor(std::span<const uint8_t> file, std::string where, uint32_t firstRecord,
                    uint32_t recordCount, uint32_t recordSize, int fixedWords, CMessageSink* sink);

    uint32_t RecordCount() const { return m_recordCount; }
    // Moves to the next record (the first on the first call); false when there is none left.
    bool Next();
    // Index of the current record.
    uint32_t Index() const { return m_index; }
    // File offset of the current record.
    uint32_t RecordOffset() const { return m_recordOffset; }

    // Fixed word i of the current record; 0 for an index outside the fixed words.
    uint32_t Word(int i) const;
    int32_t Int(int i) const { return static_cast<int32_t>(Word(i)); }
    float Float(int i) const;
    // The stored string that fixed word i points to, as the bytes read up to the first zero.
    // On a bad pointer or length: reports to the sink, leaves out alone and returns false.
    bool String(int i, std::string& out) const;
    // The bytes of the current record after its fixed words.
    std::span<const uint8_t> PackedArea() const;

private:
    std::span<const uint8_t> m_file;
    std::string m_where;
    uint32_t m_firstRecord;
    uint32_t m_recordCount;
    uint32_t m_recordSize;
    int m_fixedWords;
    CMessageSink* m_sink;
    uint32_t m_index = 0;
    uint32_t m_recordOffset = 0;
    bool m_started = false;
};
