#include "editor/database/CDbTable.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {

CDbTable TableWithRanges(std::initializer_list<std::pair<int32_t, int32_t>> ranges) {
    CDbTable table(0, 0);
    for (const auto& [low, high] : ranges)
        table.AddColumn("c", low, high);
    return table;
}

// Widths 3, 7, 1, 8, 5 as (0, 2^w - 1) ranges.
CDbTable FiveColumnTable() {
    return TableWithRanges({{0, 7}, {0, 127}, {0, 1}, {0, 255}, {0, 31}});
}

} // namespace

TEST(CDbColumnTest, WidthFollowsTheRangeInWrapping32BitArithmetic) {
    EXPECT_EQ(CDbColumn::WidthFor(0, 1), 1);
    EXPECT_EQ(CDbColumn::WidthFor(0, 2), 2);
    EXPECT_EQ(CDbColumn::WidthFor(0, 3), 2);
    EXPECT_EQ(CDbColumn::WidthFor(0, 4), 3);
    EXPECT_EQ(CDbColumn::WidthFor(0, 255), 8);
    EXPECT_EQ(CDbColumn::WidthFor(0, 256), 9);
    EXPECT_EQ(CDbColumn::WidthFor(5, 5), 1);
    EXPECT_EQ(CDbColumn::WidthFor(10, 3), 1);
    EXPECT_EQ(CDbColumn::WidthFor(0, INT32_MAX), 31);
    EXPECT_EQ(CDbColumn::WidthFor(-100, 100), 8);
    // The difference overflows to a negative number, as in the game.
    EXPECT_EQ(CDbColumn::WidthFor(INT32_MIN, INT32_MAX), 1);
}

TEST(CDbColumnTest, FitsMeansTheStoredNumberKeepsAllItsBits) {
    const CDbColumn column("age", 10, 20); // width 4: 10..25 can be stored
    EXPECT_TRUE(column.Fits(10));
    EXPECT_TRUE(column.Fits(25));
    EXPECT_FALSE(column.Fits(9));
    EXPECT_FALSE(column.Fits(26));
    EXPECT_FALSE(column.Fits(-1));
    const CDbColumn wide("wide", INT32_MIN, -1);
    EXPECT_TRUE(wide.Fits(INT32_MIN));
    EXPECT_FALSE(wide.Fits(INT32_MAX));
}

TEST(CDbTableTest, AccessorsGiveEmptyOrMinusOneOutsideTheirLists) {
    CDbTable table(100, 200);
    table.AddColumn("first", -3, 9);
    table.AddNameListEntry(2, "two");
    EXPECT_EQ(table.ColumnName(0), "first");
    EXPECT_EQ(table.ColumnName(1), "");
    EXPECT_EQ(table.ColumnLow(0), -3);
    EXPECT_EQ(table.ColumnHigh(0), 9);
    EXPECT_EQ(table.ColumnLow(1), -1);
    EXPECT_EQ(table.ColumnHigh(-1), -1);
    EXPECT_EQ(table.NameListEntry(2, 0), "two");
    EXPECT_EQ(table.NameListEntry(2, 1), "");
    EXPECT_EQ(table.NameListEntry(1, 0), "");
    EXPECT_EQ(table.NameListCount(2), 1);
    EXPECT_EQ(table.NameListCount(7), 0);
}

TEST(CDbTableTest, ReadFieldReadsMostSignificantBitFirstAcrossBytes) {
    {
        CDbTable table = TableWithRanges({{0, 7}, {10, 20}});
        const std::array<uint8_t, 1> area = {0xA6};
        table.ResetBitCursor();
        EXPECT_EQ(table.ReadField(0, area), 5);
        EXPECT_EQ(table.ReadField(1, area), 13);
        EXPECT_EQ(table.ReadField(2, area), -1) << "index equal to the column count";
    }
    {
        // Six one-bit fields, then a 4-bit field from bit 1 of byte 0 into byte 1.
        CDbTable table = TableWithRanges({{0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 15}});
        const std::array<uint8_t, 2> area = {0b00000010, 0b11000000};
        table.ResetBitCursor();
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(table.ReadField(k, area), 0);
        EXPECT_EQ(table.ReadField(6, area), 0b1011);
    }
    {
        CDbTable table = TableWithRanges({{-5, 2}});
        const std::array<uint8_t, 1> area = {0b01100000};
        table.ResetBitCursor();
        EXPECT_EQ(table.ReadField(0, area), -2);
    }
}

TEST(CDbTableTest, BitCursorAdvancesLazilyAndResets) {
    CDbTable table = TableWithRanges({{0, 255}, {0, 1}});
    const std::array<uint8_t, 2> area = {0xFF, 0x80};
    table.ResetBitCursor();
    EXPECT_EQ(table.ReadField(0, area), 255);
    EXPECT_EQ(table.ByteIndex(), 0);
    EXPECT_EQ(table.BitIndex(), 8);
    EXPECT_EQ(table.ReadField(1, area), 1);
    EXPECT_EQ(table.ByteIndex(), 1);
    EXPECT_EQ(table.BitIndex(), 1);
    table.ResetBitCursor();
    EXPECT_EQ(table.ReadField(0, area), 255);
}

TEST(CDbTableTest, BitsPastTheEndOfTheAreaReadAsZero) {
    CDbTable table = TableWithRanges({{0, 255}, {7, 7 + 0xFFFF}});
    const std::array<uint8_t, 2> area = {0x12, 0xAB};
    table.ResetBitCursor();
    EXPECT_EQ(table.ReadField(0, area), 0x12);
    EXPECT_EQ(table.ReadField(1, area), 7 + 0xAB00);
}

TEST(CDbTableTest, ReadFieldWrapsInsteadOfOverflowingNearTheTopOfTheRange) {
    CDbTable table = TableWithRanges({{INT32_MAX - 2, INT32_MAX}});
    const std::array<uint8_t, 1> area = {0xC0};
    table.ResetBitCursor();
    EXPECT_EQ(table.ReadField(0, area), INT32_MIN);
}

TEST(CDbTableTest, PackFieldsLaysOutTheExamplesAndCountsBytes) {
    const CDbTable five = FiveColumnTable();
    std::array<uint8_t, 256> buffer{};
    const std::array<uint32_t, 5> stored = {0b101, 0b1111111, 0, 0b10000001, 0b11111};
    EXPECT_EQ(five.PackFields(buffer, stored), 3);
    // The second field starts at bit 4 of byte 0 and ends at bit 6 of byte 1.
    EXPECT_EQ(buffer[0], 0b10111111);
    EXPECT_EQ(buffer[1], 0b11010000);
    EXPECT_EQ(buffer[2], 0b00111111);
    EXPECT_EQ(buffer[3], 0);

    const CDbTable one = TableWithRanges({{0, 1}});
    std::array<uint8_t, 256> small{};
    const std::array<uint32_t, 1> bit = {1};
    EXPECT_EQ(one.PackFields(small, bit), 1);
    EXPECT_EQ(small[0], 0x80);

    const CDbTable two = TableWithRanges({{0, 7}, {10, 20}});
    std::array<uint8_t, 256> pair{};
    const std::array<uint32_t, 2> values = {5, 3};
    EXPECT_EQ(two.PackFields(pair, values), 1);
    EXPECT_EQ(pair[0], 0xA6);
}

TEST(CDbTableTest, PackFieldsKeepsOnlyTheLowBitsAndRefusesOverflow) {
    const CDbTable table = TableWithRanges({{0, 3}, {0, 3}});
    std::array<uint8_t, 256> buffer{};
    const std::array<uint32_t, 2> stored = {0xFF, 0x1};
    EXPECT_EQ(table.PackFields(buffer, stored), 1);
    EXPECT_EQ(buffer[0], 0b11010000);

    const std::array<uint32_t, 3> tooMany = {1, 1, 1};
    EXPECT_EQ(table.PackFields(buffer, tooMany), -1);
    std::array<uint8_t, 0> none{};
    EXPECT_EQ(table.PackFields(none, stored), -1);
}

TEST(CDbTableTest, PackThenReadGivesBackEveryValueOfRandomLayouts) {
    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round) {
        CDbTable table(0, 0);
        std::vector<uint32_t> stored;
        const int columns = 1 + static_cast<int>(random() % 60);
        for (int c = 0; c < columns; ++c) {
            const int32_t low = static_cast<int32_t>(random() % 2001) - 1000;
            const int32_t span = static_cast<int32_t>(random() % 100000);
            table.AddColumn("c", low, low + span);
            const int width = table.Column(c)->Width();
            stored.push_back(static_cast<uint32_t>(random()) & ((1u << width) - 1));
        }
        std::array<uint8_t, 256> buffer{};
        const int used = table.PackFields(buffer, stored);
        ASSERT_EQ(used, (table.TotalColumnBits() + 7) / 8);
        table.ResetBitCursor();
        for (int c = 0; c < columns; ++c)
            ASSERT_EQ(table.ReadField(c, std::span<const uint8_t>(buffer.data(), used)),
                      table.ColumnLow(c) + static_cast<int32_t>(stored[c]))
                << "round " << round << " column " << c;
    }
}
