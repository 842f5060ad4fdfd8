#include "CDatabaseSlice.h"

#include "editor/model/CGameDatabase.h"

namespace {

template <typename R>
void Take(const std::set<int32_t>& ids, const R* (*find)(const CGameDatabase&, int32_t),
          const CGameDatabase& db, std::map<int32_t, std::optional<R>>& out) {
    for (int32_t id : ids) {
        const R* record = find(db, id);
        out[id] = record ? std::optional<R>(*record) : std::nullopt;
    }
}

} // namespace

CDatabaseSlice CDatabaseSlice::Capture(const CGameDatabase& db, const SIds& ids) {
    CDatabaseSlice slice;
    Take<CPlayer>(ids.players, [](const CGameDatabase& d, int32_t id) { return d.FindPlayer(id); }, db,
                  slice.players);
    Take<CTeam>(ids.teams, [](const CGameDatabase& d, int32_t id) { return d.FindTeam(id); }, db,
                slice.teams);
    Take<CLeague>(ids.leagues, [](const CGameDatabase& d, int32_t id) { return d.FindLeague(id); },
                  db, slice.leagues);
    Take<CStadium>(ids.stadiums,
                   [](const CGameDatabase& d, int32_t id) { return d.FindStadium(id); }, db,
                   slice.stadiums);
    Take<CFormationName>(ids.formations,
                         [](const CGameDatabase& d, int32_t id) { return d.FindFormation(id); },
                         db, slice.formations);
    for (int32_t id : ids.leagueTeams)
        slice.leagueTeams[id] = db.TeamsOfLeague(id);
    return slice;
}

void CDatabaseSlice::Restore(CGameDatabase& db) const {
    for (const auto& [id, record] : formations)
        record ? (void)db.InsertFormation(*record) : (void)db.EraseFormation(id);
    for (const auto& [id, record] : stadiums)
        record ? (void)db.InsertStadium(*record) : (void)db.EraseStadium(id);
    for (const auto& [id, record] : leagues)
        record ? (void)db.InsertLeague(*record) : (void)db.EraseLeague(id);
    for (const auto& [id, record] : teams)
        record ? (void)db.InsertTeam(*record) : (void)db.EraseTeam(id);
    for (const auto& [id, record] : players)
        record ? (void)db.InsertPlayer(*record) : (void)db.ErasePlayer(id);
    for (const auto& [id, list] : leagueTeams)
        db.SetLeagueTeams(id, list);
    db.MarkDirty();
}

bool CDatabaseSlice::Empty() const {
    return players.empty() && teams.empty() && leagues.empty() && stadiums.empty() &&
           formations.empty() && leagueTeams.empty();
}
