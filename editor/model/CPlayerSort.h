#pragma once

#include <cstdint>
#include <vector>

class CPlayerField;
struct SPlayerFieldContext;

// Orders players by one field: numbers by value, texts, teams and leagues by their names
// without regard to letter case; equal values keep ascending id.
class CPlayerSort {
public:
    static void Sort(std::vector<int32_t>& playerIds, const CPlayerField& field, bool descending,
                     const SPlayerFieldContext& context);
};
