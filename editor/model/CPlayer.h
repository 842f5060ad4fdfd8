#pragma once

#include "editor/model/CDate.h"
#include "editor/model/SColumnInfo.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The packed columns of table players, by position.
enum class EPlayerColumn : int {
    Acceleration,
    AccessoryColour1,
    AccessoryColour2,
    AccessoryColour3,
    AccessoryColour4,
    AccessoryColour5,
    Accessory1,
    Accessory2,
    Accessory3,
    Accessory4,
    Accessory5,
    BirthDayNumber,
    AgeRate1,
    AgeRate2,
    Aggression,
    Anticipation,
    Awareness,
    Balance,
    BallControl,
    BallWinner,
    Calm,
    ClinicalFinisher,
    Consistency,
    Crossing,
    Determination,
    Flag25,
    Dribbling,
    FaceType,
    FacialHairStyle,
    Greed,
    HairColour,
    HairType,
    Handling,
    Heading,
    Height,
    HotTemper,
    InjuryProne,
    Jumping,
    Leadership,
    LegType,
    LongBalls,
    Marking,
    Pace,
    Passing,
    Footed,
    PreferredPosition1,
    PreferredPosition2,
    PreferredPosition3,
    PrimaDonna,
    Punching,
    Reckless,
    Reflexes,
    Rushing,
    ShoeColour,
    ShotAccuracy,
    ShotPower,
    SleeveLength,
    SpecificFace,
    SpeedKing,
    Stamina,
    StarPlayer,
    Strength,
    Tackling,
    TacticalIconId1,
    TacticalIconId2,
    TacticalIconId3,
    TacticalIconId4,
    Talent,
    Throwing,
    Weight,
    WorkRate
};

// One row of table players with every column, plus the teams that link the player.
class CPlayer {
public:
    static constexpr int kColumnCount = 71;
    static std::span<const SColumnInfo, kColumnCount> Columns();
    // Column index of a field name, or -1.
    static int ColumnOfName(std::string_view name);

    explicit CPlayer(int32_t id = 0);

    int32_t Id() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }

    const std::string& FirstName() const { return m_firstName; }
    const std::string& LastName() const { return m_lastName; }
    const std::string& CommonName() const { return m_commonName; }
    void SetFirstName(std::string name) { m_firstName = std::move(name); }
    void SetLastName(std::string name) { m_lastName = std::move(name); }
    void SetCommonName(std::string name) { m_commonName = std::move(name); }

    int32_t Value(EPlayerColumn column) const { return m_columns[static_cast<int>(column)]; }
    // Stores the value with the column's width (attributes keep their low 8 bits, flags 0/1).
    void SetValue(EPlayerColumn column, int32_t value);
    int32_t ColumnValue(int column) const { return m_columns[column]; }
    void SetColumnValue(int column, int32_t value);
    // A value as the file's column holds it (read from the file, or checked against that
    // column): kept as is, even outside the field's width, so it saves back to the same bits.
    void SetStoredValue(int column, int32_t value);

    CDate BirthDate() const;
    // False (nothing changed) for a date that does not exist.
    bool SetBirthDate(const CDate& date);

    // "First Last", else the last name, else the common name: how lists name the player.
    std::string DisplayName() const;

    const std::vector<int32_t>& Teams() const { return m_teams; }
    bool IsInTeam(int32_t teamId) const;
    // Appends unless already present; false when it was.
    bool AddTeam(int32_t teamId);
    void RemoveTeam(int32_t teamId);
    void SetTeams(std::vector<int32_t> teams) { m_teams = std::move(teams); }

    // The rating derived from the attributes of preferred position 1; never stored, so it
    // always matches the attributes.
    uint8_t ComputeOverall() const;
    uint8_t OverallRating() const { return ComputeOverall(); }
    int32_t PositionGroup() const;

    // Takes the names and column values in which `changed` differs from `base`; the rest, and
    // the team list, stay.
    void TakeChangesSince(const CPlayer& base, const CPlayer& changed);

    // Field by field.
    bool operator==(const CPlayer& other) const;

private:
    int32_t m_id = 0;
    std::string m_firstName;
    std::string m_lastName;
    std::string m_commonName;
    std::array<int32_t, kColumnCount> m_columns{};
    std::vector<int32_t> m_teams;
};
