#pragma once

#include <cstdint>

// A calendar date (proleptic Gregorian) tied to the game's birth day numbers, which count days
// from 14 October 1582 (day 0).
class CDate {
public:
    CDate() = default;
    CDate(int32_t year, int32_t month, int32_t day) : m_year(year), m_month(month), m_day(day) {}

    static CDate FromDayNumber(int32_t dayNumber);
    // False when the date does not exist or its day number does not fit 32 bits.
    bool ToDayNumber(int32_t& dayNumber) const;
    bool IsValid() const;

    int32_t Year() const { return m_year; }
    int32_t Month() const { return m_month; }
    int32_t Day() const { return m_day; }

    bool operator==(const CDate&) const = default;

private:
    int32_t m_year = 1582;
    int32_t m_month = 10;
    int32_t m_day = 14;
};
