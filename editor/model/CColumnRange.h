#pragma once

#include <cstdint>
#include <limits>
#include <string>

class CGameDatabase;

// The range a column of the loaded file declares (low..high): what the editor's number boxes
// let a user enter, so that every value typed can be saved.
struct CColumnRange {
    int32_t low = std::numeric_limits<int32_t>::min();
    int32_t high = std::numeric_limits<int32_t>::max();

    // The column at index of table; the whole 32-bit range when the file has no such column.
    static CColumnRange Of(const CGameDatabase& database, const std::string& table, int column);
    // The part of low..high within this range (this range alone where the two do not meet):
    // a usual range of the game, kept to what the file can take.
    CColumnRange Narrowed(int32_t otherLow, int32_t otherHigh) const;
};
