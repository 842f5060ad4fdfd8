#include "CDatabaseCopy.h"

#include "editor/model/CGameDatabase.h"

#include <limits>
#include <map>

namespace {

bool SameFields(const CPlayer& a, const CPlayer& b) {
    CPlayer x = a;
    x.SetTeams(b.Teams());
    return x == b;
}

// The id the player has here: the same one when it is free or holds the same player, else a
// new one. -1 when no id is left. The player is inserted when it is not the same.
int32_t PlacePlayer(CGameDatabase& db, const CPlayer& source) {
    if (const CPlayer* here = db.FindPlayer(source.Id()); here && SameFields(*here, source))
        return source.Id();
    const int32_t id = db.FindPlayer(source.Id()) ? db.NextPlayerId() : source.Id();
    if (id < 0)
        return -1;
    CPlayer copy = source;
    copy.SetId(id);
    copy.SetTeams({});
    db.InsertPlayer(std::move(copy));
    return id;
}

bool SameTeamThere(const CGameDatabase& db, const CGameDatabase& from, int32_t id) {
    const CTeam* here = db.FindTeam(id);
    const CTeam* there = from.FindTeam(id);
    return here && there && here->Name() == there->Name();
}

} // namespace

CDatabaseCopy::SResult CDatabaseCopy::CopyTeam(CGameDatabase& db, const CGameDatabase& from,
                                               int32_t teamId, std::optional<int32_t> leagueId,
                                               bool withPlayers) {
    SResult result;
    const CTeam* source = from.FindTeam(teamId);
    if (!source) {
        result.error = "the other database has no team " + std::to_string(teamId);
        return result;
    }
    if (leagueId && !db.FindLeague(*leagueId)) {
        result.error = "there is no league " + std::to_string(*leagueId);
        return result;
    }
    if (db.MaxTeamId() == std::numeric_limits<int32_t>::max() && db.FindTeam(teamId)) {
        result.error = "no free team id is left";
        return result;
    }
    const int32_t newId = db.FindTeam(teamId) ? db.MaxTeamId() + 1 : teamId;
    CDatabaseSlice::SIds ids;
    ids.teams.insert(newId);
    if (leagueId)
        ids.leagueTeams.insert(*leagueId);
    for (ETeamColumn column : {ETeamColumn::StadiumId, ETeamColumn::TrainingStadiumId})
        ids.stadiums.insert(source->Value(column));
    ids.formations.insert(source->Value(ETeamColumn::FormationId));
    // Players keep their ids where free; those that get new ones are above every id in use.
    if (withPlayers)
        for (const CTeamPlayerLink& link : source->Links())
            ids.players.insert(link.playerId);
    const int32_t firstNew = std::max(db.MaxPlayerId(), CGameDatabase::kFirstNewPlayerId) + 1;
    for (size_t n = 0; withPlayers && n < source->Links().size(); ++n)
        ids.players.insert(firstNew + static_cast<int32_t>(n));
    result.before = CDatabaseSlice::Capture(db, ids);

    CTeam team = *source;
    team.SetId(newId);
    for (int32_t league : source->Leagues())
        team.RemoveLeague(league);
    std::vector<int32_t> rivals;
    for (int32_t rival : source->Rivals()) {
        if (SameTeamThere(db, from, rival))
            rivals.push_back(rival);
        else
            result.notes.push_back("rival team " + std::to_string(rival) + " is not here: left out");
    }
    team.SetRivals(std::move(rivals));
    const int32_t opponent = source->Value(ETeamColumn::OpponentTeamId);
    if (opponent != 0 && !SameTeamThere(db, from, opponent)) {
        team.SetValue(ETeamColumn::OpponentTeamId, 0);
        result.notes.push_back("opponent team " + std::to_string(opponent) + " is not here: left out");
    }
    for (ETeamColumn column : {ETeamColumn::StadiumId, ETeamColumn::TrainingStadiumId}) {
        const int32_t stadium = source->Value(column);
        if (!db.FindStadium(stadium))
            if (const CStadium* there = from.FindStadium(stadium))
                db.InsertStadium(*there);
    }
    const int32_t formation = source->Value(ETeamColumn::FormationId);
    if (!db.FindFormation(formation))
        if (const CFormationName* there = from.FindFormation(formation))
            db.InsertFormation(*there);

    std::vector<CTeamPlayerLink> links = team.Links();
    for (const CTeamPlayerLink& link : links)
        team.RemoveLink(link.playerId);
    std::map<int32_t, int32_t> placed;
    if (withPlayers) {
        for (CTeamPlayerLink link : links) {
            const CPlayer* player = from.FindPlayer(link.playerId);
            if (!player) {
                result.notes.push_back("player " + std::to_string(link.playerId) +
                                       " of the squad is missing there: left out");
                continue;
            }
            const int32_t id = PlacePlayer(db, *player);
            if (id < 0) {
                result.before.Restore(db);
                result.error = "no free player id is left";
                return result;
            }
            placed[link.playerId] = id;
            result.players.emplace_back(link.playerId, id);
            link.playerId = id;
            team.AddOrUpdateLink(link);
            db.FindPlayer(id)->AddTeam(newId);
        }
    }
    for (int t = 0; t < CTeam::kTakerCount; ++t) {
        const auto taker = static_cast<ETaker>(t);
        const auto it = placed.find(source->Taker(taker));
        team.SetTaker(taker, it == placed.end() ? 0 : it->second);
    }
    db.InsertTeam(std::move(team));
    if (leagueId) {
        std::vector<int32_t> teams = db.TeamsOfLeague(*leagueId);
        teams.push_back(newId);
        db.SetLeagueTeams(*leagueId, teams);
    }
    db.MarkDirty();
    result.after = CDatabaseSlice::Capture(db, ids);
    result.teamId = newId;
    result.ok = true;
    return result;
}

CDatabaseCopy::SResult CDatabaseCopy::CopyPlayer(CGameDatabase& db, const CGameDatabase& from,
                                                 int32_t playerId, std::optional<int32_t> teamId) {
    SResult result;
    const CPlayer* source = from.FindPlayer(playerId);
    if (!source) {
        result.error = "the other database has no player " + std::to_string(playerId);
        return result;
    }
    if (teamId && !db.FindTeam(*teamId)) {
        result.error = "there is no team " + std::to_string(*teamId);
        return result;
    }
    if (teamId && db.ChooseBenchPosition(*teamId) < 0) {
        result.error = "team " + std::to_string(*teamId) + " has no free bench place";
        return result;
    }
    CDatabaseSlice::SIds ids;
    ids.players = {playerId, std::max(db.MaxPlayerId(), CGameDatabase::kFirstNewPlayerId) + 1};
    if (teamId)
        ids.teams.insert(*teamId);
    result.before = CDatabaseSlice::Capture(db, ids);
    const int32_t id = PlacePlayer(db, *source);
    if (id < 0) {
        result.error = "no free player id is left";
        return result;
    }
    if (teamId && !db.FindPlayer(id)->IsInTeam(*teamId))
        db.AddPlayerToTeam(id, *teamId, -1, -1);
    db.MarkDirty();
    result.after = CDatabaseSlice::Capture(db, ids);
    result.playerId = id;
    result.players.emplace_back(playerId, id);
    result.ok = true;
    return result;
}
