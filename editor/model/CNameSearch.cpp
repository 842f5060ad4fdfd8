#include "CNameSearch.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CTextCase.h"

namespace {

std::string PlayerSearchName(const CPlayer& player) {
    if (!player.CommonName().empty())
        return player.CommonName();
    if (player.FirstName().empty())
        return player.LastName();
    return player.FirstName() + " " + player.LastName();
}

} // namespace

std::string CNameSearch::SearchName(const CGameDatabase& database, int32_t playerId) {
    const CPlayer* player = database.FindPlayer(playerId);
    return player ? PlayerSearchName(*player) : std::string();
}

std::vector<CNameSearch::SHit> CNameSearch::Find(const CGameDatabase& database,
                                                 std::string_view text, bool leagues, bool teams,
                                                 bool players) {
    std::vector<SHit> hits;
    if (text.empty())
        return hits;
    const std::string needle = CTextCase::ToUpper(text);
    auto matches = [&](const std::string& name) {
        return CTextCase::ToUpper(name).find(needle) != std::string::npos;
    };
    if (leagues)
        for (const auto& [id, league] : database.Leagues())
            if (matches(league.name))
                hits.push_back({EKind::League, id, league.name});
    if (teams)
        for (const auto& [id, team] : database.Teams())
            if (matches(team.Name()))
                hits.push_back({EKind::Team, id, team.Name()});
    if (players) {
        for (const auto& [id, player] : database.Players()) {
            std::string name = PlayerSearchName(player);
            if (matches(name))
                hits.push_back({EKind::Player, id, std::move(name)});
        }
    }
    return hits;
}
