#include "CFieldDiff.h"

#include "editor/model/CDiffFields.h"
#include "editor/model/CGameDatabase.h"

#include <algorithm>
#include <initializer_list>
#include <map>

namespace {

using EType = SRecordChange::EType;

template <typename R>
void AllFields(const std::vector<SField<R>>& fields, const R& record, bool old,
               std::vector<SFieldChange>& out) {
    out.reserve(out.size() + fields.size());
    for (const SField<R>& field : fields) {
        std::string value = field.get(record);
        out.push_back(old ? SFieldChange{field.name, std::move(value), {}}
                          : SFieldChange{field.name, {}, std::move(value)});
    }
}

// Adds the record's change (if any) to out. Equal records are skipped before any field is
// turned into text: most records of two related databases are.
template <typename R>
void CompareRecord(ERecordKind kind, int32_t id, int32_t sub, const std::vector<SField<R>>& fields,
                   const R* a, const R* b, std::vector<SRecordChange>& out) {
    if ((a && b && *a == *b) || (!a && !b))
        return;
    SRecordChange change{kind, id, sub, a && b ? EType::Changed : a ? EType::Removed : EType::Added,
                         {}, 0};
    if (!b)
        AllFields(fields, *a, true, change.fields);
    else if (!a)
        AllFields(fields, *b, false, change.fields);
    else
        for (const SField<R>& field : fields) {
            std::string before = field.get(*a);
            std::string after = field.get(*b);
            if (before != after)
                change.fields.push_back({field.name, std::move(before), std::move(after)});
        }
    if (!change.fields.empty())
        out.push_back(std::move(change));
}

// Both maps iterate in ascending id: one merge pass.
template <typename T, typename F>
void Merge(const CIdMap<T>& base, const CIdMap<T>& other, F each) {
    auto a = base.begin();
    auto b = other.begin();
    while (a != base.end() || b != other.end()) {
        if (b == other.end() || (a != base.end() && a->first < b->first)) {
            each(a->first, &a->second, static_cast<const T*>(nullptr));
            ++a;
        } else if (a == base.end() || b->first < a->first) {
            each(b->first, static_cast<const T*>(nullptr), &b->second);
            ++b;
        } else {
            each(a->first, &a->second, &b->second);
            ++a;
            ++b;
        }
    }
}

std::map<int32_t, std::vector<int32_t>> LeagueTeams(const CGameDatabase& db) {
    std::map<int32_t, std::vector<int32_t>> teams;
    for (const CLeagueTeamLink& link : db.LeagueTeamLinks())
        teams[link.leagueId].push_back(link.teamId);
    return teams;
}

void CompareTeamParts(int32_t id, const CTeam* a, const CTeam* b, const CDiffFields& fields,
                      std::vector<SRecordChange>& kits, std::vector<SRecordChange>& squads) {
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot)
        CompareRecord(ERecordKind::Kit, id, slot, fields.Kits(), a ? a->FindKit(slot) : nullptr,
                      b ? b->FindKit(slot) : nullptr, kits);
    std::vector<int32_t> players;
    for (const CTeam* team : {a, b})
        if (team)
            for (const CTeamPlayerLink& link : team->Links())
                players.push_back(link.playerId);
    std::sort(players.begin(), players.end());
    players.erase(std::unique(players.begin(), players.end()), players.end());
    for (int32_t player : players)
        CompareRecord(ERecordKind::Squad, id, player, fields.Links(),
                      a ? a->FindLink(player) : nullptr, b ? b->FindLink(player) : nullptr,
                      squads);
}

using CLeagueTeams = std::map<int32_t, std::vector<int32_t>>;

// A league's fields and its list of teams, one record.
void CompareLeague(int32_t id, const CLeague* a, const CLeague* b, const CLeagueTeams& teamsA,
                   const CLeagueTeams& teamsB, const CDiffFields& fields,
                   std::vector<SRecordChange>& leagues) {
    const size_t before = leagues.size();
    CompareRecord(ERecordKind::League, id, 0, fields.Leagues(), a, b, leagues);
    const auto listA = teamsA.find(id);
    const auto listB = teamsB.find(id);
    const std::string textA = listA == teamsA.end() ? "" : CDiffFields::IdListText(listA->second);
    const std::string textB = listB == teamsB.end() ? "" : CDiffFields::IdListText(listB->second);
    if ((a && b && textA == textB) || (!a && !b))
        return;
    if (leagues.size() == before)
        leagues.push_back({ERecordKind::League, id, 0, EType::Changed, {}, 0});
    auto& list = leagues.back().fields;
    list.push_back(!b ? SFieldChange{CDiffFields::kLeagueTeams, textA, {}}
                   : !a ? SFieldChange{CDiffFields::kLeagueTeams, {}, textB}
                        : SFieldChange{CDiffFields::kLeagueTeams, textA, textB});
    std::sort(list.begin(), list.end(),
              [](const SFieldChange& x, const SFieldChange& y) { return x.field < y.field; });
}

void CompareTeam(int32_t id, const CTeam* a, const CTeam* b, const CDiffFields& fields,
                 std::vector<SRecordChange>& teams, std::vector<SRecordChange>& kits,
                 std::vector<SRecordChange>& squads) {
    if ((a && b && *a == *b) || (!a && !b))
        return;
    CompareRecord(ERecordKind::Team, id, 0, fields.Teams(), a, b, teams);
    CompareTeamParts(id, a, b, fields, kits, squads);
}

// The kinds' lists one after the other, in ERecordKind order.
std::vector<SRecordChange> Joined(std::initializer_list<std::vector<SRecordChange>*> parts) {
    size_t size = 0;
    for (const auto* part : parts)
        size += part->size();
    std::vector<SRecordChange> all;
    all.reserve(size);
    for (auto* part : parts)
        std::move(part->begin(), part->end(), std::back_inserter(all));
    return all;
}

} // namespace

std::vector<SRecordChange> CFieldDiff::Compare(const CGameDatabase& base,
                                               const CGameDatabase& other) {
    return Compare(base, other, CDiffFields(other.Catalogue()));
}

std::vector<SRecordChange> CFieldDiff::Compare(const CGameDatabase& base,
                                               const CGameDatabase& other,
                                               const CDiffFields& fields) {
    std::vector<SRecordChange> formations, kits, leagues, players, squads, stadiums, teams;
    Merge(base.Formations(), other.Formations(), [&](int32_t id, auto* a, auto* b) {
        CompareRecord(ERecordKind::Formation, id, 0, fields.Formations(), a, b, formations);
    });
    const auto teamsA = LeagueTeams(base);
    const auto teamsB = LeagueTeams(other);
    Merge(base.Leagues(), other.Leagues(), [&](int32_t id, const CLeague* a, const CLeague* b) {
        CompareLeague(id, a, b, teamsA, teamsB, fields, leagues);
    });
    Merge(base.Players(), other.Players(), [&](int32_t id, auto* a, auto* b) {
        CompareRecord(ERecordKind::Player, id, 0, fields.Players(), a, b, players);
    });
    Merge(base.Stadiums(), other.Stadiums(), [&](int32_t id, auto* a, auto* b) {
        CompareRecord(ERecordKind::Stadium, id, 0, fields.Stadiums(), a, b, stadiums);
    });
    Merge(base.Teams(), other.Teams(), [&](int32_t id, const CTeam* a, const CTeam* b) {
        CompareTeam(id, a, b, fields, teams, kits, squads);
    });
    return Joined({&formations, &kits, &leagues, &players, &squads, &stadiums, &teams});
}

std::vector<SRecordChange> CFieldDiff::CompareNamed(const CGameDatabase& base,
                                                    const CGameDatabase& other,
                                                    const CDiffFields& fields,
                                                    const SNamed& named) {
    std::vector<SRecordChange> formations, kits, leagues, players, squads, stadiums, teams;
    // Small tables that no change names: compared whole.
    Merge(base.Formations(), other.Formations(), [&](int32_t id, auto* a, auto* b) {
        CompareRecord(ERecordKind::Formation, id, 0, fields.Formations(), a, b, formations);
    });
    Merge(base.Stadiums(), other.Stadiums(), [&](int32_t id, auto* a, auto* b) {
        CompareRecord(ERecordKind::Stadium, id, 0, fields.Stadiums(), a, b, stadiums);
    });
    if (!named.leagues.empty()) {
        const auto teamsA = LeagueTeams(base);
        const auto teamsB = LeagueTeams(other);
        for (int32_t id : named.leagues)
            CompareLeague(id, base.FindLeague(id), other.FindLeague(id), teamsA, teamsB, fields,
                          leagues);
    }
    for (int32_t id : named.players)
        CompareRecord(ERecordKind::Player, id, 0, fields.Players(), base.FindPlayer(id),
                      other.FindPlayer(id), players);
    for (int32_t id : named.teams)
        CompareTeam(id, base.FindTeam(id), other.FindTeam(id), fields, teams, kits, squads);
    return Joined({&formations, &kits, &leagues, &players, &squads, &stadiums, &teams});
}

std::string CFieldDiff::Escape(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::string CFieldDiff::Lines(const std::vector<SRecordChange>& changes) {
    std::string out;
    for (const SRecordChange& change : changes) {
        const std::string head = std::string(CDiffFields::KindName(change.kind)) + '\t' +
                                 CDiffFields::IdText(change.kind, change.id, change.sub) + '\t';
        if (change.type != EType::Changed) {
            out += head + (change.type == EType::Added ? "+" : "-") + "\t\t\n";
            continue;
        }
        for (const SFieldChange& field : change.fields)
            out += head + field.field + '\t' + Escape(field.oldValue) + '\t' +
                   Escape(field.newValue) + '\n';
    }
    return out;
}
