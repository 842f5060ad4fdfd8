#pragma once

#include "editor/model/RecordFields.h"
#include "editor/model/SRecordChange.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The fields a comparison and a patch work with, kind by kind: the CSV export's fields of each
// record (keys left out), a team's rivals and a league's team list as lists of ids. Values are
// text; setters check them against the catalogue's ranges.
class CDiffFields {
public:
    enum class EValue { Number, Float, Text, IdList };
    static constexpr const char* kLeagueTeams = "teams";
    static constexpr const char* kRivals = "rivals";

    explicit CDiffFields(const CDbCatalogue& catalogue);

    static const char* KindName(ERecordKind kind);
    static std::optional<ERecordKind> KindOfName(std::string_view name);
    // Kits and squad places have a second key.
    static bool HasSub(ERecordKind kind) { return kind == ERecordKind::Kit || kind == ERecordKind::Squad; }
    // The names of the key fields of a kind as a patch writes them ("id", or two).
    static std::vector<const char*> KeyNames(ERecordKind kind);
    // "ID" or "ID:SUB".
    static std::string IdText(ERecordKind kind, int32_t id, int32_t sub);
    // A list of ids as text ("3,17,40") and back; false for anything else.
    static std::string IdListText(const std::vector<int32_t>& ids);
    static bool ParseIdList(std::string_view text, std::vector<int32_t>& ids);

    // Nothing when the kind has no such field.
    std::optional<EValue> ValueType(ERecordKind kind, std::string_view field) const;
    // Every field name of a kind, sorted.
    const std::vector<std::string>& FieldNames(ERecordKind kind) const;

    const std::vector<SField<CPlayer>>& Players() const { return m_players; }
    const std::vector<SField<CTeam>>& Teams() const { return m_teams; }
    const std::vector<SField<CLeague>>& Leagues() const { return m_leagues; }
    const std::vector<SField<CTeamKit>>& Kits() const { return m_kits; }
    const std::vector<SField<CTeamPlayerLink>>& Links() const { return m_links; }
    const std::vector<SField<CStadium>>& Stadiums() const { return m_stadiums; }
    const std::vector<SField<CFormationName>>& Formations() const { return m_formations; }

    // The field of that name of a kind's table, or null.
    template <typename R>
    static const SField<R>* Find(const std::vector<SField<R>>& fields, std::string_view name) {
        const auto it = std::lower_bound(fields.begin(), fields.end(), name,
                                         [](const SField<R>& f, std::string_view n) { return f.name < n; });
        return it != fields.end() && it->name == name ? &*it : nullptr;
    }

private:
    struct SKindInfo {
        std::vector<std::string> names;
        std::unordered_map<std::string, EValue> types;
    };

    template <typename R> void Describe(ERecordKind kind, const std::vector<SField<R>>& fields);

    std::vector<SField<CPlayer>> m_players;
    std::vector<SField<CTeam>> m_teams;
    std::vector<SField<CLeague>> m_leagues;
    std::vector<SField<CTeamKit>> m_kits;
    std::vector<SField<CTeamPlayerLink>> m_links;
    std::vector<SField<CStadium>> m_stadiums;
    std::vector<SField<CFormationName>> m_formations;
    std::unordered_map<int, SKindInfo> m_info;
};
