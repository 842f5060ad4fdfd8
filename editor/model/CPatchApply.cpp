#include "CPatchApply.h"

#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CDiffFields.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPatch.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

namespace {

using EType = SRecordChange::EType;
using K = ERecordKind;

// Records as the patch leaves them, copied from the database when first touched; nothing for a
// record the patch removes.
template <typename R> struct SStage {
    std::map<int32_t, std::optional<R>> records;

    const R* Peek(const CIdMap<R>& map, int32_t id) const {
        const auto it = records.find(id);
        if (it != records.end())
            return it->second ? &*it->second : nullptr;
        return map.Find(id);
    }
    R* Get(const CIdMap<R>& map, int32_t id) {
        const auto it = records.find(id);
        if (it != records.end())
            return it->second ? &*it->second : nullptr;
        const R* found = map.Find(id);
        return found ? &*records.emplace(id, *found).first->second : nullptr;
    }
};

class CApplier {
public:
    CApplier(CGameDatabase& db, const CPatchApply::SOptions& options, CPatchApply::SResult& result)
        : m_db(db), m_fields(db.Catalogue()), m_options(options), m_result(result) {}

    void Run(const CPatch& patch) {
        m_changes = patch.changes;
        Renumber();
        if (!m_result.errors.empty())
            return;
        for (K kind : {K::Formation, K::Stadium, K::League, K::Team, K::Player})
            Each(EType::Added, kind);
        for (K kind : {K::Formation, K::Kit, K::League, K::Player, K::Squad, K::Stadium, K::Team})
            Each(EType::Changed, kind);
        for (K kind : {K::Kit, K::Squad})
            Each(EType::Added, kind);
        for (K kind : {K::Squad, K::Kit})
            Each(EType::Removed, kind);
        for (K kind : {K::Team, K::Player, K::League, K::Stadium, K::Formation})
            Each(EType::Removed, kind);
        std::sort(m_result.changes.begin(), m_result.changes.end(),
                  [](const SRecordChange& a, const SRecordChange& b) {
                      return std::tie(a.kind, a.id, a.sub) < std::tie(b.kind, b.id, b.sub);
                  });
        for (SRecordChange& change : m_result.changes)
            std::sort(change.fields.begin(), change.fields.end(),
                      [](const SFieldChange& a, const SFieldChange& b) { return a.field < b.field; });
        if (!m_result.errors.empty() ||
            (!m_result.conflicts.empty() && m_options.resolve == CPatchApply::EResolve::Refuse))
            return;
        if (m_options.dryRun) {
            m_result.ok = true;
            return;
        }
        Commit();
    }

private:
    // --- ids taken here: new ids, and the references inside the patch follow them.

    template <typename R>
    bool SameAsAdded(const std::vector<SField<R>>& fields, const R& record,
                     const SRecordChange& change) const {
        for (const SFieldChange& f : change.fields) {
            if (f.field == CDiffFields::kLeagueTeams) {
                if (CDiffFields::IdListText(m_db.TeamsOfLeague(change.id)) != f.newValue)
                    return false;
                continue;
            }
            const SField<R>* field = CDiffFields::Find(fields, f.field);
            if (!field || field->get(record) != f.newValue)
                return false;
        }
        return true;
    }

    // True when the id is free here, or taken by a record equal to the added one (which is
    // then left as it is).
    bool Fits(const SRecordChange& change) const {
        switch (change.kind) {
        case K::Player: {
            const CPlayer* p = m_db.FindPlayer(change.id);
            return !p || SameAsAdded(m_fields.Players(), *p, change);
        }
        case K::Team: {
            const CTeam* t = m_db.FindTeam(change.id);
            return !t || SameAsAdded(m_fields.Teams(), *t, change);
        }
        case K::League: {
            const CLeague* l = m_db.FindLeague(change.id);
            return !l || SameAsAdded(m_fields.Leagues(), *l, change);
        }
        case K::Stadium: {
            const CStadium* s = m_db.FindStadium(change.id);
            return !s || SameAsAdded(m_fields.Stadiums(), *s, change);
        }
        case K::Formation: {
            const CFormationName* f = m_db.FindFormation(change.id);
            return !f || SameAsAdded(m_fields.Formations(), *f, change);
        }
        default:
            return true;
        }
    }

    int32_t Largest(K kind) const {
        int32_t largest = 0;
        switch (kind) {
        case K::Player: largest = std::max(m_db.MaxPlayerId(), CGameDatabase::kFirstNewPlayerId); break;
        case K::Team: largest = m_db.MaxTeamId(); break;
        case K::League: largest = m_db.MaxLeagueId(); break;
        case K::Stadium:
            largest = m_db.Stadiums().empty() ? 0 : (m_db.Stadiums().end() - 1)->first;
            break;
        case K::Formation:
            largest = m_db.Formations().empty() ? 0 : (m_db.Formations().end() - 1)->first;
            break;
        default: break;
        }
        for (const SRecordChange& change : m_changes)
            if (change.kind == kind)
                largest = std::max(largest, change.id);
        return largest;
    }

    static int32_t Mapped(const std::map<int32_t, int32_t>& map, int32_t id) {
        const auto it = map.find(id);
        return it == map.end() ? id : it->second;
    }

    static void MapValue(const std::map<int32_t, int32_t>& map, std::string& value) {
        if (map.empty())
            return;
        int32_t id = 0;
        if (ParseInt32(value, id))
            value = std::to_string(Mapped(map, id));
    }

    static void MapList(const std::map<int32_t, int32_t>& map, std::string& value) {
        std::vector<int32_t> ids;
        if (map.empty() || !CDiffFields::ParseIdList(value, ids))
            return;
        for (int32_t& id : ids)
            id = Mapped(map, id);
        value = CDiffFields::IdListText(ids);
    }

    void Renumber() {
        std::map<K, std::map<int32_t, int32_t>> renamed;
        std::map<K, int32_t> next;
        for (size_t i = 0; i < m_changes.size(); ++i) {
            const SRecordChange& change = m_changes[i];
            if (change.type != EType::Added || CDiffFields::HasSub(change.kind))
                continue;
            const bool taken = change.kind == K::Player      ? m_db.FindPlayer(change.id) != nullptr
                               : change.kind == K::Team      ? m_db.FindTeam(change.id) != nullptr
                               : change.kind == K::League    ? m_db.FindLeague(change.id) != nullptr
                               : change.kind == K::Stadium   ? m_db.FindStadium(change.id) != nullptr
                                                             : m_db.FindFormation(change.id) != nullptr;
            if (!taken)
                continue;
            if (Fits(change)) {
                m_present.insert(i);
                continue;
            }
            if (!next.count(change.kind))
                next[change.kind] = Largest(change.kind);
            int32_t& last = next[change.kind];
            if (last == std::numeric_limits<int32_t>::max()) {
                Error(change, "no free id is left for it");
                return;
            }
            renamed[change.kind][change.id] = ++last;
            m_result.renumbered.push_back({change.kind, change.id, last});
        }
        if (renamed.empty())
            return;
        const auto& players = renamed[K::Player];
        const auto& teams = renamed[K::Team];
        const auto& leagues = renamed[K::League];
        const auto& stadiums = renamed[K::Stadium];
        const auto& formations = renamed[K::Formation];
        for (SRecordChange& change : m_changes) {
            switch (change.kind) {
            case K::Player: change.id = Mapped(players, change.id); break;
            case K::Team:
            case K::Kit: change.id = Mapped(teams, change.id); break;
            case K::Squad:
                change.id = Mapped(teams, change.id);
                change.sub = Mapped(players, change.sub);
                break;
            case K::League: change.id = Mapped(leagues, change.id); break;
            case K::Stadium: change.id = Mapped(stadiums, change.id); break;
            case K::Formation: change.id = Mapped(formations, change.id); break;
            }
            if (change.type == EType::Removed)
                continue;
            for (SFieldChange& f : change.fields) {
                if (change.kind == K::League && f.field == CDiffFields::kLeagueTeams)
                    MapList(teams, f.newValue);
                if (change.kind != K::Team)
                    continue;
                if (f.field == "stadium_id" || f.field == "training_stadium_id")
                    MapValue(stadiums, f.newValue);
                else if (f.field == "opponent_team_id")
                    MapValue(teams, f.newValue);
                else if (f.field == "formation_id")
                    MapValue(formations, f.newValue);
                else if (f.field == CDiffFields::kRivals)
                    MapList(teams, f.newValue);
                else if (std::find(CTeam::TakerNames().begin(), CTeam::TakerNames().end(),
                                   f.field) != CTeam::TakerNames().end())
                    MapValue(players, f.newValue);
            }
        }
    }

    // --- conflicts, errors and what changed

    std::string Where(const SRecordChange& change) const {
        return (change.line > 0 ? "line " + std::to_string(change.line) + ": " : std::string()) +
               CDiffFields::KindName(change.kind) + " " +
               CDiffFields::IdText(change.kind, change.id, change.sub);
    }

    void Error(const SRecordChange& change, const std::string& what) {
        m_result.errors.push_back(Where(change) + ": " + what);
    }

    // Records the conflict; true when the patch's value wins it.
    bool Conflict(const SRecordChange& change, const std::string& field, const std::string& base,
                  const std::string& ours, const std::string& theirs) {
        CPatchApply::SConflict conflict{change.kind, change.id, change.sub, field,
                                        base,        ours,      theirs,     change.line};
        const bool wins = m_options.resolve == CPatchApply::EResolve::Theirs ||
                          (m_options.resolve == CPatchApply::EResolve::Choose &&
                           m_options.theirs.count(conflict.Key()));
        m_result.conflicts.push_back(std::move(conflict));
        return wins;
    }

    void Note(const SRecordChange& change, EType type, const std::string& field,
              const std::string& before, const std::string& after) {
        const auto key = std::make_tuple(static_cast<int>(change.kind), change.id, change.sub);
        auto it = m_noted.find(key);
        if (it == m_noted.end()) {
            m_result.changes.push_back({change.kind, change.id, change.sub, type, {}, change.line});
            it = m_noted.emplace(key, m_result.changes.size() - 1).first;
        }
        m_result.changes[it->second].fields.push_back({field, before, after});
    }

    // Sets one field through its checked setter; false after noting the error.
    template <typename R>
    bool Set(const std::vector<SField<R>>& fields, R& record, const SRecordChange& change,
             const std::string& name, const std::string& value) {
        const SField<R>* field = CDiffFields::Find(fields, name);
        if (!field) {
            Error(change, "unknown field '" + name + "'");
            return false;
        }
        if (!m_options.namesStorable && IsInGameNameField(name) && field->get(record) != value) {
            Error(change, "field " + name +
                              ": kept in the in-game text database, and there is none to save it in");
            return false;
        }
        if (std::string error = field->set(record, value); !error.empty()) {
            Error(change, "field " + name + ": " + error);
            return false;
        }
        return true;
    }

    std::string LeagueTeamsText(int32_t id) const {
        const auto it = m_leagueTeams.find(id);
        return CDiffFields::IdListText(it != m_leagueTeams.end() ? it->second
                                                                 : m_db.TeamsOfLeague(id));
    }

    void SetLeagueTeams(const SRecordChange& change, const std::string& value) {
        std::vector<int32_t> teams;
        if (!CDiffFields::ParseIdList(value, teams))
            Error(change, "field teams: '" + value + "' is not a list of ids");
        m_leagueTeams[change.id] = std::move(teams);
    }

    // --- the record kinds

    void Each(EType type, K kind) {
        for (size_t i = 0; i < m_changes.size(); ++i) {
            const SRecordChange& change = m_changes[i];
            if (change.type != type || change.kind != kind || m_present.count(i))
                continue;
            switch (kind) {
            case K::Player: Record(m_players, m_db.Players(), m_fields.Players(), change, [](int32_t id) { return CPlayer(id); }); break;
            case K::Team: Record(m_teams, m_db.Teams(), m_fields.Teams(), change, [](int32_t id) { return CTeam(id); }); break;
            case K::League:
                Record(m_leagues, m_db.Leagues(), m_fields.Leagues(), change, [](int32_t id) {
                    CLeague league;
                    league.id = id;
                    return league;
                });
                break;
            case K::Stadium:
                Record(m_stadiums, m_db.Stadiums(), m_fields.Stadiums(), change, [](int32_t id) {
                    CStadium stadium;
                    stadium.id = id;
                    return stadium;
                });
                break;
            case K::Formation:
                Record(m_formations, m_db.Formations(), m_fields.Formations(), change,
                       [](int32_t id) {
                           CFormationName formation;
                           formation.id = id;
                           return formation;
                       });
                break;
            case K::Kit: Kit(change); break;
            case K::Squad: Squad(change); break;
            }
        }
    }

    // Compares an existing record with the values a patch adds for it; changes the record
    // where the patch's value wins a conflict. Without a record it is added.
    template <typename R>
    void Changed(const std::vector<SField<R>>& fields, R& record, const SRecordChange& change,
                 bool asAdded) {
        for (const SFieldChange& f : change.fields) {
            const bool list = change.kind == K::League && f.field == CDiffFields::kLeagueTeams;
            const SField<R>* field = list ? nullptr : CDiffFields::Find(fields, f.field);
            if (!list && !field) {
                Error(change, "unknown field '" + f.field + "'");
                continue;
            }
            const std::string current = list ? LeagueTeamsText(change.id) : field->get(record);
            if (current == f.newValue)
                continue;
            if (!asAdded && current != f.oldValue &&
                !Conflict(change, f.field, f.oldValue, current, f.newValue))
                continue;
            if (asAdded && !Conflict(change, f.field, "", current, f.newValue))
                continue;
            if (list)
                SetLeagueTeams(change, f.newValue);
            else if (!Set(fields, record, change, f.field, f.newValue))
                continue;
            Note(change, EType::Changed, f.field, current, f.newValue);
        }
    }

    // Whether the record still has the values the patch removes it with; conflicts for those
    // it does not have. True when it goes.
    template <typename R>
    bool Removable(const std::vector<SField<R>>& fields, const R& record,
                   const SRecordChange& change) {
        bool goes = true;
        for (const SFieldChange& f : change.fields) {
            const bool list = change.kind == K::League && f.field == CDiffFields::kLeagueTeams;
            const SField<R>* field = list ? nullptr : CDiffFields::Find(fields, f.field);
            if (!list && !field)
                continue;
            const std::string current = list ? LeagueTeamsText(change.id) : field->get(record);
            if (current != f.oldValue)
                goes &= Conflict(change, f.field, f.oldValue, current, "-");
        }
        return goes;
    }

    void NoteAll(const SRecordChange& change, EType type) {
        for (const SFieldChange& f : change.fields)
            Note(change, type, f.field, f.oldValue, f.newValue);
    }

    template <typename R, typename TMake>
    void Record(SStage<R>& stage, const CIdMap<R>& map, const std::vector<SField<R>>& fields,
                const SRecordChange& change, TMake make) {
        if (change.type == EType::Added) {
            R record = make(change.id);
            for (const SFieldChange& f : change.fields) {
                if (change.kind == K::League && f.field == CDiffFields::kLeagueTeams)
                    SetLeagueTeams(change, f.newValue);
                else
                    Set(fields, record, change, f.field, f.newValue);
            }
            stage.records[change.id] = std::move(record);
            NoteAll(change, EType::Added);
            return;
        }
        const R* current = stage.Peek(map, change.id);
        if (change.type == EType::Changed) {
            if (!current) {
                Conflict(change, "-", "", "-", "changed");
                return;
            }
            Changed(fields, *stage.Get(map, change.id), change, false);
            return;
        }
        if (!current || !Removable(fields, *current, change))
            return;
        if constexpr (std::is_same_v<R, CTeam>) {
            for (const CTeamPlayerLink& link : current->Links())
                if (CPlayer* player = m_players.Get(m_db.Players(), link.playerId))
                    player->RemoveTeam(change.id);
        }
        if constexpr (std::is_same_v<R, CLeague>)
            m_leagueTeams[change.id].clear();
        stage.records[change.id] = std::nullopt;
        NoteAll(change, EType::Removed);
    }

    void Kit(const SRecordChange& change) {
        const CTeam* team = m_teams.Peek(m_db.Teams(), change.id);
        const CTeamKit* kit = team ? team->FindKit(change.sub) : nullptr;
        if (change.type == EType::Removed) {
            if (kit && Removable(m_fields.Kits(), *kit, change)) {
                m_teams.Get(m_db.Teams(), change.id)->ClearKit(change.sub);
                NoteAll(change, EType::Removed);
            }
            return;
        }
        if (!team) {
            if (change.type == EType::Added)
                Error(change, "there is no team " + std::to_string(change.id));
            else
                Conflict(change, "-", "", "-", "changed");
            return;
        }
        if (!kit && change.type == EType::Changed) {
            Conflict(change, "-", "", "-", "changed");
            return;
        }
        CTeamKit staged;
        if (kit) {
            staged = *kit;
            Changed(m_fields.Kits(), staged, change, change.type == EType::Added);
        } else {
            staged.SetTeamId(change.id);
            staged.SetKitType(change.sub);
            for (const SFieldChange& f : change.fields)
                Set(m_fields.Kits(), staged, change, f.field, f.newValue);
            NoteAll(change, EType::Added);
        }
        m_teams.Get(m_db.Teams(), change.id)->SetKit(change.sub, staged);
    }

    void Squad(const SRecordChange& change) {
        const CTeam* team = m_teams.Peek(m_db.Teams(), change.id);
        const CTeamPlayerLink* link = team ? team->FindLink(change.sub) : nullptr;
        if (change.type == EType::Removed) {
            if (link && Removable(m_fields.Links(), *link, change)) {
                m_teams.Get(m_db.Teams(), change.id)->RemoveLink(change.sub);
                if (CPlayer* player = m_players.Get(m_db.Players(), change.sub))
                    player->RemoveTeam(change.id);
                NoteAll(change, EType::Removed);
            }
            return;
        }
        if (!team || (change.type == EType::Added && !m_players.Peek(m_db.Players(), change.sub))) {
            if (change.type == EType::Added)
                Error(change, team ? "there is no player " + std::to_string(change.sub)
                                   : "there is no team " + std::to_string(change.id));
            else
                Conflict(change, "-", "", "-", "changed");
            return;
        }
        if (!link && change.type == EType::Changed) {
            Conflict(change, "-", "", "-", "changed");
            return;
        }
        CTeamPlayerLink staged{0, change.sub, 0, change.id};
        if (link) {
            staged = *link;
            Changed(m_fields.Links(), staged, change, change.type == EType::Added);
        } else {
            for (const SFieldChange& f : change.fields)
                Set(m_fields.Links(), staged, change, f.field, f.newValue);
            m_players.Get(m_db.Players(), change.sub)->AddTeam(change.id);
            NoteAll(change, EType::Added);
        }
        m_teams.Get(m_db.Teams(), change.id)->AddOrUpdateLink(staged);
    }

    // --- writing the staged records

    static std::vector<SCheckFinding> Errors(const CGameDatabase& db) {
        std::vector<SCheckFinding> findings = CDatabaseCheck::Run(db, nullptr);
        std::erase_if(findings, [](const SCheckFinding& f) {
            return f.severity != SCheckFinding::ESeverity::Error;
        });
        return findings;
    }

    static auto FindingKey(const SCheckFinding& f) {
        return std::make_tuple(f.code, static_cast<int>(f.kind), f.id, f.message);
    }

    template <typename R>
    static void Ids(const SStage<R>& stage, std::set<int32_t>& out) {
        for (const auto& [id, record] : stage.records)
            out.insert(id);
    }

    void Commit() {
        CDatabaseSlice::SIds ids;
        Ids(m_players, ids.players);
        Ids(m_teams, ids.teams);
        Ids(m_leagues, ids.leagues);
        Ids(m_stadiums, ids.stadiums);
        Ids(m_formations, ids.formations);
        for (const auto& [league, teams] : m_leagueTeams) {
            ids.leagueTeams.insert(league);
            for (int32_t team : m_db.TeamsOfLeague(league))
                ids.teams.insert(team);
            ids.teams.insert(teams.begin(), teams.end());
        }
        std::set<decltype(FindingKey(SCheckFinding()))> known;
        for (const SCheckFinding& f : Errors(m_db))
            known.insert(FindingKey(f));
        m_result.before = CDatabaseSlice::Capture(m_db, ids);
        CDatabaseSlice staged;
        staged.players = std::move(m_players.records);
        staged.teams = std::move(m_teams.records);
        staged.leagues = std::move(m_leagues.records);
        staged.stadiums = std::move(m_stadiums.records);
        staged.formations = std::move(m_formations.records);
        staged.leagueTeams = std::move(m_leagueTeams);
        staged.Restore(m_db);
        m_result.after = CDatabaseSlice::Capture(m_db, ids);
        for (const SCheckFinding& f : Errors(m_db))
            if (!known.count(FindingKey(f)))
                m_result.errors.push_back(std::string("the database check: ") +
                                          SCheckFinding::KindName(f.kind) + " " +
                                          std::to_string(f.id) + ": " + f.code + ": " + f.message);
        if (!m_result.errors.empty()) {
            m_result.before.Restore(m_db);
            m_result.before = {};
            m_result.after = {};
            return;
        }
        m_result.ok = true;
    }

    CGameDatabase& m_db;
    CDiffFields m_fields;
    const CPatchApply::SOptions& m_options;
    CPatchApply::SResult& m_result;
    std::vector<SRecordChange> m_changes;
    // Added records already here as the patch adds them.
    std::set<size_t> m_present;
    std::map<std::tuple<int, int32_t, int32_t>, size_t> m_noted;
    SStage<CPlayer> m_players;
    SStage<CTeam> m_teams;
    SStage<CLeague> m_leagues;
    SStage<CStadium> m_stadiums;
    SStage<CFormationName> m_formations;
    std::map<int32_t, std::vector<int32_t>> m_leagueTeams;
};

} // namespace

std::string CPatchApply::SConflict::Key() const {
    return std::string(CDiffFields::KindName(kind)) + '\t' + CDiffFields::IdText(kind, id, sub) +
           '\t' + field;
}

CPatchApply::SResult CPatchApply::Apply(CGameDatabase& db, const CPatch& patch,
                                        const SOptions& options) {
    SResult result;
    CApplier(db, options, result).Run(patch);
    return result;
}

std::string CPatchApply::ConflictLines(const std::vector<SConflict>& conflicts) {
    std::string out;
    for (const SConflict& c : conflicts)
        out += c.Key() + '\t' + CFieldDiff::Escape(c.base) + '\t' + CFieldDiff::Escape(c.ours) +
               '\t' + CFieldDiff::Escape(c.theirs) + '\n';
    return out;
}
