#include "CBulkChange.h"

#include "editor/model/CFilterLexer.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

using T = CFilterLexer::EToken;

} // namespace

std::optional<CBulkChange> CBulkChange::Parse(std::string_view text, SQueryError& error) {
    CFilterLexer lexer(text);
    using P = SQueryError::EProblem;
    auto fail = [&](const std::string& message, const CFilterLexer::SToken& token,
                    P problem = P::Other) {
        error.message = token.kind == T::Bad ? token.text : message;
        error.column = token.column;
        error.problem = problem;
        return std::nullopt;
    };
    const CFilterLexer::SToken name = lexer.Take();
    if (name.kind != T::Word)
        return fail("expected a field name", name);
    const CPlayerField* field = CPlayerField::Find(name.text);
    if (!field)
        return fail("unknown field '" + name.text + "'", name);
    if (!field->IsColumn())
        return fail(name.text + " cannot be changed in bulk", name);
    const CFilterLexer::SToken op = lexer.Take();
    EOp kind = EOp::Set;
    if (op.kind == T::Operator && op.text == "=")
        kind = EOp::Set;
    else if (op.kind == T::Operator && op.text == "+=")
        kind = EOp::Add;
    else if (op.kind == T::Operator && op.text == "-=")
        kind = EOp::Subtract;
    else if (op.kind == T::Operator && op.text == "*=")
        kind = EOp::Multiply;
    else
        return fail("expected =, +=, -= or *=", op);
    const bool negative = lexer.Peek().kind == T::Minus;
    const CFilterLexer::SToken minus = negative ? lexer.Take() : CFilterLexer::SToken{};
    const CFilterLexer::SToken value = lexer.Take();
    const CFilterLexer::SToken& start = negative ? minus : value;
    if (value.kind != T::Number)
        return fail("expected a number", start, P::NumberExpected);
    const bool fraction = value.text.find('.') != std::string::npos;
    if (fraction && kind != EOp::Multiply)
        return fail("expected a whole number", start, P::WholeNumberExpected);
    double operand = 0;
    auto [end, ec] =
        std::from_chars(value.text.data(), value.text.data() + value.text.size(), operand);
    // Beyond this every result clamps anyway; the limit keeps the arithmetic exact.
    if (ec != std::errc() || end != value.text.data() + value.text.size() || operand > 1e12)
        return fail("number out of range", start, P::NumberTooLarge);
    if (lexer.Peek().kind != T::End)
        return fail("expected the end", lexer.Peek(), P::EndExpected);
    return CBulkChange(*field, kind, negative ? -operand : operand);
}

int32_t CBulkChange::Apply(int32_t value, int32_t low, int32_t high, bool& clamped) const {
    double result = m_operand;
    switch (m_op) {
    case EOp::Set:
        break;
    case EOp::Add:
        result = static_cast<double>(value) + m_operand;
        break;
    case EOp::Subtract:
        result = static_cast<double>(value) - m_operand;
        break;
    case EOp::Multiply:
        result = std::round(static_cast<double>(value) * m_operand);
        break;
    }
    clamped = result < low || result > high;
    return static_cast<int32_t>(
        std::clamp(result, static_cast<double>(low), static_cast<double>(high)));
}

SBulkPlan SBulkPlan::Make(const CGameDatabase& database, std::span<const int32_t> playerIds,
                          std::span<const CBulkChange> changes) {
    struct SColumnRange {
        int column;
        SValueRange range;
    };
    std::vector<SColumnRange> ranges;
    for (const CBulkChange& change : changes)
        ranges.push_back({change.Field().Column(), change.Field().EditRange(database.Catalogue())});
    // Each column once, in the order the changes first name it.
    std::vector<int> columns;
    for (const SColumnRange& r : ranges)
        if (std::find(columns.begin(), columns.end(), r.column) == columns.end())
            columns.push_back(r.column);

    SBulkPlan plan;
    for (int32_t id : playerIds) {
        const CPlayer* player = database.FindPlayer(id);
        if (!player)
            continue;
        bool touched = false;
        for (int column : columns) {
            const int32_t before = player->ColumnValue(column);
            int32_t value = before;
            bool clamped = false;
            for (size_t i = 0; i < changes.size(); ++i) {
                if (ranges[i].column != column)
                    continue;
                bool step = false;
                value = changes[i].Apply(value, ranges[i].range.low, ranges[i].range.high, step);
                clamped = clamped || step;
            }
            if (clamped)
                ++plan.valuesClamped;
            if (value != before) {
                plan.changes.push_back({id, column, before, value});
                touched = true;
            }
        }
        if (touched)
            ++plan.playersChanged;
    }
    return plan;
}

size_t SBulkPlan::Apply(CGameDatabase& database, bool undo) const {
    size_t written = 0;
    for (const SBulkValueChange& change : changes) {
        CPlayer* player = database.FindPlayer(change.playerId);
        const int32_t expected = undo ? change.after : change.before;
        if (player && player->ColumnValue(change.column) == expected) {
            player->SetStoredValue(change.column, undo ? change.before : change.after);
            ++written;
        }
    }
    if (written > 0)
        database.MarkDirty();
    return written;
}
