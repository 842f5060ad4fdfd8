#include "CDiffFields.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr std::array<const char*, 7> kKindNames = {"formation", "kit",     "league", "player",
                                                   "squad",     "stadium", "team"};

// The fields a record's values can be set through, by name (keys have no setter).
template <typename R> std::vector<SField<R>> Settable(std::vector<SField<R>> fields) {
    std::erase_if(fields, [](const SField<R>& field) { return !field.set; });
    std::sort(fields.begin(), fields.end(),
              [](const SField<R>& a, const SField<R>& b) { return a.name < b.name; });
    return fields;
}

SField<CTeam> RivalsField() {
    return {CDiffFields::kRivals,
            [](const CTeam& team) { return CDiffFields::IdListText(team.Rivals()); },
            [](CTeam& team, std::string_view text) {
                std::vector<int32_t> rivals;
                if (!CDiffFields::ParseIdList(text, rivals))
                    return "'" + std::string(text) + "' is not a list of ids";
                team.SetRivals(std::move(rivals));
                return std::string();
            },
            true};
}

} // namespace

CDiffFields::CDiffFields(const CDbCatalogue& catalogue)
    : m_players(Settable(PlayerFields(catalogue))),
      m_teams([&] {
          auto fields = TeamFields(catalogue);
          fields.push_back(RivalsField());
          return Settable(std::move(fields));
      }()),
      m_leagues(Settable(LeagueFields(catalogue))), m_kits(Settable(KitFields(catalogue))),
      m_links(Settable(LinkFields(catalogue))), m_stadiums(Settable(StadiumFields(catalogue))),
      m_formations(Settable(FormationFields())) {
    Describe(ERecordKind::Player, m_players);
    Describe(ERecordKind::Team, m_teams);
    Describe(ERecordKind::League, m_leagues);
    Describe(ERecordKind::Kit, m_kits);
    Describe(ERecordKind::Squad, m_links);
    Describe(ERecordKind::Stadium, m_stadiums);
    Describe(ERecordKind::Formation, m_formations);
    SKindInfo& teams = m_info[static_cast<int>(ERecordKind::Team)];
    teams.types[kRivals] = EValue::IdList;
    SKindInfo& leagues = m_info[static_cast<int>(ERecordKind::League)];
    leagues.names.push_back(kLeagueTeams);
    std::sort(leagues.names.begin(), leagues.names.end());
    leagues.types[kLeagueTeams] = EValue::IdList;
    SKindInfo& kits = m_info[static_cast<int>(ERecordKind::Kit)];
    kits.types["shorts_number_x"] = EValue::Float;
    kits.types["shorts_number_y"] = EValue::Float;
}

template <typename R>
void CDiffFields::Describe(ERecordKind kind, const std::vector<SField<R>>& fields) {
    SKindInfo& info = m_info[static_cast<int>(kind)];
    for (const SField<R>& field : fields) {
        info.names.push_back(field.name);
        info.types[field.name] = field.text ? EValue::Text : EValue::Number;
    }
}

const char* CDiffFields::KindName(ERecordKind kind) {
    return kKindNames[static_cast<size_t>(kind)];
}

std::optional<ERecordKind> CDiffFields::KindOfName(std::string_view name) {
    for (size_t i = 0; i < kKindNames.size(); ++i)
        if (name == kKindNames[i])
            return static_cast<ERecordKind>(i);
    return std::nullopt;
}

std::vector<const char*> CDiffFields::KeyNames(ERecordKind kind) {
    if (kind == ERecordKind::Kit)
        return {"team_id", "kit_type"};
    if (kind == ERecordKind::Squad)
        return {"team_id", "player_id"};
    return {"id"};
}

std::string CDiffFields::IdText(ERecordKind kind, int32_t id, int32_t sub) {
    return HasSub(kind) ? std::to_string(id) + ":" + std::to_string(sub) : std::to_string(id);
}

std::string CDiffFields::IdListText(const std::vector<int32_t>& ids) {
    std::string text;
    for (int32_t id : ids) {
        if (!text.empty())
            text += ',';
        text += std::to_string(id);
    }
    return text;
}

bool CDiffFields::ParseIdList(std::string_view text, std::vector<int32_t>& ids) {
    ids.clear();
    if (text.empty())
        return true;
    size_t start = 0;
    while (true) {
        const size_t comma = std::min(text.find(',', start), text.size());
        int32_t id = 0;
        if (!ParseInt32(text.substr(start, comma - start), id))
            return false;
        ids.push_back(id);
        if (comma == text.size())
            return true;
        start = comma + 1;
    }
}

std::optional<CDiffFields::EValue> CDiffFields::ValueType(ERecordKind kind,
                                                          std::string_view field) const {
    const SKindInfo& info = m_info.at(static_cast<int>(kind));
    const auto it = info.types.find(std::string(field));
    if (it == info.types.end())
        return std::nullopt;
    return it->second;
}

const std::vector<std::string>& CDiffFields::FieldNames(ERecordKind kind) const {
    return m_info.at(static_cast<int>(kind)).names;
}
