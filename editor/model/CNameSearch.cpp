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
    if (text.empty())
        return {};
    const std::string needle = CTextCase::ToUpper(text);
    // One buffer for every folded name: a search over all names allocates almost nothing.
    std::string folded;
    const auto matches = [&](std::string_view name) {
        folded.clear();
        CTextCase::AppendUpper(name, folded);
        return folded.find(needle) != std::string::npos;
    };
    return Find(database, matches, leagues, teams, players);
}

std::vector<CNameSearch::SHit> CNameSearch::Find(const CGameDatabase& database,
                                                 const Matcher& matches, bool leagues, bool teams,
                                                 bool players) {
    std::vector<SHit> hits;
    if (leagues)
        for (const auto& [id, league] : database.Leagues())
            if (matches(league.name))
                hits.push_back({EKind::League, id, league.name});
    if (teams)
        for (const auto& [id, team] : database.Teams())
            if (matches(team.Name()))
                hits.push_back({EKind::Team, id, team.Name()});
    if (players) {
        std::string name;
        for (const auto& [id, player] : database.Players()) {
            name = PlayerSearchName(player);
            if (matches(name))
                hits.push_back({EKind::Player, id, name});
        }
    }
    return hits;
}
