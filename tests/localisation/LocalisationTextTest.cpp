#include "editor/localisation/LocalisationText.h"

#include <gtest/gtest.h>

#include <string>

using namespace LocalisationText;

namespace {

std::string Utf16LeWithBom(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

} // namespace

TEST(LocalisationTextDecode, Utf16WithByteOrderMarkKeepsEveryCharacter) {
    // Euro sign, Polish letter, Korean syllable and a character outside the basic plane.
    const std::u16string text = u"a\u20AC\u0142\uAC00\U0001F600\tb";
    EXPECT_EQ(DecodeFileBytes(Utf16LeWithBom(text)),
              "a\xE2\x82\xAC\xC5\x82\xEA\xB0\x80\xF0\x9F\x98\x80\tb");
}

TEST(LocalisationTextDecode, BrokenUtf16GivesReplacementNotGarbage) {
    std::string lone = Utf16LeWithBom(u"x");
    lone += std::string("\x00\xD8", 2); // high surrogate with nothing after it
    lone.push_back('\x41');             // odd trailing byte
    const std::string out = DecodeFileBytes(lone);
    EXPECT_EQ(out, "x\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_TRUE(IsValidUtf8(out));
}

TEST(LocalisationTextDecode, ValidUtf8IsKeptAndItsMarkDropped) {
    EXPECT_EQ(DecodeFileBytes("Fran\xC3\xA7"
                              "ais"),
              "Fran\xC3\xA7"
              "ais");
    EXPECT_EQ(DecodeFileBytes("\xEF\xBB\xBFKey\tText"), "Key\tText");
}

TEST(LocalisationTextDecode, NonUtf8IsReadAsWindows1252) {
    // 0xE7 alone is not UTF-8; 0x80 is the euro sign and 0x8A the S with caron in Windows-1252.
    EXPECT_EQ(DecodeFileBytes("Fran\xE7"
                              "ais \x80 \x8A"),
              "Fran\xC3\xA7"
              "ais \xE2\x82\xAC \xC5\xA0");
}

TEST(LocalisationTextDecode, Utf8ValidationRejectsMalformedSequences) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong slash
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong three-byte form
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // encoded surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // truncated at the end
    EXPECT_FALSE(IsValidUtf8("\xE2(\xAC"));        // bad continuation byte
}

TEST(LocalisationTextTabRule, CharacterBeforeBackslashGoesWithIt) {
    EXPECT_EQ(ApplyTabRule("Save DB \\tCtrl+S"), "Save DB\tCtrl+S");
    EXPECT_EQ(ApplyTabRule("Find \\tCtrl+F and \\t again"), "Find\tCtrl+F and \\t again");
    EXPECT_EQ(ApplyTabRule("Plain text"), "Plain text");
    EXPECT_EQ(ApplyTabRule("Ends with \\"), "Ends with \\");
}

TEST(LocalisationTextTabRule, EdgesDoNotCutOutsideTheTextOrInsideACharacter) {
    EXPECT_EQ(ApplyTabRule("\\tCtrl+S"), "\tCtrl+S");
    EXPECT_EQ(ApplyTabRule("x\\tY"), "\tY");
    // A two-byte character before the backslash is removed whole.
    const std::string out = ApplyTabRule("Sauvegarder\xC3\xA9\\tCtrl+S");
    EXPECT_EQ(out, "Sauvegarder\tCtrl+S");
    EXPECT_TRUE(IsValidUtf8(out));
}
