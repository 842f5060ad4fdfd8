#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Splits filter expressions and bulk changes into tokens. Columns count characters (not
// bytes) from 1, so messages point where the user sees the fault.
class CFilterLexer {
public:
    enum class EToken {
        Word,     // field name or keyword (and, or, not, in)
        Number,   // digits with an optional fraction, without sign
        Text,     // quoted, without its quotes and with escapes resolved
        Operator, // = == != <> < <= > >= ~ !~ += -= *=
        Minus,
        Open,
        Close,
        Comma,
        End,
        Bad // a character that starts no token, or a quote that is never closed
    };

    struct SToken {
        EToken kind = EToken::End;
        std::string text;
        int column = 1;
    };

    explicit CFilterLexer(std::string_view source);

    const SToken& Peek() const { return m_current; }
    SToken Take();

    // Keywords are matched in any letter case.
    static bool IsKeyword(const SToken& token, std::string_view keyword);

private:
    SToken Scan();
    void Skip(size_t bytes);

    std::string_view m_source;
    size_t m_offset = 0;
    int m_column = 1;
    SToken m_current;
};
