#pragma once

#include "editor/model/SColumnInfo.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The packed columns of table teamkits, by position.
enum class EKitColumn : int {
    CollarGeometry,
    JerseyColour1,
    JerseyColour2,
    JerseyColour3,
    JerseyDoubleDigitFontSize,
    JerseyFontSize,
    JerseyType,
    KitFont,
    NameColour,
    NamePlacement,
    NumberColour,
    NumberPlacementBack,
    NumberPlacementFront,
    ShortsColour1,
    ShortsColour2,
    ShortsColour3,
    ShortsNumberColour,
    ShortsNumberFontSize,
    ShortsNumberPlacement,
    ShortsType,
    SocksColour1,
    SocksColour2,
    SocksColour3,
    SocksType,
    WetKit,
    Wrinkle
};

// One kit of a team (one row of table teamkits). The two shorts number coordinates are floats
// kept as the raw words read, so a save gives back the same bits.
class CTeamKit {
public:
    static constexpr int kColumnCount = 26;
    static constexpr int kSlotCount = 11;
    static std::span<const SColumnInfo, kColumnCount> Columns();
    static int ColumnOfName(std::string_view name);

    int32_t TeamId() const { return m_teamId; }
    void SetTeamId(int32_t id) { m_teamId = id; }
    int32_t KitType() const { return m_kitType; }
    void SetKitType(int32_t type) { m_kitType = type; }

    float ShortsNumberX() const;
    float ShortsNumberY() const;
    void SetShortsNumberX(float x);
    void SetShortsNumberY(float y);
    uint32_t ShortsNumberXBits() const { return m_shortsNumberX; }
    uint32_t ShortsNumberYBits() const { return m_shortsNumberY; }
    void SetShortsNumberXBits(uint32_t bits) { m_shortsNumberX = bits; }
    void SetShortsNumberYBits(uint32_t bits) { m_shortsNumberY = bits; }

    int32_t Value(EKitColumn column) const { return m_columns[static_cast<int>(column)]; }
    void SetValue(EKitColumn column, int32_t value);
    int32_t ColumnValue(int column) const { return m_columns[column]; }
    void SetColumnValue(int column, int32_t value);
    // A value as the file's column holds it (read from the file, or checked against that
    // column): kept as is, even outside the field's width, so it saves back to the same bits.
    void SetStoredValue(int column, int32_t value);

    bool operator==(const CTeamKit&) const = default;

private:
    int32_t m_teamId = 0;
    int32_t m_kitType = 0;
    uint32_t m_shortsNumberX = 0;
    uint32_t m_shortsNumberY = 0;
    std::array<int32_t, kColumnCount> m_columns{};
};
