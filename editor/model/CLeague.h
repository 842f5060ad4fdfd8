#pragma once

#include <array>
#include <cstdint>
#include <string>

// One row of table leagues with its in-game names. Column 0 is carried through; column 1 is
// the league level.
struct CLeague {
    static constexpr int kColumnCount = 2;
    static constexpr int kLevelColumn = 1;

    int32_t id = 0;
    // The three strings of the record, carried through unchanged.
    std::array<std::string, 3> recordNames;
    std::string name;
    std::string mediumName;
    std::string shortName;
    std::array<int32_t, kColumnCount> columns{};

    int32_t Level() const { return columns[kLevelColumn]; }
    void SetLevel(int32_t level) { columns[kLevelColumn] = level; }

    bool operator==(const CLeague&) const = default;
};
