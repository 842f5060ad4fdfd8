#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

// The editor's texts for one language: key to text, read from a tab-separated ".qtx" file whose
// header names the languages of its text columns.
class CLocalisationTable {
public:
    // Files larger than this are refused rather than read into memory.
    static constexpr std::size_t kMaxFileBytes = 32u * 1024u * 1024u;

    // Replaces the table with the texts of `language` in the file at `path`.
    // False, with `error` saying why, when the file cannot be read; the table is then empty.
    bool Load(const std::filesystem::path& path, const std::string& language,
              std::string* error = nullptr);

    // Same as Load on the bytes of a file already in memory.
    void LoadFromBytes(std::string_view bytes, const std::string& language);

    // The text of `key`, or the key itself when it is missing or its text is empty.
    std::string Lookup(std::string_view key) const;

    bool Contains(std::string_view key) const;
    void Set(const std::string& key, const std::string& text);
    void Clear() { m_texts.clear(); }
    std::size_t Size() const { return m_texts.size(); }

    // Position names 0..34 (formation places, substitute, reserve picks).
    static constexpr int kPositionCount = 35;
    // The key of position `n`, empty outside 0..34.
    static std::string_view PositionKey(int n);
    // The shown name of position `n`, empty outside 0..34.
    std::string PositionName(int n) const;

private:
    std::unordered_map<std::string, std::string> m_texts;
};
