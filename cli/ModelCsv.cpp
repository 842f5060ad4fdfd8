#include "ModelCsv.h"

#include "CCsvReader.h"
#include "editor/model/RecordFields.h"

#include "editor/model/CGameDatabase.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>

namespace {

template <typename R>
void AppendRow(std::string& out, const std::vector<SField<R>>& fields, const R& record) {
    std::vector<std::string> cells;
    cells.reserve(fields.size());
    for (const SField<R>& field : fields)
        cells.push_back(field.get(record));
    out += CModelCsv::Line(cells);
}

template <typename R> std::string Header(const std::vector<SField<R>>& fields) {
    std::vector<std::string> names;
    for (const SField<R>& field : fields)
        names.push_back(field.name);
    return CModelCsv::Line(names);
}

std::string RowText(size_t row) {
    return "row " + std::to_string(row);
}

// Maps the header to fields, reads the key cells of each row, asks stage for the record the
// row changes (a copy), and applies every cell to it. Nothing outside the copies changes.
template <typename R>
std::string ImportRows(CCsvReader& rows, const std::vector<SField<R>>& fields,
                       const std::vector<std::string>& keyNames,
                       const std::function<std::string(const std::vector<int32_t>&, R*&)>& stage,
                       const std::set<std::string>& refused,
                       const std::vector<std::string>& requiredNames = {}) {
    std::vector<std::string> header;
    if (!rows.Next(header))
        return rows.Error().empty() ? "the file is empty: it needs a header row" : rows.Error();
    std::vector<const SField<R>*> columns;
    std::set<std::string> seen;
    for (const std::string& name : header) {
        const SField<R>* field = FindField(fields, name);
        if (!field)
            return "row 1: unknown field '" + name + "'";
        if (!seen.insert(name).second)
            return "row 1: field '" + name + "' appears twice";
        columns.push_back(field);
    }
    std::vector<size_t> keyColumns;
    for (const std::string& key : keyNames) {
        auto it = std::find(header.begin(), header.end(), key);
        if (it == header.end())
            return "row 1: the header lacks the key field '" + key + "'";
        keyColumns.push_back(static_cast<size_t>(it - header.begin()));
    }
    for (const std::string& name : requiredNames)
        if (!seen.count(name))
            return "row 1: the header lacks the field '" + name + "'";
    std::vector<std::string> row;
    while (rows.Next(row)) {
        const size_t r = rows.RowNumber();
        if (row.size() == 1 && row[0].empty())
            continue;
        if (row.size() != header.size())
            return RowText(r) + ": " + std::to_string(row.size()) + " fields, the header has " +
                   std::to_string(header.size());
        std::vector<int32_t> keys;
        for (size_t k = 0; k < keyColumns.size(); ++k) {
            int32_t value = 0;
            if (!ParseInt32(row[keyColumns[k]], value))
                return RowText(r) + ", field " + keyNames[k] + ": '" + row[keyColumns[k]] +
                       "' is not a whole number";
            keys.push_back(value);
        }
        R* record = nullptr;
        if (std::string error = stage(keys, record); !error.empty())
            return RowText(r) + ": " + error;
        for (size_t c = 0; c < columns.size(); ++c) {
            if (!columns[c]->set)
                continue;
            // A name that could not be saved may only come back as it was (an exported file).
            if (refused.count(columns[c]->name) && columns[c]->get(*record) != row[c])
                return RowText(r) + ", field " + columns[c]->name +
                       ": kept in the in-game text database, and there is none to save it in";
            if (std::string error = columns[c]->set(*record, row[c]); !error.empty())
                return RowText(r) + ", field " + columns[c]->name + ": " + error;
        }
    }
    return rows.Error();
}

// Rows of records keyed by their id: each row changes a copy of its record, and the copies
// replace the records only once every row was taken. find(id) is the record or null.
template <typename R, typename TFind>
std::string ImportById(CCsvReader& rows,
                       const std::vector<SField<R>>& fields, const char* noun, TFind find,
                       const std::set<std::string>& refused) {
    std::map<int32_t, R> staged;
    auto stage = [&](const std::vector<int32_t>& keys, R*& record) -> std::string {
        auto it = staged.find(keys[0]);
        if (it == staged.end()) {
            const R* stored = find(keys[0]);
            if (!stored)
                return std::string("no ") + noun + " with id " + std::to_string(keys[0]);
            it = staged.emplace(keys[0], *stored).first;
        }
        record = &it->second;
        return {};
    };
    std::string error = ImportRows<R>(rows, fields, {"id"}, stage, refused);
    if (!error.empty())
        return error;
    for (auto& [id, record] : staged)
        *find(id) = std::move(record);
    return {};
}

std::string ImportPlayers(CGameDatabase& db, CCsvReader& rows,
                          const std::set<std::string>& refused) {
    const auto find = [&](int32_t id) { return db.FindPlayer(id); };
    return ImportById(rows, PlayerFields(db.Catalogue()), "player", find, refused);
}

std::string ImportTeams(CGameDatabase& db, CCsvReader& rows,
                        const std::set<std::string>& refused) {
    const auto find = [&](int32_t id) { return db.FindTeam(id); };
    return ImportById(rows, TeamFields(db.Catalogue()), "team", find, refused);
}

std::string ImportLeagues(CGameDatabase& db, CCsvReader& rows,
                          const std::set<std::string>& refused) {
    const auto find = [&](int32_t id) { return db.FindLeague(id); };
    return ImportById(rows, LeagueFields(db.Catalogue()), "league", find, refused);
}

std::string ImportLinks(CGameDatabase& db, CCsvReader& rows,
                        const std::set<std::string>& refused) {
    // Links in the order the file names them, so new ones join their squads in that order.
    std::vector<std::pair<std::pair<int32_t, int32_t>, CTeamPlayerLink>> staged;
    std::map<std::pair<int32_t, int32_t>, size_t> index;
    auto stage = [&](const std::vector<int32_t>& keys, CTeamPlayerLink*& record) -> std::string {
        const std::pair<int32_t, int32_t> key(keys[0], keys[1]);
        auto it = index.find(key);
        if (it == index.end()) {
            const CTeam* team = db.FindTeam(keys[0]);
            if (!team)
                return "no team with id " + std::to_string(keys[0]);
            if (!db.FindPlayer(keys[1]))
                return "no player with id " + std::to_string(keys[1]);
            const CTeamPlayerLink* link = team->FindLink(keys[1]);
            staged.emplace_back(key, link ? *link : CTeamPlayerLink{0, keys[1], 0, keys[0]});
            it = index.emplace(key, staged.size() - 1).first;
        }
        record = &staged[it->second].second;
        return {};
    };
    std::string error =
        ImportRows<CTeamPlayerLink>(rows, LinkFields(db.Catalogue()), {"team_id", "player_id"},
                                    stage, refused, {"jersey_number", "formation_position"});
    if (!error.empty())
        return error;
    for (const auto& [key, link] : staged) {
        db.FindTeam(key.first)->AddOrUpdateLink(link);
        db.FindPlayer(key.second)->AddTeam(key.first);
    }
    return {};
}

std::string ImportKits(CGameDatabase& db, CCsvReader& rows,
                       const std::set<std::string>& refused) {
    std::map<std::pair<int32_t, int32_t>, CTeamKit> staged;
    auto stage = [&](const std::vector<int32_t>& keys, CTeamKit*& record) -> std::string {
        const std::pair<int32_t, int32_t> key(keys[0], keys[1]);
        auto it = staged.find(key);
        if (it == staged.end()) {
            const CTeam* team = db.FindTeam(keys[0]);
            if (!team)
                return "no team with id " + std::to_string(keys[0]);
            if (keys[1] < 0 || keys[1] >= CTeamKit::kSlotCount)
                return "kit type " + std::to_string(keys[1]) + " is outside 0..10";
            CTeamKit kit;
            if (const CTeamKit* existing = team->FindKit(keys[1]))
                kit = *existing;
            kit.SetTeamId(keys[0]);
            kit.SetKitType(keys[1]);
            it = staged.emplace(key, kit).first;
        }
        record = &it->second;
        return {};
    };
    std::string error = ImportRows<CTeamKit>(rows, KitFields(db.Catalogue()),
                                             {"team_id", "kit_type"}, stage, refused);
    if (!error.empty())
        return error;
    for (const auto& [key, kit] : staged)
        db.FindTeam(key.first)->SetKit(key.second, kit);
    return {};
}

} // namespace

bool CModelCsv::IsKind(std::string_view kind) {
    return kind == "players" || kind == "teams" || kind == "leagues" || kind == "links" ||
           kind == "kits";
}

std::string CModelCsv::Export(const CGameDatabase& db, std::string_view kind) {
    std::string out;
    const CDbCatalogue& catalogue = db.Catalogue();
    if (kind == "players") {
        const auto fields = PlayerFields(catalogue);
        out += Header(fields);
        for (const auto& [id, player] : db.Players())
            AppendRow(out, fields, player);
    } else if (kind == "teams") {
        const auto fields = TeamFields(catalogue);
        out += Header(fields);
        for (const auto& [id, team] : db.Teams())
            AppendRow(out, fields, team);
    } else if (kind == "leagues") {
        const auto fields = LeagueFields(catalogue);
        out += Header(fields);
        for (const auto& [id, league] : db.Leagues())
            AppendRow(out, fields, league);
    } else if (kind == "links") {
        const auto fields = LinkFields(catalogue);
        out += Header(fields);
        for (const auto& [id, team] : db.Teams())
            for (const CTeamPlayerLink& link : team.Links())
                AppendRow(out, fields, link);
    } else if (kind == "kits") {
        const auto fields = KitFields(catalogue);
        out += Header(fields);
        for (const auto& [id, team] : db.Teams())
            for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot)
                if (const CTeamKit* kit = team.FindKit(slot))
                    AppendRow(out, fields, *kit);
    }
    return out;
}

bool CModelCsv::IsInGameName(std::string_view field) {
    return IsInGameNameField(field);
}

std::string CModelCsv::Import(CGameDatabase& db, std::string_view kind, std::istream& csv,
                              bool namesStorable, SImported& imported, uint64_t limit) {
    std::set<std::string> refused;
    if (!namesStorable)
        for (const char* name : {"team_name", "short_team_name", "medium_team_name", "league_name",
                                 "short_league_name", "medium_league_name"})
            refused.emplace(name);
    CCsvReader rows(csv, limit);
    imported.separator = rows.DetectSeparator();
    std::string error;
    if (kind == "players")
        error = ImportPlayers(db, rows, refused);
    else if (kind == "teams")
        error = ImportTeams(db, rows, refused);
    else if (kind == "leagues")
        error = ImportLeagues(db, rows, refused);
    else if (kind == "links")
        error = ImportLinks(db, rows, refused);
    else if (kind == "kits")
        error = ImportKits(db, rows, refused);
    else
        error = "unknown kind '" + std::string(kind) + "'";
    imported.rows = rows.RowNumber() > 0 ? rows.RowNumber() - 1 : 0;
    if (error.empty())
        db.MarkDirty();
    return error;
}

std::string CModelCsv::Line(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos &&
            (cell.empty() || (cell.front() != ' ' && cell.back() != ' '))) {
            line += cell;
            continue;
        }
        line += '"';
        for (char c : cell) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}
