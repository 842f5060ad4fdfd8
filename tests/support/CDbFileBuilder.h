#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Lays out a database file by hand, word by word, so tests can build layouts the writer never
// makes (strings before sections, sections out of order, odd padding, damaged counts).
class CDbFileBuilder {
public:
    size_t Word(uint32_t value) {
        const size_t at = bytes.size();
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return at;
    }
    void Patch(size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
    // A stored string followed by fill bytes up to a multiple of 4; returns its offset.
    uint32_t String(const std::string& text, uint8_t fill = 0) {
        const auto at = static_cast<uint32_t>(Word(static_cast<uint32_t>(text.size())));
        bytes.insert(bytes.end(), text.begin(), text.end());
        while (bytes.size() % 4)
            bytes.push_back(fill);
        return at;
    }
    uint32_t Here() const { return static_cast<uint32_t>(bytes.size()); }
    std::vector<uint8_t> bytes;

    // The smallest in-game text database: the two header words, one table "language" with no
    // columns and no name lists, one text with id 7.
    static std::vector<uint8_t> OneText(uint32_t word1, uint32_t word2, const std::string& text) {
        CDbFileBuilder f;
        f.Word(word1);
        f.Word(word2);
        f.Word(1);
        f.Word(40);
        f.Word(56);
        f.Word(8);
        for (int i = 0; i < 4; ++i)
            f.Word(0);
        f.Word(1);
        f.Word(16);
        f.Word(7);
        f.Word(68);
        f.String("language");
        f.String(text);
        return f.bytes;
    }
};
