#include "CPlayer.h"

#include <algorithm>

namespace {

using K = EFieldKind;

constexpr std::array<SColumnInfo, CPlayer::kColumnCount> kColumns = {{
    {"acceleration", K::UInt8},
    {"accessory_colour_1", K::Int32},
    {"accessory_colour_2", K::Int32},
    {"accessory_colour_3", K::Int32},
    {"accessory_colour_4", K::Int32},
    {"accessory_colour_5", K::Int32},
    {"accessory_1", K::Int32},
    {"accessory_2", K::Int32},
    {"accessory_3", K::Int32},
    {"accessory_4", K::Int32},
    {"accessory_5", K::Int32},
    {"birth_day_number", K::Int32},
    {"age_rate_1", K::Int32},
    {"age_rate_2", K::Int32},
    {"aggression", K::UInt8},
    {"anticipation", K::UInt8},
    {"awareness", K::UInt8},
    {"balance", K::UInt8},
    {"ball_control", K::UInt8},
    {"ball_winner", K::Bool},
    {"calm", K::Bool},
    {"clinical_finisher", K::Bool},
    {"consistency", K::UInt8},
    {"crossing", K::UInt8},
    {"determination", K::UInt8},
    {"flag_25", K::Bool},
    {"dribbling", K::UInt8},
    {"face_type", K::Int32},
    {"facial_hair_style", K::Int32},
    {"greed", K::Bool},
    {"hair_colour", K::Int32},
    {"hair_type", K::Int32},
    {"handling", K::UInt8},
    {"heading", K::UInt8},
    {"height", K::Int32},
    {"hot_temper", K::Bool},
    {"injury_prone", K::Bool},
    {"jumping", K::UInt8},
    {"leadership", K::UInt8},
    {"leg_type", K::Int32},
    {"long_balls", K::UInt8},
    {"marking", K::UInt8},
    {"pace", K::UInt8},
    {"passing", K::UInt8},
    {"footed", K::Int32},
    {"preferred_position_1", K::Int32},
    {"preferred_position_2", K::Int32},
    {"preferred_position_3", K::Int32},
    {"prima_donna", K::Bool},
    {"punching", K::UInt8},
    {"reckless", K::Bool},
    {"reflexes", K::UInt8},
    {"rushing", K::UInt8},
    {"shoe_colour", K::Int32},
    {"shot_accuracy", K::UInt8},
    {"shot_power", K::UInt8},
    {"sleeve_length", K::Int32},
    {"specific_face", K::Int32},
    {"speed_king", K::Bool},
    {"stamina", K::UInt8},
    {"star_player", K::Int32},
    {"strength", K::UInt8},
    {"tackling", K::UInt8},
    {"tactical_icon_id_1", K::Int32},
    {"tactical_icon_id_2", K::Int32},
    {"tactical_icon_id_3", K::Int32},
    {"tactical_icon_id_4", K::Int32},
    {"talent", K::UInt8},
    {"throwing", K::UInt8},
    {"weight", K::Int32},
    {"work_rate", K::Bool},
}};

using C = EPlayerColumn;
static_assert(static_cast<int>(C::WorkRate) == CPlayer::kColumnCount - 1);

int Sum(const CPlayer& p, std::initializer_list<EPlayerColumn> columns) {
    int sum = 0;
    for (EPlayerColumn c : columns)
        sum += p.Value(c);
    return sum;
}

} // namespace

std::span<const SColumnInfo, CPlayer::kColumnCount> CPlayer::Columns() {
    return kColumns;
}

int CPlayer::ColumnOfName(std::string_view name) {
    for (int i = 0; i < kColumnCount; ++i)
        if (name == kColumns[i].name)
            return i;
    return -1;
}

CPlayer::CPlayer(int32_t id) : m_id(id) {}

void CPlayer::SetValue(EPlayerColumn column, int32_t value) {
    SetColumnValue(static_cast<int>(column), value);
}

void CPlayer::SetColumnValue(int column, int32_t value) {
    if (column < 0 || column >= kColumnCount)
        return;
    m_columns[column] = ApplyFieldKind(kColumns[column].kind, value);
}

void CPlayer::SetStoredValue(int column, int32_t value) {
    if (column >= 0 && column < kColumnCount)
        m_columns[column] = value;
}

CDate CPlayer::BirthDate() const {
    return CDate::FromDayNumber(Value(C::BirthDayNumber));
}

bool CPlayer::SetBirthDate(const CDate& date) {
    int32_t dayNumber = 0;
    if (!date.ToDayNumber(dayNumber))
        return false;
    SetValue(C::BirthDayNumber, dayNumber);
    return true;
}

std::string CPlayer::DisplayName() const {
    if (!m_firstName.empty())
        return m_firstName + " " + m_lastName;
    if (!m_lastName.empty())
        return m_lastName;
    return m_commonName;
}

bool CPlayer::IsInTeam(int32_t teamId) const {
    return std::find(m_teams.begin(), m_teams.end(), teamId) != m_teams.end();
}

bool CPlayer::AddTeam(int32_t teamId) {
    if (IsInTeam(teamId))
        return false;
    m_teams.push_back(teamId);
    return true;
}

void CPlayer::RemoveTeam(int32_t teamId) {
    m_teams.erase(std::remove(m_teams.begin(), m_teams.end(), teamId), m_teams.end());
}

uint8_t CPlayer::ComputeOverall() const {
    const int p = Value(C::PreferredPosition1);
    int rating = 0;
    if (p == 0) {
        rating = Sum(*this, {C::Awareness, C::Determination, C::Rushing, C::Handling, C::Punching,
                             C::Aggression, C::Reflexes, C::Anticipation, C::Throwing, C::Jumping,
                             C::Strength}) /
                 11;
    } else if (p >= 1 && p <= 8) {
        rating =
            Sum(*this, {C::Tackling, C::Heading, C::Stamina, C::Determination, C::Marking, C::Pace,
                        C::Balance, C::Aggression, C::Jumping, C::Strength, C::Acceleration}) /
            11;
    } else if (p >= 9 && p <= 25) {
        rating = Sum(*this, {C::Awareness, C::LongBalls, C::Stamina, C::Determination, C::Passing,
                             C::Crossing, C::Pace, C::Dribbling, C::Balance, C::Aggression,
                             C::Anticipation, C::BallControl, C::Strength, C::Acceleration}) /
                 14;
    } else {
        rating = Sum(*this, {C::Awareness, C::Heading, C::Determination, C::ShotAccuracy, C::Pace,
                             C::ShotPower, C::Dribbling, C::Balance, C::Aggression, C::Anticipation,
                             C::Jumping, C::BallControl, C::Strength, C::Acceleration}) /
                 14;
    }
    return static_cast<uint8_t>(rating);
}

int32_t CPlayer::PositionGroup() const {
    const int p = Value(C::PreferredPosition1);
    if (p == 0)
        return 0;
    if (p < 9)
        return 1;
    if (p < 26)
        return 2;
    if (p < 32)
        return 3;
    return 4;
}

void CPlayer::TakeChangesSince(const CPlayer& base, const CPlayer& changed) {
    const auto take = [](std::string& into, const std::string& was, const std::string& now) {
        if (now != was)
            into = now;
    };
    take(m_firstName, base.m_firstName, changed.m_firstName);
    take(m_lastName, base.m_lastName, changed.m_lastName);
    take(m_commonName, base.m_commonName, changed.m_commonName);
    for (int column = 0; column < kColumnCount; ++column)
        if (changed.m_columns[column] != base.m_columns[column])
            m_columns[column] = changed.m_columns[column];
}

bool CPlayer::operator==(const CPlayer& other) const {
    return m_id == other.m_id && m_firstName == other.m_firstName &&
           m_lastName == other.m_lastName && m_commonName == other.m_commonName &&
           m_columns == other.m_columns && m_teams == other.m_teams;
}
