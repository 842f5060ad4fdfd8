// Reads any bytes as a localisation file in each of the editor's languages: decoding always
// gives valid UTF-8, every key read is found, and the menu rule keeps text valid UTF-8.
#include "editor/localisation/CLocalisationTable.h"
#include "editor/localisation/LocalisationText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = LocalisationText::DecodeFileBytes(bytes);
    if (!LocalisationText::IsValidUtf8(text))
        __builtin_trap();
    if (!LocalisationText::IsValidUtf8(LocalisationText::ApplyTabRule(text)))
        __builtin_trap();
    for (const char* language : {"English_UK", "French", "German", "Spanish", ""}) {
        CLocalisationTable table;
        table.LoadFromBytes(bytes, language);
        // Each line's first field is a key; those the table holds look up to their text.
        size_t start = 0;
        while (start < text.size() && table.Size() > 0) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string_view line(text.data() + start, end - start);
            const std::string_view key = line.substr(0, line.find('\t'));
            if (!key.empty() && table.Contains(key) && table.Lookup(key).empty())
                __builtin_trap();
            start = end + 1;
        }
        for (int position = -1; position <= CLocalisationTable::kPositionCount; ++position)
            (void)table.PositionName(position);
    }
    return 0;
}
