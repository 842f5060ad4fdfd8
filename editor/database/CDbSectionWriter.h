#pragma once

#include "CDbFixupList.h"
#include "CDbTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the table-specific save code uses to emit the records of one table: fixed words, string
// fix-ups and packed values. The first refused value stops the save; later calls do nothing.
class CDbSectionWriter {
public:
    CDbSectionWriter(const CDbTable& table, std::vector<uint8_t>& out, CDbFixupList& fixups);

    const CDbTable& Table() const { return m_table; }

    // Makes room for that many records with strings of that many bytes in all (a hint only).
    void Reserve(size_t records, size_t stringBytes);
    // Starts a record; the previous one is finished (zero-filled to the record size).
    void BeginRecord();
    void Word(uint32_t value);
    void Int(int32_t value) { Word(static_cast<uint32_t>(value)); }
    void Float(float value);
    // A string pointer: a placeholder now, the stored string at the end of the file. The text
    // is stored up to its first zero byte and must not exceed 255 bytes.
    void String(std::string_view text);
    // Values of columns 0..n-1 in column order; each must fit its column's width.
    void Pack(std::span<const int32_t> values);
    // Refuses the save with a message of the caller's own.
    void Fail(const std::string& message);

    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }
    uint32_t RecordsWritten() const { return m_records; }
    // Finishes the last record; called by the writer after the table's records.
    void Finish();

    static constexpr uint32_t kPlaceholder = 0x42424242;

private:
    void FinishRecord();
    void Refuse(const std::string& what);

    const CDbTable& m_table;
    std::vector<uint8_t>& m_out;
    CDbFixupList& m_fixups;
    std::string m_error;
    uint32_t m_records = 0;
    size_t m_recordStart = 0;
    bool m_inRecord = false;
};
