#pragma once

#include <cstdint>
#include <string>

// One bit-packed column of a table: its name and value range, from which the field width follows.
class CDbColumn {
public:
    CDbColumn(std::string name, int32_t low, int32_t high);
    virtual ~CDbColumn() = default;

    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    int32_t Low() const { return m_low; }
    int32_t High() const { return m_high; }
    int32_t Width() const { return m_width; }

    // Recomputes the width from low and high, stores and returns it.
    int32_t ColumnWidth();

    // Bit length of high - low taken in wrapping 32-bit arithmetic; 1 when that is below 1.
    static int32_t WidthFor(int32_t low, int32_t high);

    // True when value - low is representable in the column's width (what a save can store
    // without losing bits).
    bool Fits(int32_t value) const;

private:
    std::string m_name;
    int32_t m_low;
    int32_t m_high;
    int32_t m_width;
};
