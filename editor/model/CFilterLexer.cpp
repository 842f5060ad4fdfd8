#include "CFilterLexer.h"

namespace {

bool IsWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

CFilterLexer::CFilterLexer(std::string_view source) : m_source(source) {
    m_current = Scan();
}

CFilterLexer::SToken CFilterLexer::Take() {
    SToken token = std::move(m_current);
    m_current = Scan();
    return token;
}

bool CFilterLexer::IsKeyword(const SToken& token, std::string_view keyword) {
    if (token.kind != EToken::Word || token.text.size() != keyword.size())
        return false;
    for (size_t i = 0; i < keyword.size(); ++i)
        if ((token.text[i] | 0x20) != keyword[i])
            return false;
    return true;
}

void CFilterLexer::Skip(size_t bytes) {
    for (size_t i = 0; i < bytes && m_offset < m_source.size(); ++i, ++m_offset)
        if (!IsContinuation(m_source[m_offset]))
            ++m_column;
}

CFilterLexer::SToken CFilterLexer::Scan() {
    while (m_offset < m_source.size() && (m_source[m_offset] == ' ' || m_source[m_offset] == '\t' ||
                                          m_source[m_offset] == '\r' || m_source[m_offset] == '\n'))
        Skip(1);
    SToken token;
    token.column = m_column;
    if (m_offset >= m_source.size())
        return token;
    const char c = m_source[m_offset];
    const std::string_view rest = m_source.substr(m_offset);
    if (IsWordStart(c)) {
        size_t n = 1;
        while (n < rest.size() && (IsWordStart(rest[n]) || IsDigit(rest[n])))
            ++n;
        token.kind = EToken::Word;
        token.text = std::string(rest.substr(0, n));
        Skip(n);
        return token;
    }
    if (IsDigit(c)) {
        size_t n = 1;
        while (n < rest.size() && IsDigit(rest[n]))
            ++n;
        if (n + 1 < rest.size() && rest[n] == '.' && IsDigit(rest[n + 1])) {
            n += 2;
            while (n < rest.size() && IsDigit(rest[n]))
                ++n;
        }
        token.kind = EToken::Number;
        token.text = std::string(rest.substr(0, n));
        Skip(n);
        return token;
    }
    if (c == '"' || c == '\'') {
        size_t n = 1;
        while (n < rest.size() && rest[n] != c) {
            if (rest[n] == '\\' && n + 1 < rest.size())
                ++n;
            token.text += rest[n];
            ++n;
        }
        if (n >= rest.size()) {
            token.kind = EToken::Bad;
            token.text = "unterminated text";
            Skip(rest.size());
            return token;
        }
        token.kind = EToken::Text;
        Skip(n + 1);
        return token;
    }
    for (std::string_view op : {"==", "!=", "<>", "<=", ">=", "!~", "+=", "-=", "*="}) {
        if (rest.starts_with(op)) {
            token.kind = EToken::Operator;
            token.text = std::string(op);
            Skip(2);
            return token;
        }
    }
    switch (c) {
    case '=':
    case '<':
    case '>':
    case '~':
        token.kind = EToken::Operator;
        break;
    case '-':
        token.kind = EToken::Minus;
        break;
    case '(':
        token.kind = EToken::Open;
        break;
    case ')':
        token.kind = EToken::Close;
        break;
    case ',':
        token.kind = EToken::Comma;
        break;
    default: {
        // The whole character, so the message shows it as typed.
        size_t n = 1;
        while (n < rest.size() && IsContinuation(rest[n]))
            ++n;
        token.kind = EToken::Bad;
        token.text = "unexpected '" + std::string(rest.substr(0, n)) + "'";
        Skip(n);
        return token;
    }
    }
    token.text = std::string(1, c);
    Skip(1);
    return token;
}
