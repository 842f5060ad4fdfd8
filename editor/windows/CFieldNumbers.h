#pragma once

#include <cstdint>
#include <string>

class CArrowRangeSpinBox;
class CFrameHost;
class CGameDatabase;

// Fills the number boxes of record windows: each keeps to the range its column declares in the
// loaded file (so every value typed can be saved) and says that range in its tool tip.
class CFieldNumbers {
public:
    static void Fill(CArrowRangeSpinBox* box, const CFrameHost& host, const CGameDatabase& database,
                     const std::string& table, int column, int32_t value);
};
