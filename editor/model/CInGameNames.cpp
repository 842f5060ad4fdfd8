#include "CInGameNames.h"

#include "editor/database/CIngameTextDb.h"
#include "editor/model/CGameDatabase.h"

#include <limits>

namespace {

std::optional<uint32_t> TextId(int64_t base, int32_t id, int k) {
    const int64_t textId = base + 10 * static_cast<int64_t>(id) + k;
    if (textId < 0 || textId > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(textId);
}

std::string Find(const CIngameTextDb& texts, std::optional<uint32_t> textId) {
    return textId ? texts.FindText(*textId) : std::string();
}

void Store(CIngameTextDb& texts, std::optional<uint32_t> textId, const std::string& name) {
    if (!textId)
        return;
    if (!texts.SetText(*textId, name) && !name.empty())
        texts.AddText(*textId, name);
}

} // namespace

std::optional<uint32_t> CInGameNames::TeamTextId(int32_t teamId, int k) {
    return TextId(30000000, teamId, k);
}

std::optional<uint32_t> CInGameNames::LeagueTextId(int32_t leagueId, int k) {
    return TextId(10000000, leagueId, k);
}

void CInGameNames::Import(const CIngameTextDb& texts, CGameDatabase& database) {
    for (auto& [id, team] : database.Teams()) {
        team.SetName(Find(texts, TeamTextId(id, 0)));
        team.SetShortName(Find(texts, TeamTextId(id, 1)));
        team.SetMediumName(Find(texts, TeamTextId(id, 2)));
    }
    for (const auto& [id, league] : database.Leagues()) {
        CLeague* stored = database.FindLeague(id);
        stored->name = Find(texts, LeagueTextId(id, 0));
        stored->shortName = Find(texts, LeagueTextId(id, 1));
        stored->mediumName = Find(texts, LeagueTextId(id, 2));
    }
}

void CInGameNames::ImportEntries(const CIngameTextDb& texts, const std::set<size_t>& entries,
                                 CGameDatabase& database, std::set<int32_t>& teams,
                                 std::set<int32_t>& leagues) {
    constexpr uint32_t kTeamBase = 30000000;
    constexpr uint32_t kLeagueBase = 10000000;
    for (size_t index : entries) {
        if (!texts.IsFirstOfId(index))
            continue;
        const CIngameTextEntry& entry = texts.Entries()[index];
        if (entry.textId >= kTeamBase) {
            const auto id = static_cast<int32_t>((entry.textId - kTeamBase) / 10);
            const int k = static_cast<int>((entry.textId - kTeamBase) % 10);
            CTeam* team = database.FindTeam(id);
            if (!team || k > 2)
                continue;
            if (k == 0)
                team->SetName(entry.text);
            else if (k == 1)
                team->SetShortName(entry.text);
            else
                team->SetMediumName(entry.text);
            teams.insert(id);
        } else if (entry.textId >= kLeagueBase) {
            const auto id = static_cast<int32_t>((entry.textId - kLeagueBase) / 10);
            const int k = static_cast<int>((entry.textId - kLeagueBase) % 10);
            CLeague* league = database.FindLeague(id);
            if (!league || k > 2)
                continue;
            std::string* names[] = {&league->name, &league->shortName, &league->mediumName};
            *names[k] = entry.text;
            leagues.insert(id);
        }
    }
}

void CInGameNames::Export(const CGameDatabase& database, CIngameTextDb& texts) {
    for (const auto& [id, team] : database.Teams()) {
        Store(texts, TeamTextId(id, 0), team.Name());
        Store(texts, TeamTextId(id, 1), team.ShortName());
        Store(texts, TeamTextId(id, 2), team.MediumName());
    }
    for (const auto& [id, league] : database.Leagues()) {
        Store(texts, LeagueTextId(id, 0), league.name);
        Store(texts, LeagueTextId(id, 1), league.shortName);
        Store(texts, LeagueTextId(id, 2), league.mediumName);
    }
}
