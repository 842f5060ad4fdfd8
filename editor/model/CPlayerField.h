#pragma once

#include "editor/model/CDate.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class CDbCatalogue;
class CGameDatabase;
class CPlayer;

// What filters, sorts and tables need besides the player: the database for team and league
// names, and the day ages are counted at.
struct SPlayerFieldContext {
    SPlayerFieldContext(const CGameDatabase& database, const CDate& ageDate);

    const CGameDatabase& database;
    CDate ageDate;
};

// A closed range of values a bulk change may store into a field.
struct SValueRange {
    int32_t low;
    int32_t high;
};

// One named field of a player, as scripts, filters, CSV files and the players table name it:
// the id, the three names, the 71 packed columns and the derived name, age, overall rating,
// position group, team and league. Only packed columns can be changed in bulk.
class CPlayerField {
public:
    enum class EType {
        Number, // a whole number
        Text,   // compared without regard to letter case
        Team,   // the teams that link the player: ids or names
        League  // the leagues of those teams: ids or names
    };

    static std::span<const CPlayerField> All();
    static const CPlayerField* Find(std::string_view name);
    static const CPlayerField& OfColumn(int column);

    const char* Name() const { return m_name; }
    // The localisation key of the name users see ("Field_" and the name).
    std::string DisplayKey() const { return std::string("Field_") + m_name; }
    EType Type() const { return m_type; }
    // Packed column index, or -1 for the id, the names and the derived fields.
    int Column() const { return m_column; }
    bool IsColumn() const { return m_column >= 0; }

    // The value of a Number field; for Team and League the first id (the team id that stands
    // for "no team" and 0 when there is none).
    int64_t Number(const CPlayer& player, const SPlayerFieldContext& context) const;
    // The text of the field as tables and lists show it; numbers in decimal, teams and leagues
    // by the name of the first one.
    void AppendText(const CPlayer& player, const SPlayerFieldContext& context,
                    std::string& out) const;
    std::string Text(const CPlayer& player, const SPlayerFieldContext& context) const;

    // The values a bulk change may store: the range the player windows accept where they edit
    // the field, narrowed to the column's range in the loaded file and its width in memory.
    SValueRange EditRange(const CDbCatalogue& catalogue) const;

    // Whole years at that day.
    static int32_t Age(const CPlayer& player, const CDate& ageDate);
    // The day the editor counts ages at: 1 January 2004, the year the game is set in, so ages
    // read as the game's players are meant to be rather than growing with the calendar.
    static CDate AgeDate() { return CDate(2004, 1, 1); }

    enum class ESource {
        Id,
        FirstName,
        CommonName,
        LastName,
        Column,
        Name,
        Age,
        Overall,
        PositionGroup,
        Team,
        League
    };
    constexpr CPlayerField(const char* name, EType type, ESource source, int column = -1)
        : m_name(name), m_type(type), m_source(source), m_column(column) {}
    ESource Source() const { return m_source; }

private:
    const char* m_name;
    EType m_type;
    ESource m_source;
    int m_column;
};
