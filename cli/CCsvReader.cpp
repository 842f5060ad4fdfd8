#include "CCsvReader.h"

#include <array>

namespace {

constexpr size_t kChunk = 64 * 1024;

} // namespace

CCsvReader::CCsvReader(std::istream& in, uint64_t limit) : m_in(in), m_limit(limit) {}

const char* CCsvReader::SeparatorName(char separator) {
    return separator == ';' ? "semicolon" : separator == '\t' ? "tab" : "comma";
}

// Appends the next chunk of the stream to the buffer; false when there is none.
bool CCsvReader::Fill() {
    if (!m_error.empty() || !m_in)
        return false;
    if (m_pos > 0 && m_pos == m_buffer.size()) {
        m_buffer.clear();
        m_pos = 0;
    }
    const size_t old = m_buffer.size();
    m_buffer.resize(old + kChunk);
    m_in.read(m_buffer.data() + old, static_cast<std::streamsize>(kChunk));
    const auto got = static_cast<size_t>(m_in.gcount());
    m_buffer.resize(old + got);
    m_read += got;
    if (m_read > m_limit) {
        m_error = "the file is longer than the " + std::to_string(m_limit >> 20) +
                  " MiB an import reads";
        return false;
    }
    if (!m_started) {
        m_started = true;
        if (m_buffer.compare(0, 3, "\xEF\xBB\xBF") == 0)
            m_pos = 3;
    }
    return got > 0;
}

int CCsvReader::Peek() {
    if (m_pos == m_buffer.size() && !Fill())
        return kEnd;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

int CCsvReader::Get() {
    const int c = Peek();
    if (c != kEnd)
        ++m_pos;
    return c;
}

bool CCsvReader::Fail(const std::string& what, size_t column) {
    if (m_error.empty())
        m_error = "row " + std::to_string(m_rows + 1) + ", column " + std::to_string(column) +
                  ": " + what;
    return false;
}

char CCsvReader::DetectSeparator() {
    if (!m_started)
        Fill();
    // The header row: up to its first line break outside quotes, read into the buffer.
    std::array<size_t, 3> counts{};
    constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};
    bool quoted = false;
    for (size_t offset = 0;; ++offset) {
        if (m_pos + offset == m_buffer.size() && (offset >= kMaxRowBytes || !Fill()))
            break;
        const char c = m_buffer[m_pos + offset];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted)
            for (size_t k = 0; k < kSeparators.size(); ++k)
                counts[k] += c == kSeparators[k];
    }
    size_t best = 0;
    for (size_t k = 1; k < kSeparators.size(); ++k)
        if (counts[k] > counts[best])
            best = k;
    m_separator = kSeparators[best];
    return m_separator;
}

bool CCsvReader::Next(std::vector<std::string>& row) {
    row.clear();
    if (!m_error.empty())
        return false;
    std::string cell;
    size_t rowBytes = 0;
    bool any = false;
    // Quotes only open a field, close it, or stand doubled inside it (RFC 4180).
    enum class EState { FieldStart, Unquoted, Quoted, AfterQuote } state = EState::FieldStart;
    const auto endCell = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        state = EState::FieldStart;
    };
    for (;;) {
        const int got = Get();
        if (got == kEnd) {
            if (!m_error.empty())
                return false;
            if (state == EState::Quoted)
                return Fail("a quoted field is not closed", row.size() + 1);
            if (!any)
                return false;
            endCell();
            ++m_rows;
            return true;
        }
        any = true;
        if (++rowBytes > kMaxRowBytes)
            return Fail("the row is longer than " + std::to_string(kMaxRowBytes >> 20) + " MiB",
                        row.size() + 1);
        const char c = static_cast<char>(got);
        if (state == EState::Quoted) {
            if (c == '"')
                state = EState::AfterQuote;
            else
                cell += c;
            continue;
        }
        if (c == '"') {
            if (state == EState::FieldStart) {
                state = EState::Quoted;
            } else if (state == EState::AfterQuote) {
                cell += '"'; // a doubled quote inside a quoted field
                state = EState::Quoted;
            } else {
                return Fail("a quote inside a field that does not start with one",
                            row.size() + 1);
            }
        } else if (c == m_separator) {
            endCell();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && Peek() == '\n')
                Get();
            endCell();
            ++m_rows;
            return true;
        } else if (state == EState::AfterQuote) {
            return Fail("text after the closing quote of a field", row.size() + 1);
        } else {
            cell += c;
            state = EState::Unquoted;
        }
    }
}
