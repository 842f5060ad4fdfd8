#pragma once

#include <array>
#include <cstdint>
#include <string>

// One row of table stadiums; its four packed columns are carried through as numbers.
struct CStadium {
    static constexpr int kColumnCount = 4;

    int32_t id = 0;
    std::string name;
    std::array<int32_t, kColumnCount> columns{};

    bool operator==(const CStadium&) const = default;
};
