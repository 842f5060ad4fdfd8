#include "CLocalisationTable.h"

#include "LocalisationText.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <vector>

namespace {

constexpr std::array<std::string_view, CLocalisationTable::kPositionCount> kPositionKeys = {
    "LUT_Goalkeeper",
    "LUT_Sweeper",
    "LUT_RightWingBack",
    "LUT_RightBack",
    "LUT_RightCentreBack",
    "LUT_CentreBack",
    "LUT_LeftCentreBack",
    "LUT_LeftBack",
    "LUT_LeftWingBack",
    "LUT_RightDefMidfield",
    "LUT_RightCentreDefMidfield",
    "LUT_CentreDefMidfield",
    "LUT_LeftCentreDefMidfield",
    "LUT_LeftDefMidfield",
    "LUT_RightWingMidfield",
    "LUT_RightMidfield",
    "LUT_RightCentreMidfield",
    "LUT_CentreMidfield",
    "LUT_LeftCentreMidfield",
    "LUT_LeftMidfield",
    "LUT_LeftWingMidfield",
    "LUT_RightAttMidfield",
    "LUT_RightCentreAttMidfield",
    "LUT_CentreAttMidfield",
    "LUT_LeftCentreAttMidfield",
    "LUT_LeftAttMidfield",
    "LUT_RightForward",
    "LUT_CentreForward",
    "LUT_LeftForward",
    "LUT_RightStriker",
    "LUT_Striker",
    "LUT_LeftStriker",
    "LUT_Substitute",
    "LUT_1stPickReserve",
    "LUT_2ndPickReserve",
};

// Splits at CR LF, LF or CR; the line ends are not part of the lines.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

// Field `index` of a tab-separated line, or nothing when the line has fewer fields.
bool FieldAt(std::string_view line, std::size_t index, std::string_view* field) {
    std::size_t start = 0;
    for (std::size_t k = 0; k < index; ++k) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            return false;
        }
        start = tab + 1;
    }
    const std::size_t end = line.find('\t', start);
    *field = line.substr(start, end == std::string_view::npos ? line.size() - start : end - start);
    return true;
}

} // namespace

bool CLocalisationTable::Load(const std::filesystem::path& filePath, const std::string& language,
                              std::string* error) {
    m_texts.clear();
    const std::u8string utf8 = filePath.u8string();
    const std::string path(utf8.begin(), utf8.end());
    std::ifstream in(filePath, std::ios::binary);
    if (!in) {
        if (error) {
            *error = path + ": cannot be opened for reading";
        }
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        if (error) {
            *error = path + ": the size of the file cannot be read";
        }
        return false;
    }
    if (static_cast<std::uint64_t>(size) > kMaxFileBytes) {
        if (error) {
            *error = path + ": the file is " + std::to_string(size) +
                     " bytes long, more than a localisation file can be";
        }
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0, std::ios::beg);
    if (!in.read(bytes.data(), size)) {
        if (error) {
            *error = path + ": reading the file failed";
        }
        return false;
    }
    LoadFromBytes(bytes, language);
    return true;
}

void CLocalisationTable::LoadFromBytes(std::string_view bytes, const std::string& language) {
    m_texts.clear();
    const std::string text = LocalisationText::DecodeFileBytes(bytes);
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty()) {
        return;
    }
    // The text column is the first header field equal to the language name; with none, the
    // column one past the header's last field (rows longer than the header may still fill it).
    std::size_t column = 0;
    std::string_view header = lines.front();
    for (;;) {
        const std::size_t tab = header.find('\t');
        if (header.substr(0, tab) == language) {
            break;
        }
        ++column;
        if (tab == std::string_view::npos) {
            break;
        }
        header.remove_prefix(tab + 1);
    }
    if (column == 0) {
        return;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) {
            continue;
        }
        std::string_view field;
        if (!FieldAt(line, column, &field)) {
            continue;
        }
        const std::string_view key = line.substr(0, line.find('\t'));
        m_texts.insert_or_assign(std::string(key), std::string(field));
    }
}

std::string CLocalisationTable::Lookup(std::string_view key) const {
    const auto it = m_texts.find(std::string(key));
    if (it == m_texts.end() || it->second.empty()) {
        return std::string(key);
    }
    return it->second;
}

bool CLocalisationTable::Contains(std::string_view key) const {
    const auto it = m_texts.find(std::string(key));
    return it != m_texts.end() && !it->second.empty();
}

void CLocalisationTable::Set(const std::string& key, const std::string& text) {
    m_texts.insert_or_assign(key, text);
}

std::string_view CLocalisationTable::PositionKey(int n) {
    if (n < 0 || n >= kPositionCount) {
        return {};
    }
    return kPositionKeys[static_cast<std::size_t>(n)];
}

std::string CLocalisationTable::PositionName(int n) const {
    const std::string_view key = PositionKey(n);
    return key.empty() ? std::string() : Lookup(key);
}
