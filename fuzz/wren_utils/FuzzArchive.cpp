#include "wren_utils/archive/BigArchiveView.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto view = wren::BigArchiveView::Open(std::span<const std::uint8_t>(data, size));
    if (!view)
        return 0;
    volatile std::uint8_t sink = 0;
    const auto entries = view->Entries();
    for (const wren::BigEntry& entry : entries) {
        for (const char c : entry.name)
            sink = sink + static_cast<std::uint8_t>(c);
        for (const std::uint8_t byte : entry.data)
            sink = sink + byte;
        if (const auto found = view->Find(entry.name))
            sink = sink + static_cast<std::uint8_t>(found->size);
    }
    view->Find("LEAGUE.FSH");
    view->At(entries.size());
    view->At(0);
    return 0;
}
