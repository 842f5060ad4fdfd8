#include "ModelJson.h"

#include <cstdio>

void CJsonWriter::Separate() {
    if (!m_first)
        m_out += ',';
    m_first = false;
}

void CJsonWriter::BeginObject() {
    Separate();
    m_out += '{';
    m_first = true;
}

void CJsonWriter::EndObject() {
    m_out += '}';
    m_first = false;
}

void CJsonWriter::BeginArray(std::string_view key) {
    if (key.empty())
        Separate();
    else
        Key(key);
    m_out += '[';
    m_first = true;
}

void CJsonWriter::EndArray() {
    m_out += ']';
    m_first = false;
}

void CJsonWriter::BeginObjectAt(std::string_view key) {
    Key(key);
    m_out += '{';
    m_first = true;
}

void CJsonWriter::Key(std::string_view key) {
    Separate();
    m_out += Quote(key);
    m_out += ':';
}

void CJsonWriter::String(std::string_view key, std::string_view value) {
    Key(key);
    m_out += Quote(value);
}

void CJsonWriter::Number(std::string_view key, long long value) {
    Key(key);
    m_out += std::to_string(value);
}

void CJsonWriter::Raw(std::string_view key, std::string_view json) {
    Key(key);
    m_out += json;
}

void CJsonWriter::ArrayNumber(long long value) {
    Separate();
    m_out += std::to_string(value);
}

std::string CJsonWriter::Quote(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
            ++i;
        } else if (b < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", b);
            out += buffer;
            ++i;
        } else if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
        } else {
            const size_t length = (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
            bool valid = length > 0 && i + length <= text.size();
            for (size_t k = 1; valid && k < length; ++k)
                valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            if (valid) {
                out.append(text.substr(i, length));
                i += length;
            } else {
                out += "\xEF\xBF\xBD";
                ++i;
            }
        }
    }
    out += '"';
    return out;
}
