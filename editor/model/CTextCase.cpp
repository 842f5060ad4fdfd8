#include "CTextCase.h"

#include <cstdint>

namespace {

char32_t UpperOf(char32_t c) {
    if (c >= U'a' && c <= U'z')
        return c - 32;
    if (c < 0x80)
        return c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 32;
    if (c == 0xFF)
        return 0x178;
    // Latin Extended-A pairs upper/lower on even/odd code points, with two shifted runs.
    if (c >= 0x100 && c <= 0x137 && c != 0x131)
        return c & ~1u;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1u) ? c : c - 1;
    if (c >= 0x14A && c <= 0x177)
        return c & ~1u;
    if (c == 0x131) // dotless i
        return U'I';
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)
        return c - 32;
    if (c == 0x3AC)
        return 0x386;
    if (c >= 0x3AD && c <= 0x3AF)
        return c - 37;
    if (c == 0x3CC)
        return 0x38C;
    if (c == 0x3CD || c == 0x3CE)
        return c - 63;
    if (c == 0x3C2)
        return 0x3A3;
    if (c >= 0x430 && c <= 0x44F)
        return c - 32;
    if (c >= 0x450 && c <= 0x45F)
        return c - 80;
    return c;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one two-byte sequence (the only length our mappings touch); 0 when it is not one.
char32_t DecodeTwoByte(std::string_view s, size_t i) {
    const auto b0 = static_cast<uint8_t>(s[i]);
    if (i + 1 >= s.size() || (b0 & 0xE0) != 0xC0)
        return 0;
    const auto b1 = static_cast<uint8_t>(s[i + 1]);
    if ((b1 & 0xC0) != 0x80)
        return 0;
    const char32_t c = ((b0 & 0x1Fu) << 6) | (b1 & 0x3Fu);
    return c >= 0x80 ? c : 0;
}

} // namespace

std::string CTextCase::ToUpper(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    AppendUpper(utf8, out);
    return out;
}

void CTextCase::AppendUpper(std::string_view utf8, std::string& out) {
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<uint8_t>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b >= 'a' && b <= 'z' ? b - 32 : b);
            ++i;
            continue;
        }
        if (const char32_t c = DecodeTwoByte(utf8, i)) {
            Append(out, UpperOf(c));
            i += 2;
            continue;
        }
        out += static_cast<char>(b);
        ++i;
    }
}
