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
    // One buffer for every folded name: a search over all names allocates almost nothing.
    std::string folded;
    auto matches = [&](std::string_view a, std::string_view b = {}) {
        folded.clear();
        CTextCase::AppendUpper(a, folded);
        if (!b.empty()) {
            folded += ' ';
            CTextCase::AppendUpper(b, folded);
        }
        return folded.find(needle) != std::string::npos;
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
            const bool hit = !player.CommonName().empty() ? matches(player.CommonName())
                             : player.FirstName().empty()
                                 ? matches(player.LastName())
                                 : matches(player.FirstName(), player.LastName());
            if (hit)
                hits.push_back({EKind::Player, id, PlayerSearchName(player)});
        }
    }
    return hits;
}
