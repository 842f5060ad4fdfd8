#include "ModelRecordJson.h"

#include "CliJson.h"
#include "editor/model/RecordFields.h"

#include "editor/model/CGameDatabase.h"

#include <cstdio>

namespace {

template <typename R>
void AddFields(CliJson& json, const std::vector<SField<R>>& fields, const R& record) {
    for (const SField<R>& field : fields) {
        const std::string value = field.get(record);
        json[field.name] = field.text ? CliJson(value) : CliNumber(value);
    }
}

} // namespace

std::string PlayerJson(const CGameDatabase& db, int32_t id) {
    const CPlayer* found = db.FindPlayer(id);
    if (!found)
        return {};
    const CPlayer& player = *found;
    CliJson json = CliJson::object();
    AddFields(json, PlayerFields(db.Catalogue()), player);
    const CDate birth = player.BirthDate();
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", birth.Year(), birth.Month(), birth.Day());
    json["birth_date"] = date;
    json["overall"] = player.ComputeOverall();
    json["position_group"] = player.PositionGroup();
    json["teams"] = player.Teams();
    return CliJsonText(json);
}

std::string TeamJson(const CGameDatabase& db, int32_t id) {
    const CTeam* team = db.FindTeam(id);
    if (!team)
        return {};
    CliJson json = CliJson::object();
    AddFields(json, TeamFields(db.Catalogue()), *team);
    CliJson& squad = json["squad"] = CliJson::array();
    for (const CTeamPlayerLink& link : team->Links())
        squad.push_back({{"player_id", link.playerId},
                         {"jersey_number", link.jerseyNumber},
                         {"position", link.formationPosition}});
    CliJson& kits = json["kits"] = CliJson::array();
    const auto kitFields = KitFields(db.Catalogue());
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
        if (const CTeamKit* kit = team->FindKit(slot)) {
            CliJson fields = CliJson::object();
            AddFields(fields, kitFields, *kit);
            kits.push_back(std::move(fields));
        }
    }
    json["rivals"] = team->Rivals();
    json["leagues"] = team->Leagues();
    return CliJsonText(json);
}

std::string LeagueJson(const CGameDatabase& db, int32_t id) {
    const CLeague* league = db.FindLeague(id);
    if (!league)
        return {};
    CliJson json = CliJson::object();
    AddFields(json, LeagueFields(db.Catalogue()), *league);
    json["teams"] = db.TeamsOfLeague(id);
    return CliJsonText(json);
}
