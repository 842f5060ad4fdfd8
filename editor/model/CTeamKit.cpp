#include "CTeamKit.h"

#include <bit>

namespace {

using K = EFieldKind;

constexpr std::array<SColumnInfo, CTeamKit::kColumnCount> kColumns = {{
    {"collar_geometry", K::Int32},
    {"jersey_colour_1", K::Int32},
    {"jersey_colour_2", K::Int32},
    {"jersey_colour_3", K::Int32},
    {"jersey_double_digit_font_size", K::Int32},
    {"jersey_font_size", K::Int32},
    {"jersey_type", K::Int32},
    {"kit_font", K::Int32},
    {"name_colour", K::Int32},
    {"name_placement", K::Int32},
    {"number_colour", K::Int32},
    {"number_placement_back", K::Int32},
    {"number_placement_front", K::Int32},
    {"shorts_colour_1", K::Int32},
    {"shorts_colour_2", K::Int32},
    {"shorts_colour_3", K::Int32},
    {"shorts_number_colour", K::Int32},
    {"shorts_number_font_size", K::Int32},
    {"shorts_number_placement", K::Int32},
    {"shorts_type", K::Int32},
    {"socks_colour_1", K::Int32},
    {"socks_colour_2", K::Int32},
    {"socks_colour_3", K::Int32},
    {"socks_type", K::Int32},
    {"wet_kit", K::UInt8},
    {"wrinkle", K::Int32},
}};

static_assert(static_cast<int>(EKitColumn::Wrinkle) == CTeamKit::kColumnCount - 1);

} // namespace

std::span<const SColumnInfo, CTeamKit::kColumnCount> CTeamKit::Columns() {
    return kColumns;
}

int CTeamKit::ColumnOfName(std::string_view name) {
    for (int i = 0; i < kColumnCount; ++i)
        if (name == kColumns[i].name)
            return i;
    return -1;
}

float CTeamKit::ShortsNumberX() const {
    return std::bit_cast<float>(m_shortsNumberX);
}
float CTeamKit::ShortsNumberY() const {
    return std::bit_cast<float>(m_shortsNumberY);
}
void CTeamKit::SetShortsNumberX(float x) {
    m_shortsNumberX = std::bit_cast<uint32_t>(x);
}
void CTeamKit::SetShortsNumberY(float y) {
    m_shortsNumberY = std::bit_cast<uint32_t>(y);
}

void CTeamKit::SetValue(EKitColumn column, int32_t value) {
    SetColumnValue(static_cast<int>(column), value);
}

void CTeamKit::SetColumnValue(int column, int32_t value) {
    if (column < 0 || column >= kColumnCount)
        return;
    m_columns[column] = ApplyFieldKind(kColumns[column].kind, value);
}

void CTeamKit::SetStoredValue(int column, int32_t value) {
    if (column >= 0 && column < kColumnCount)
        m_columns[column] = value;
}
