#include "CDbSectionWriter.h"

#include "CDbFileReader.h"
#include "LittleEndian.h"

#include <array>
#include <bit>

CDbSectionWriter::CDbSectionWriter(const CDbTable& table, std::vector<uint8_t>& out,
                                   CDbFixupList& fixups)
    : m_table(table), m_out(out), m_fixups(fixups) {}

void CDbSectionWriter::Refuse(const std::string& what) {
    if (Failed())
        return;
    m_error = "table " + m_table.Name();
    if (m_inRecord)
        m_error += ", record " + std::to_string(m_records - 1);
    m_error += ": " + what;
}

void CDbSectionWriter::Fail(const std::string& message) {
    Refuse(message);
}

void CDbSectionWriter::FinishRecord() {
    if (!m_inRecord || Failed())
        return;
    const size_t length = m_out.size() - m_recordStart;
    // Records keep the size the descriptor gives, so the file stays readable by record size.
    if (length > m_table.RecordSize()) {
        Refuse("record of " + std::to_string(length) + " bytes is longer than the record size " +
               std::to_string(m_table.RecordSize()));
        return;
    }
    m_out.resize(m_recordStart + m_table.RecordSize(), 0);
    m_inRecord = false;
}

void CDbSectionWriter::Finish() {
    FinishRecord();
}

void CDbSectionWriter::Reserve(size_t records, size_t stringBytes) {
    m_out.reserve(m_out.size() + records * m_table.RecordSize());
    m_fixups.Reserve(records, stringBytes);
}

void CDbSectionWriter::BeginRecord() {
    if (Failed())
        return;
    FinishRecord();
    if (Failed())
        return;
    if (m_records == UINT32_MAX) {
        Refuse("too many records");
        return;
    }
    m_recordStart = m_out.size();
    m_inRecord = true;
    ++m_records;
}

void CDbSectionWriter::Word(uint32_t value) {
    if (Failed())
        return;
    if (!m_inRecord) {
        Refuse("a word written outside a record");
        return;
    }
    AppendLe32(m_out, value);
}

void CDbSectionWriter::Float(float value) {
    Word(std::bit_cast<uint32_t>(value));
}

void CDbSectionWriter::String(std::string_view text) {
    if (Failed())
        return;
    if (!m_inRecord) {
        Refuse("a string written outside a record");
        return;
    }
    text = text.substr(0, text.find('\0'));
    if (text.size() > CDbFileReader::kMaxStringBytes) {
        Refuse("text of " + std::to_string(text.size()) +
               " bytes is longer than the 255 bytes a string can hold: \"" +
               std::string(text.substr(0, 40)) + "...\"");
        return;
    }
    m_fixups.Add(m_out.size(), text);
    AppendLe32(m_out, kPlaceholder);
}

void CDbSectionWriter::Pack(std::span<const int32_t> values) {
    if (Failed())
        return;
    if (!m_inRecord) {
        Refuse("packed values written outside a record");
        return;
    }
    if (values.size() > static_cast<size_t>(m_table.ColumnCount())) {
        Refuse(std::to_string(values.size()) + " packed values for " +
               std::to_string(m_table.ColumnCount()) + " columns");
        return;
    }
    std::vector<uint32_t> stored(values.size());
    for (size_t k = 0; k < values.size(); ++k) {
        const CDbColumn& column = *m_table.Column(static_cast<int>(k));
        if (!column.Fits(values[k])) {
            Refuse("column " + std::to_string(k) + " (" + column.Name() + "): value " +
                   std::to_string(values[k]) + " does not fit its range " +
                   std::to_string(column.Low()) + ".." + std::to_string(column.High()));
            return;
        }
        stored[k] = static_cast<uint32_t>(values[k]) - static_cast<uint32_t>(column.Low());
    }
    std::array<uint8_t, CDbFileReader::kMaxPackedBytes> area{};
    const int used = m_table.PackFields(area, stored);
    if (used < 0) {
        Refuse("packed values need more than 256 bytes");
        return;
    }
    m_out.insert(m_out.end(), area.begin(), area.begin() + used);
}
