#pragma once

#include "editor/model/CPlayerField.h"
#include "editor/model/SQueryError.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CGameDatabase;
class CPlayer;

// A parsed player filter such as `pace>=85 and age<21 and not name~"son"` (the syntax is in
// docs/filters.md). Parse once, Bind to the database (team and league names become ids),
// then test players; Select does all three steps over every player.
class CPlayerFilter {
public:
    // Bounds on what Parse takes: far beyond any filter a person writes, small enough that a
    // generated one cannot make a scan of every player take minutes.
    static constexpr size_t kMaxComparisons = 10000;
    static constexpr size_t kMaxValues = 100000;

    // Blank text keeps every player.
    static std::optional<CPlayerFilter> Parse(std::string_view text, SQueryError& error);

    // Resolves team and league names against the database; again after names change.
    void Bind(const CGameDatabase& database);
    bool Matches(const CPlayer& player, const SPlayerFieldContext& context) const;
    // Binds and returns the ids of the matching players in ascending id.
    std::vector<int32_t> Select(const SPlayerFieldContext& context);

    bool KeepsAll() const { return m_nodes[m_root].kind == EKind::All; }

private:
    enum class EKind { All, And, Or, Not, Compare };
    enum class EOp {
        Equal,
        NotEqual,
        Less,
        LessEqual,
        Greater,
        GreaterEqual,
        Contains,
        NotContains,
        In
    };

    struct SNode {
        EKind kind = EKind::All;
        int left = -1;
        int right = -1;
        const CPlayerField* field = nullptr;
        EOp op = EOp::Equal;
        std::vector<int64_t> numbers;
        std::vector<std::string> texts; // upper case
        std::vector<int32_t> ids;       // teams or leagues named by the values, sorted
    };

    class CParser;

    bool Evaluate(int node, const CPlayer& player, const SPlayerFieldContext& context) const;
    bool Compare(const SNode& node, const CPlayer& player,
                 const SPlayerFieldContext& context) const;
    bool CompareText(const SNode& node, const CPlayer& player) const;
    // The player's names upper-cased, each folded once per player however many terms ask.
    const std::string& Folded(const CPlayer& player, CPlayerField::ESource source) const;
    bool CompareIds(const SNode& node, const CPlayer& player,
                    const SPlayerFieldContext& context) const;
    bool TextMatches(const SNode& node, std::string_view text) const;

    std::vector<SNode> m_nodes;
    int m_root = 0;
    // Upper-cased names of the player Matches tests (first, common, last, and the name lists
    // show), kept for its terms and reused so that a scan allocates nothing per player.
    static constexpr size_t kFoldedNames = 4;
    mutable std::array<std::string, kFoldedNames> m_folded;
    mutable std::array<bool, kFoldedNames> m_foldedValid{};
    mutable std::vector<int32_t> m_candidates;
};
