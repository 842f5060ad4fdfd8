#include "CDate.h"

#include <limits>

namespace {

// Days between 1970-01-01 and the game's day 0 (1582-10-14).
constexpr int64_t kEpochShift = 141428;

// Civil date <-> days since 1970-01-01; exact for every 64-bit input we can produce.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

bool IsLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

} // namespace

CDate CDate::FromDayNumber(int32_t dayNumber) {
    int64_t y = 0, m = 0, d = 0;
    CivilFromDays(static_cast<int64_t>(dayNumber) - kEpochShift, y, m, d);
    return CDate(static_cast<int32_t>(y), static_cast<int32_t>(m), static_cast<int32_t>(d));
}

bool CDate::IsValid() const {
    if (m_month < 1 || m_month > 12 || m_day < 1)
        return false;
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int last = kDays[m_month - 1] + (m_month == 2 && IsLeap(m_year) ? 1 : 0);
    return m_day <= last;
}

bool CDate::ToDayNumber(int32_t& dayNumber) const {
    if (!IsValid())
        return false;
    const int64_t n = DaysFromCivil(m_year, m_month, m_day) + kEpochShift;
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        return false;
    dayNumber = static_cast<int32_t>(n);
    return true;
}
