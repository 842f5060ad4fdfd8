#include "CDbRecordCursor.h"

#include "CDbFileReader.h"
#include "CMessageSink.h"
#include "LittleEndian.h"

#include <bit>

CDbRecordCursor::CDbRecordCursor(std::span<const uint8_t> file, std::string where,
                                 uint32_t firstRecord, uint32_t recordCount, uint32_t recordSize,
                                 int fixedWords, CMessageSink* sink)
    : m_file(file), m_where(std::move(where)), m_firstRecord(firstRecord),
      m_recordCount(recordCount), m_recordSize(recordSize), m_fixedWords(fixedWords), m_sink(sink) {
}

bool CDbRecordCursor::Next() {
    if (m_started)
        ++m_index;
    else
        m_started = true;
    if (m_index >= m_recordCount) {
        m_index = m_recordCount;
        return false;
    }
    m_recordOffset = m_firstRecord + m_index * m_recordSize;
    return true;
}

uint32_t CDbRecordCursor::Word(int i) const {
    if (!m_started || m_index >= m_recordCount || i < 0 || i >= m_fixedWords)
        return 0;
    return LoadLe32(m_file.data() + m_recordOffset + 4 * static_cast<uint32_t>(i));
}

float CDbRecordCursor::Float(int i) const {
    return std::bit_cast<float>(Word(i));
}

bool CDbRecordCursor::String(int i, std::string& out) const {
    std::string error;
    if (i < 0 || i >= m_fixedWords || !m_started || m_index >= m_recordCount)
        error = "no string pointer in word " + std::to_string(i);
    else if (CDbFileReader::ReadStoredString(m_file, Word(i), out, error))
        return true;
    if (m_sink)
        m_sink->Report("Error_OpenToRead", m_where + ", record " + std::to_string(m_index) +
                                               ", word " + std::to_string(i) + ": " + error);
    return false;
}

std::span<const uint8_t> CDbRecordCursor::PackedArea() const {
    if (!m_started || m_index >= m_recordCount)
        return {};
    const uint32_t fixedBytes = 4 * static_cast<uint32_t>(m_fixedWords);
    return m_file.subspan(m_recordOffset + fixedBytes, m_recordSize - fixedBytes);
}
