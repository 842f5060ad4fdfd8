#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The ranges the game allows for the fields of players, teams and kits that the editor's windows
// bound: the windows' spinners offer them, the sample installation stays inside them.
class CGameRanges {
public:
    struct SRange {
        int32_t low;
        int32_t high;
    };

    // Nothing for a field the windows do not bound.
    static std::optional<SRange> Find(std::string_view table, std::string_view column);
};
