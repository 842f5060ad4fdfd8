#include "CPlayerFilter.h"

#include "editor/model/CFilterLexer.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CTextCase.h"

#include <algorithm>
#include <charconv>

namespace {

using T = CFilterLexer::EToken;
using FT = CPlayerField::EType;

// Deep enough for any expression a person writes, shallow enough for the parser's stack.
constexpr int kMaxDepth = 100;

bool ParseWholeNumber(const std::string& text, int64_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool Contains(const std::vector<int32_t>& sorted, int32_t id) {
    return std::binary_search(sorted.begin(), sorted.end(), id);
}

} // namespace

class CPlayerFilter::CParser {
public:
    CParser(std::string_view text, CPlayerFilter& filter) : m_lexer(text), m_filter(filter) {}

    bool Run(SQueryError& error) {
        if (m_lexer.Peek().kind == T::End) {
            m_filter.m_nodes.push_back({});
            m_filter.m_root = 0;
            return true;
        }
        const int root = Or(0);
        if (root >= 0 && m_lexer.Peek().kind != T::End)
            Fail("expected 'and', 'or' or the end", m_lexer.Peek());
        if (!m_error.message.empty()) {
            error = m_error;
            return false;
        }
        m_filter.m_root = root;
        return true;
    }

private:
    int Fail(const std::string& message, const CFilterLexer::SToken& token) {
        if (m_error.message.empty()) {
            // A token the lexer could not read says best what is wrong there.
            m_error.message = token.kind == T::Bad ? token.text : message;
            m_error.column = token.column;
        }
        return -1;
    }

    int Add(SNode node) {
        m_filter.m_nodes.push_back(std::move(node));
        return static_cast<int>(m_filter.m_nodes.size()) - 1;
    }

    int Binary(EKind kind, int left, int right) {
        SNode node;
        node.kind = kind;
        node.left = left;
        node.right = right;
        return Add(std::move(node));
    }

    int Or(int depth) {
        int left = And(depth);
        while (left >= 0 && CFilterLexer::IsKeyword(m_lexer.Peek(), "or")) {
            m_lexer.Take();
            const int right = And(depth);
            if (right < 0)
                return -1;
            left = Merge(left, right) ? left : Binary(EKind::Or, left, right);
        }
        return left;
    }

    // "name~a or name~b" is one comparison with both values: each player's name is looked at
    // once for all of them, however long the chain. Only for values a text contains or equals
    // (a negated comparison does not join an "or").
    bool Merge(int left, int right) {
        SNode& a = m_filter.m_nodes[static_cast<size_t>(left)];
        const SNode& b = m_filter.m_nodes[static_cast<size_t>(right)];
        const bool joinable = a.kind == EKind::Compare && b.kind == EKind::Compare &&
                              a.field == b.field && a.op == b.op &&
                              (a.op == EOp::Contains || a.op == EOp::Equal) &&
                              a.field->Type() == CPlayerField::EType::Text;
        if (!joinable || right + 1 != static_cast<int>(m_filter.m_nodes.size())) {
            return false;
        }
        a.texts.insert(a.texts.end(), b.texts.begin(), b.texts.end());
        m_filter.m_nodes.pop_back();
        return true;
    }

    int And(int depth) {
        int left = Unary(depth);
        while (left >= 0 && CFilterLexer::IsKeyword(m_lexer.Peek(), "and")) {
            m_lexer.Take();
            const int right = Unary(depth);
            if (right < 0)
                return -1;
            left = Binary(EKind::And, left, right);
        }
        return left;
    }

    int Unary(int depth) {
        if (depth > kMaxDepth)
            return Fail("too deeply nested", m_lexer.Peek());
        if (CFilterLexer::IsKeyword(m_lexer.Peek(), "not")) {
            m_lexer.Take();
            const int operand = Unary(depth + 1);
            return operand < 0 ? -1 : Binary(EKind::Not, operand, -1);
        }
        if (m_lexer.Peek().kind == T::Open) {
            m_lexer.Take();
            const int inner = Or(depth + 1);
            if (inner < 0)
                return -1;
            if (m_lexer.Peek().kind != T::Close)
                return Fail("expected ')'", m_lexer.Peek());
            m_lexer.Take();
            return inner;
        }
        return Comparison();
    }

    int Comparison() {
        const CFilterLexer::SToken name = m_lexer.Take();
        if (name.kind != T::Word || IsReserved(name))
            return Fail("expected a field name", name);
        if (++m_comparisons > kMaxComparisons)
            return Fail("more than " + std::to_string(kMaxComparisons) + " comparisons", name);
        SNode node;
        node.kind = EKind::Compare;
        node.field = CPlayerField::Find(name.text);
        if (!node.field)
            return Fail("unknown field '" + name.text + "'", name);
        const FT type = node.field->Type();
        bool negated = false;
        if (CFilterLexer::IsKeyword(m_lexer.Peek(), "not")) {
            m_lexer.Take();
            negated = true;
            if (!CFilterLexer::IsKeyword(m_lexer.Peek(), "in"))
                return Fail("expected 'in'", m_lexer.Peek());
        }
        const CFilterLexer::SToken op = m_lexer.Take();
        if (CFilterLexer::IsKeyword(op, "in")) {
            node.op = EOp::In;
            if (m_lexer.Peek().kind != T::Open)
                return Fail("expected '('", m_lexer.Peek());
            m_lexer.Take();
            do {
                if (!Value(node))
                    return -1;
            } while (m_lexer.Peek().kind == T::Comma && (m_lexer.Take(), true));
            if (m_lexer.Peek().kind != T::Close)
                return Fail("expected ',' or ')'", m_lexer.Peek());
            m_lexer.Take();
        } else {
            if (op.kind != T::Operator || !OperatorOf(op.text, node.op))
                return Fail("expected an operator (=, !=, <, <=, >, >=, ~, !~, in)", op);
            const bool textOp = node.op == EOp::Contains || node.op == EOp::NotContains;
            const bool ordered = node.op != EOp::Equal && node.op != EOp::NotEqual && !textOp;
            if (textOp && type == FT::Number)
                return Fail(
                    "'" + op.text + "' needs a text field, and " + name.text + " is a number", op);
            if (ordered && type == FT::Text)
                return Fail("'" + op.text + "' does not apply to text", op);
            if (!Value(node))
                return -1;
        }
        const int compare = Add(std::move(node));
        return negated ? Binary(EKind::Not, compare, -1) : compare;
    }

    // One value of the node's field type; teams and leagues take ids or names, but only ids
    // for ordering and only names for ~.
    bool Value(SNode& node) {
        const FT type = node.field->Type();
        const bool textOp = node.op == EOp::Contains || node.op == EOp::NotContains;
        const bool ordered =
            node.op != EOp::Equal && node.op != EOp::NotEqual && node.op != EOp::In && !textOp;
        const bool reference = type == FT::Team || type == FT::League;
        const bool wantsNumber = type == FT::Number || (reference && !textOp);
        const bool wantsText = type == FT::Text || (reference && !ordered);
        const char* expected = wantsNumber && wantsText ? "expected a number or a text in quotes"
                               : wantsNumber            ? "expected a number"
                                                        : "expected a text in quotes";
        const bool negative = m_lexer.Peek().kind == T::Minus;
        const CFilterLexer::SToken minus = negative ? m_lexer.Take() : CFilterLexer::SToken{};
        const CFilterLexer::SToken value = m_lexer.Take();
        const CFilterLexer::SToken& start = negative ? minus : value;
        if (++m_values > kMaxValues) {
            Fail("more than " + std::to_string(kMaxValues) + " values", start);
            return false;
        }
        if (value.kind == T::Number && wantsNumber) {
            int64_t number = 0;
            if (!ParseWholeNumber(value.text, number)) {
                const bool fraction = value.text.find('.') != std::string::npos;
                Fail(fraction ? "expected a whole number" : "number out of range", start);
                return false;
            }
            node.numbers.push_back(negative ? -number : number);
            return true;
        }
        if (value.kind == T::Text && wantsText && !negative) {
            node.texts.push_back(CTextCase::ToUpper(value.text));
            return true;
        }
        Fail(expected, start);
        return false;
    }

    static bool OperatorOf(const std::string& text, EOp& op) {
        if (text == "=" || text == "==")
            op = EOp::Equal;
        else if (text == "!=" || text == "<>")
            op = EOp::NotEqual;
        else if (text == "<")
            op = EOp::Less;
        else if (text == "<=")
            op = EOp::LessEqual;
        else if (text == ">")
            op = EOp::Greater;
        else if (text == ">=")
            op = EOp::GreaterEqual;
        else if (text == "~")
            op = EOp::Contains;
        else if (text == "!~")
            op = EOp::NotContains;
        else
            return false;
        return true;
    }

    static bool IsReserved(const CFilterLexer::SToken& token) {
        for (const char* keyword : {"and", "or", "not", "in"})
            if (CFilterLexer::IsKeyword(token, keyword))
                return true;
        return false;
    }

    CFilterLexer m_lexer;
    CPlayerFilter& m_filter;
    SQueryError m_error;
    size_t m_comparisons = 0;
    size_t m_values = 0;
};

std::optional<CPlayerFilter> CPlayerFilter::Parse(std::string_view text, SQueryError& error) {
    CPlayerFilter filter;
    if (!CParser(text, filter).Run(error))
        return std::nullopt;
    return filter;
}

void CPlayerFilter::Bind(const CGameDatabase& database) {
    // Each name is folded once, however many terms compare it.
    std::vector<std::pair<int32_t, std::string>> teams, leagues;
    const auto folded = [&](FT type) -> const std::vector<std::pair<int32_t, std::string>>& {
        auto& names = type == FT::Team ? teams : leagues;
        if (names.empty() && type == FT::Team)
            for (const auto& [id, team] : database.Teams())
                names.emplace_back(id, CTextCase::ToUpper(team.Name()));
        else if (names.empty())
            for (const auto& [id, league] : database.Leagues())
                names.emplace_back(id, CTextCase::ToUpper(league.name));
        return names;
    };
    for (SNode& node : m_nodes) {
        if (node.kind != EKind::Compare)
            continue;
        const FT type = node.field->Type();
        if (type != FT::Team && type != FT::League)
            continue;
        node.ids.clear();
        for (int64_t number : node.numbers)
            if (number >= INT32_MIN && number <= INT32_MAX)
                node.ids.push_back(static_cast<int32_t>(number));
        if (!node.texts.empty())
            for (const auto& [id, name] : folded(type))
                if (TextMatches(node, name))
                    node.ids.push_back(id);
        std::sort(node.ids.begin(), node.ids.end());
    }
}

bool CPlayerFilter::Matches(const CPlayer& player, const SPlayerFieldContext& context) const {
    m_foldedValid.fill(false);
    return Evaluate(m_root, player, context);
}

std::vector<int32_t> CPlayerFilter::Select(const SPlayerFieldContext& context) {
    Bind(context.database);
    std::vector<int32_t> ids;
    for (const auto& [id, player] : context.database.Players())
        if (Matches(player, context))
            ids.push_back(id);
    return ids;
}

bool CPlayerFilter::Evaluate(int index, const CPlayer& player,
                             const SPlayerFieldContext& context) const {
    const SNode& node = m_nodes[index];
    switch (node.kind) {
    case EKind::All:
        return true;
    case EKind::And:
        return Evaluate(node.left, player, context) && Evaluate(node.right, player, context);
    case EKind::Or:
        return Evaluate(node.left, player, context) || Evaluate(node.right, player, context);
    case EKind::Not:
        return !Evaluate(node.left, player, context);
    case EKind::Compare:
        return Compare(node, player, context);
    }
    return false;
}

bool CPlayerFilter::TextMatches(const SNode& node, std::string_view text) const {
    const bool contains = node.op == EOp::Contains || node.op == EOp::NotContains;
    for (const std::string& value : node.texts)
        if (contains ? text.find(value) != std::string_view::npos : text == value)
            return true;
    return false;
}

bool CPlayerFilter::Compare(const SNode& node, const CPlayer& player,
                            const SPlayerFieldContext& context) const {
    const bool negative = node.op == EOp::NotEqual || node.op == EOp::NotContains;
    switch (node.field->Type()) {
    case FT::Text:
        return CompareText(node, player) != negative;
    case FT::Team:
    case FT::League:
        return CompareIds(node, player, context);
    case FT::Number:
        break;
    }
    const int64_t value = node.field->Number(player, context);
    switch (node.op) {
    case EOp::Equal:
        return value == node.numbers[0];
    case EOp::NotEqual:
        return value != node.numbers[0];
    case EOp::Less:
        return value < node.numbers[0];
    case EOp::LessEqual:
        return value <= node.numbers[0];
    case EOp::Greater:
        return value > node.numbers[0];
    case EOp::GreaterEqual:
        return value >= node.numbers[0];
    case EOp::In:
        return std::find(node.numbers.begin(), node.numbers.end(), value) != node.numbers.end();
    case EOp::Contains:
    case EOp::NotContains:
        break;
    }
    return false;
}

const std::string& CPlayerFilter::Folded(const CPlayer& player,
                                        CPlayerField::ESource source) const {
    using S = CPlayerField::ESource;
    const size_t slot = source == S::FirstName ? 0 : source == S::CommonName ? 1
                        : source == S::LastName ? 2 : 3;
    std::string& folded = m_folded[slot];
    if (m_foldedValid[slot])
        return folded;
    folded.clear();
    if (slot == 0) {
        CTextCase::AppendUpper(player.FirstName(), folded);
    } else if (slot == 1) {
        CTextCase::AppendUpper(player.CommonName(), folded);
    } else if (slot == 2) {
        CTextCase::AppendUpper(player.LastName(), folded);
    } else {
        // The name lists show: first and last name.
        if (!player.FirstName().empty()) {
            CTextCase::AppendUpper(player.FirstName(), folded);
            folded += ' ';
        }
        CTextCase::AppendUpper(player.LastName(), folded);
    }
    m_foldedValid[slot] = true;
    return folded;
}

bool CPlayerFilter::CompareText(const SNode& node, const CPlayer& player) const {
    using S = CPlayerField::ESource;
    const S source = node.field->Source();
    if (source == S::FirstName || source == S::CommonName || source == S::LastName)
        return TextMatches(node, Folded(player, source));
    // A player is found by the name lists show and by the common name the game shows.
    return TextMatches(node, Folded(player, S::Name)) ||
           (!player.CommonName().empty() && TextMatches(node, Folded(player, S::CommonName)));
}

bool CPlayerFilter::CompareIds(const SNode& node, const CPlayer& player,
                               const SPlayerFieldContext& context) const {
    m_candidates.clear();
    if (node.field->Type() == FT::Team) {
        m_candidates = player.Teams();
        if (m_candidates.empty())
            m_candidates.push_back(CGameDatabase::kNoTeamId);
    } else {
        for (int32_t teamId : player.Teams())
            if (const CTeam* team = context.database.FindTeam(teamId))
                m_candidates.insert(m_candidates.end(), team->Leagues().begin(),
                                    team->Leagues().end());
    }
    auto any = [&](auto test) {
        return std::any_of(m_candidates.begin(), m_candidates.end(), test);
    };
    const int64_t limit = node.numbers.empty() ? 0 : node.numbers[0];
    switch (node.op) {
    case EOp::Equal:
    case EOp::In:
    case EOp::Contains:
        return any([&](int32_t id) { return Contains(node.ids, id); });
    case EOp::NotEqual:
    case EOp::NotContains:
        return !any([&](int32_t id) { return Contains(node.ids, id); });
    case EOp::Less:
        return any([&](int32_t id) { return id < limit; });
    case EOp::LessEqual:
        return any([&](int32_t id) { return id <= limit; });
    case EOp::Greater:
        return any([&](int32_t id) { return id > limit; });
    case EOp::GreaterEqual:
        return any([&](int32_t id) { return id >= limit; });
    }
    return false;
}
