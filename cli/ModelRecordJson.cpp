#include "ModelRecordJson.h"

#include "ModelFields.h"
#include "ModelJson.h"

#include "editor/model/CGameDatabase.h"

#include <cstdio>

namespace {

template <typename R>
void WriteFields(CJsonWriter& json, const std::vector<SField<R>>& fields, const R& record) {
    for (const SField<R>& field : fields) {
        const std::string value = field.get(record);
        if (field.text)
            json.String(field.name, value);
        else if (value == "nan" || value.find("inf") != std::string::npos)
            json.Raw(field.name, "null");
        else
            json.Raw(field.name, value);
    }
}

void WriteIds(CJsonWriter& json, const char* key, const std::vector<int32_t>& ids) {
    json.BeginArray(key);
    for (int32_t id : ids)
        json.ArrayNumber(id);
    json.EndArray();
}

} // namespace

std::string PlayerJson(const CGameDatabase& db, int32_t id) {
    const CPlayer* found = db.FindPlayer(id);
    if (!found)
        return {};
    const CPlayer& player = *found;
    CJsonWriter json;
    json.BeginObject();
    WriteFields(json, PlayerFields(db.Catalogue()), player);
    const CDate birth = player.BirthDate();
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", birth.Year(), birth.Month(), birth.Day());
    json.String("birth_date", date);
    json.Number("overall", player.ComputeOverall());
    json.Number("position_group", player.PositionGroup());
    WriteIds(json, "teams", player.Teams());
    json.EndObject();
    return json.Text();
}

std::string TeamJson(const CGameDatabase& db, int32_t id) {
    const CTeam* team = db.FindTeam(id);
    if (!team)
        return {};
    CJsonWriter json;
    json.BeginObject();
    WriteFields(json, TeamFields(db.Catalogue()), *team);
    json.BeginArray("squad");
    for (const CTeamPlayerLink& link : team->Links()) {
        json.BeginObject();
        json.Number("player_id", link.playerId);
        json.Number("jersey_number", link.jerseyNumber);
        json.Number("position", link.formationPosition);
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("kits");
    const auto kitFields = KitFields(db.Catalogue());
    for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
        if (const CTeamKit* kit = team->FindKit(slot)) {
            json.BeginObject();
            WriteFields(json, kitFields, *kit);
            json.EndObject();
        }
    }
    json.EndArray();
    WriteIds(json, "rivals", team->Rivals());
    WriteIds(json, "leagues", team->Leagues());
    json.EndObject();
    return json.Text();
}

std::string LeagueJson(const CGameDatabase& db, int32_t id) {
    const CLeague* league = db.FindLeague(id);
    if (!league)
        return {};
    CJsonWriter json;
    json.BeginObject();
    WriteFields(json, LeagueFields(db.Catalogue()), *league);
    WriteIds(json, "teams", db.TeamsOfLeague(id));
    json.EndObject();
    return json.Text();
}
