#pragma once

#include <cstdint>
#include <string>

// One row of table teamformationnames.
struct CFormationName {
    std::string name;
    int32_t id = 0;

    bool operator==(const CFormationName&) const = default;
};
