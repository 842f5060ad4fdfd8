#pragma once

#include <array>
#include <cstdint>
#include <string>

// One row of table stadiums; its four packed columns are carried through as numbers.
struct CStadium {
    static constexpr int kColumnCount = 4;
    // Column 1: 0 for a match stadium, 1 for a training ground.
    static constexpr int kKindColumn = 1;

    int32_t id = 0;
    std::string name;
    std::array<int32_t, kColumnCount> columns{};

    int32_t Kind() const { return columns[kKindColumn]; }

    bool operator==(const CStadium&) const = default;
};
