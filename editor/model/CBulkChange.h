#pragma once

#include "editor/model/SQueryError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class CDbCatalogue;
class CGameDatabase;
class CPlayerField;

// One change for many players: `pace=80`, `reflexes+=5`, `stamina-=3`, `height*=1.05`
// (rounded to the nearest whole number). The result is clamped to the field's edit range.
class CBulkChange {
public:
    enum class EOp { Set, Add, Subtract, Multiply };

    static std::optional<CBulkChange> Parse(std::string_view text, SQueryError& error);

    const CPlayerField& Field() const { return *m_field; }
    EOp Op() const { return m_op; }
    double Operand() const { return m_operand; }

    // The new value before clamping, and whether clamping changed it.
    int32_t Apply(int32_t value, int32_t low, int32_t high, bool& clamped) const;

private:
    CBulkChange(const CPlayerField& field, EOp op, double operand)
        : m_field(&field), m_op(op), m_operand(operand) {}

    const CPlayerField* m_field;
    EOp m_op;
    double m_operand;
};

// One value a bulk edit changes, with what was there, so the edit can be undone.
struct SBulkValueChange {
    int32_t playerId;
    int column;
    int32_t before;
    int32_t after;
};

// What a list of changes does to a set of players: the values that change, how many players
// that touches and how many results were clamped into range. Planning changes nothing, so the
// same plan serves a preview, a dry run, the edit and its undo.
struct SBulkPlan {
    std::vector<SBulkValueChange> changes;
    size_t playersChanged = 0;
    size_t valuesClamped = 0;

    static SBulkPlan Make(const CGameDatabase& database, std::span<const int32_t> playerIds,
                          std::span<const CBulkChange> changes);
    // Writes the new values (or the old ones, to undo) and marks the database changed. A value
    // changed elsewhere since the plan was made or applied stays: undo never takes back a later
    // edit. Returns how many values were written.
    size_t Apply(CGameDatabase& database, bool undo = false) const;
};
