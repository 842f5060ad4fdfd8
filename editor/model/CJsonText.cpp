#include "CJsonText.h"

#include <cstdint>

namespace {

using SValue = CJsonText::SValue;
using EType = SValue::EType;

class CParser {
public:
    explicit CParser(std::string_view text) : m_text(text) {}

    bool Document(SValue& root, std::string& error) {
        if (m_text.starts_with("\xEF\xBB\xBF"))
            m_at = 3;
        const bool ok = Value(root, 0) && (SkipBlanks(), m_at == m_text.size() || Fail("text after the end of the document"));
        if (!ok)
            error = "line " + std::to_string(m_line) + ": " + m_error;
        return ok;
    }

private:
    bool Fail(std::string what) {
        if (m_error.empty())
            m_error = std::move(what);
        return false;
    }

    void SkipBlanks() {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '\n')
                ++m_line;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++m_at;
        }
    }

    bool Literal(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word)
            return Fail("unexpected '" + std::string(1, m_text[m_at]) + "'");
        m_at += word.size();
        return true;
    }

    bool Value(SValue& value, int depth) {
        SkipBlanks();
        if (m_at >= m_text.size())
            return Fail("the document ends where a value is expected");
        value.line = m_line;
        const char c = m_text[m_at];
        if (c == '{' || c == '[') {
            if (depth >= CJsonText::kMaxDepth)
                return Fail("values nested too deeply");
            return c == '{' ? Object(value, depth) : Array(value, depth);
        }
        if (c == '"') {
            value.type = EType::String;
            return String(value.text);
        }
        if (c == 't' || c == 'f') {
            value.type = EType::Bool;
            value.boolean = c == 't';
            return Literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') {
            value.type = EType::Null;
            return Literal("null");
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            value.type = EType::Number;
            return Number(value.text);
        }
        return Fail("unexpected '" + std::string(1, c) + "'");
    }

    bool Object(SValue& value, int depth) {
        value.type = EType::Object;
        ++m_at;
        SkipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == '}') {
            ++m_at;
            return true;
        }
        while (true) {
            SkipBlanks();
            if (m_at >= m_text.size() || m_text[m_at] != '"')
                return Fail("a key in quotes is expected");
            std::string key;
            if (!String(key))
                return false;
            if (value.members.size() >= CJsonText::kMaxMembers)
                return Fail("an object has more than " + std::to_string(CJsonText::kMaxMembers) +
                            " keys");
            if (value.Member(key))
                return Fail("key '" + key + "' appears twice");
            SkipBlanks();
            if (m_at >= m_text.size() || m_text[m_at] != ':')
                return Fail("':' is expected after a key");
            ++m_at;
            value.members.push_back({std::move(key), SValue()});
            if (!Value(value.members.back().value, depth + 1))
                return false;
            SkipBlanks();
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == '}') {
                ++m_at;
                return true;
            }
            return Fail("',' or '}' is expected");
        }
    }

    bool Array(SValue& value, int depth) {
        value.type = EType::Array;
        ++m_at;
        SkipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == ']') {
            ++m_at;
            return true;
        }
        while (true) {
            value.items.emplace_back();
            if (!Value(value.items.back(), depth + 1))
                return false;
            SkipBlanks();
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == ']') {
                ++m_at;
                return true;
            }
            return Fail("',' or ']' is expected");
        }
    }

    bool Number(std::string& out) {
        const size_t start = m_at;
        const auto digits = [&] {
            const size_t from = m_at;
            while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9')
                ++m_at;
            return m_at > from;
        };
        if (m_text[m_at] == '-')
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == '0')
            ++m_at;
        else if (!digits())
            return Fail("a number has no digits");
        if (m_at < m_text.size() && m_text[m_at] == '.') {
            ++m_at;
            if (!digits())
                return Fail("a number has no digits after its point");
        }
        if (m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
            ++m_at;
            if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-'))
                ++m_at;
            if (!digits())
                return Fail("a number has no digits in its exponent");
        }
        out.assign(m_text.substr(start, m_at - start));
        return true;
    }

    bool Hex4(uint32_t& code) {
        if (m_at + 4 > m_text.size())
            return Fail("a \\u escape is cut short");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_at++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<uint32_t>(c - 'A' + 10);
            else
                return Fail("a \\u escape holds a non-hex digit");
        }
        return true;
    }

    static void AppendUtf8(std::string& out, uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // Checks one UTF-8 sequence starting at m_at and copies it.
    bool Utf8(std::string& out) {
        const auto b = static_cast<unsigned char>(m_text[m_at]);
        const size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (length == 0 || m_at + length > m_text.size())
            return Fail("a string is not valid UTF-8");
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(m_text[m_at + k]) & 0xC0) != 0x80)
                return Fail("a string is not valid UTF-8");
        out.append(m_text.substr(m_at, length));
        m_at += length;
        return true;
    }

    bool String(std::string& out) {
        ++m_at;
        while (true) {
            if (m_at >= m_text.size())
                return Fail("a string is not closed");
            const char c = m_text[m_at];
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return Fail("a string holds a control character (a line break must be written \\n)");
            if (c != '\\') {
                if (!Utf8(out))
                    return false;
                continue;
            }
            if (++m_at >= m_text.size())
                return Fail("a string is not closed");
            const char e = m_text[m_at++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                uint32_t code = 0;
                if (!Hex4(code))
                    return false;
                if (code >= 0xD800 && code < 0xDC00) {
                    uint32_t low = 0;
                    if (m_text.substr(m_at, 2) != "\\u" || (m_at += 2, !Hex4(low)) ||
                        low < 0xDC00 || low > 0xDFFF)
                        return Fail("a \\u escape holds half a surrogate pair");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code < 0xE000) {
                    return Fail("a \\u escape holds half a surrogate pair");
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                return Fail("unknown escape '\\" + std::string(1, e) + "'");
            }
        }
    }

    std::string_view m_text;
    size_t m_at = 0;
    int m_line = 1;
    std::string m_error;
};

} // namespace

const CJsonText::SValue* CJsonText::SValue::Member(std::string_view key) const {
    for (const auto& [name, value] : members)
        if (name == key)
            return &value;
    return nullptr;
}

bool CJsonText::Parse(std::string_view text, SValue& root, std::string& error) {
    root = SValue();
    return CParser(text).Document(root, error);
}

std::string CJsonText::Quote(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (u < 0x20) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}
