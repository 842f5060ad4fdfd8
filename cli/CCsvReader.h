#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// Reads CSV rows one at a time from a stream as RFC 4180 has them (quoted fields, doubled
// quotes, CRLF; a leading byte-order mark is skipped), so that a file of any length is never
// held whole: only the current row and a small buffer are.
class CCsvReader {
public:
    // A row longer than this is refused: no spreadsheet writes one, and it bounds the memory.
    static constexpr size_t kMaxRowBytes = size_t{1} << 20;

    // Reads at most limit bytes of the stream; more is an error.
    explicit CCsvReader(std::istream& in, uint64_t limit = UINT64_MAX);

    // Takes the separator from the first row: comma, semicolon or tab, whichever appears most
    // often outside quotes there (comma when none does). Call before the first Next.
    char DetectSeparator();
    char Separator() const { return m_separator; }
    void SetSeparator(char separator) { m_separator = separator; }

    // The next row; false at the end of the stream or on an error, which Error() then names
    // with the row and column.
    bool Next(std::vector<std::string>& row);
    const std::string& Error() const { return m_error; }
    // The number of the row Next returned last, counting from 1.
    size_t RowNumber() const { return m_rows; }

    // "comma", "semicolon" or "tab".
    static const char* SeparatorName(char separator);

private:
    static constexpr int kEnd = -1;
    bool Fill();
    int Get();
    int Peek();
    bool Fail(const std::string& what, size_t column);

    std::istream& m_in;
    uint64_t m_limit;
    uint64_t m_read = 0;
    std::string m_buffer;
    size_t m_pos = 0;
    bool m_started = false;
    char m_separator = ',';
    size_t m_rows = 0;
    std::string m_error;
};
