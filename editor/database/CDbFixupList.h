#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The pending string pointers of a file being written, in the order they were made. The texts
// share one buffer, so a file of many strings costs few allocations.
class CDbFixupList {
public:
    struct Fixup {
        size_t position; // of the placeholder word
        size_t offset;   // of the text in the shared buffer
        uint32_t length;
    };

    void Add(size_t position, std::string_view text) {
        m_fixups.push_back({position, m_texts.size(), static_cast<uint32_t>(text.size())});
        m_texts.append(text);
    }
    void Reserve(size_t fixups, size_t textBytes) {
        m_fixups.reserve(m_fixups.size() + fixups);
        m_texts.reserve(m_texts.size() + textBytes);
    }
    const std::vector<Fixup>& Fixups() const { return m_fixups; }
    std::string_view Text(const Fixup& fixup) const {
        return std::string_view(m_texts).substr(fixup.offset, fixup.length);
    }
    size_t TextBytes() const { return m_texts.size(); }

private:
    std::vector<Fixup> m_fixups;
    std::string m_texts;
};
