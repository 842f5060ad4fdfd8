#pragma once

#include <string>
#include <string_view>

// Turning the bytes of a localisation file into UTF-8 text, and the menu text rule.
namespace LocalisationText {

// UTF-16LE with a byte-order mark is converted to UTF-8; otherwise the bytes are kept when they
// are valid UTF-8 (a UTF-8 byte-order mark is dropped), else read as Windows-1252.
std::string DecodeFileBytes(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

std::string FromWindows1252(std::string_view bytes);

// Unpaired surrogates become U+FFFD so the result is always valid UTF-8.
std::string FromUtf16Le(std::string_view bytes);

// A menu text holding backslash and "t" gets a TAB there; the character just before the backslash
// (the space between the item text and its shortcut) goes with them. Nothing is removed when the
// backslash starts the text, and a removed character is a whole UTF-8 sequence.
std::string ApplyTabRule(std::string_view text);

} // namespace LocalisationText
