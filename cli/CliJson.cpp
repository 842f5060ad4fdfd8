#include "CliJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Bytes that are not UTF-8 travel through the library as private-use characters U+10FF80 to
// U+10FFFF (byte 0x80 + k as U+10FF80 + k); a real character of U+10FF7F..U+10FFFF is sent
// after the escape U+10FF7F, so every string comes back exactly.
constexpr uint32_t kEscape = 0x10FF7F;
constexpr uint32_t kByteBase = 0x10FF00;

void AppendUtf8(std::string& out, uint32_t code) {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
}

// Length of the valid UTF-8 sequence at text[i] and its code point, or 0 when the byte there
// does not start one.
size_t Utf8Sequence(const std::string& text, size_t i, uint32_t& code) {
    struct Form {
        unsigned char firstLead, lastLead;
        size_t length;
        uint32_t smallest;
    };
    static constexpr Form kForms[] = {
        {0xC2, 0xDF, 2, 0x80}, {0xE0, 0xEF, 3, 0x800}, {0xF0, 0xF4, 4, 0x10000}};
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    code = lead;
    if (lead < 0x80)
        return 1;
    for (const Form& form : kForms) {
        if (lead < form.firstLead || lead > form.lastLead)
            continue;
        if (i + form.length > text.size())
            return 0;
        code = lead & (0x7F >> form.length);
        for (size_t k = 1; k < form.length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80)
                return 0;
            code = code << 6 | (byte(i + k) & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        return code < form.smallest || code > 0x10FFFF || surrogate ? 0 : form.length;
    }
    return 0;
}

// The code point of a marker sequence at text[i] (four bytes F4 8F BC..BF xx), or 0.
uint32_t MarkerAt(const std::string& text, size_t i) {
    if (i + 4 > text.size() || static_cast<unsigned char>(text[i]) != 0xF4 ||
        static_cast<unsigned char>(text[i + 1]) != 0x8F)
        return 0;
    uint32_t code = 0;
    return Utf8Sequence(text, i, code) == 4 && code >= kEscape ? code : 0;
}

} // namespace

std::string CliJsonText(const CliJson& json) {
    return json.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

CliJson CliByteString(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size();) {
        uint32_t code = 0;
        const size_t length = Utf8Sequence(bytes, i, code);
        if (length == 0) {
            AppendUtf8(out, kByteBase + static_cast<unsigned char>(bytes[i]));
            ++i;
            continue;
        }
        if (code >= kEscape)
            AppendUtf8(out, kEscape);
        out.append(bytes, i, length);
        i += length;
    }
    return out;
}

std::string CliJsonTextKeepingBytes(const CliJson& json) {
    const std::string text = CliJsonText(json);
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const uint32_t marker = MarkerAt(text, i);
        if (marker == kEscape) {
            out.append(text, i + 4, 4);
            i += 8;
        } else if (marker != 0) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u%04x", marker - kByteBase);
            out += escape;
            i += 4;
        } else {
            out += text[i++];
        }
    }
    return out;
}

CliJson CliNumber(const std::string& text) {
    const char* end = text.data() + text.size();
    int64_t whole = 0;
    if (const auto [ptr, ec] = std::from_chars(text.data(), end, whole);
        ec == std::errc() && ptr == end)
        return whole;
    float value = 0;
    if (const auto [ptr, ec] = std::from_chars(text.data(), end, value);
        ec == std::errc() && ptr == end && std::isfinite(value))
        return value;
    return nullptr;
}
