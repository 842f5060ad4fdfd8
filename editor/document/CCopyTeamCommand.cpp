#include "CCopyTeamCommand.h"

#include "editor/model/CGameDatabase.h"

CCopyTeamCommand::CCopyTeamCommand(CDatabaseDocument& document, const QString& text,
                                   std::shared_ptr<const CGameDatabase> from, int32_t teamId,
                                   std::optional<int32_t> leagueId, bool withPlayers)
    : CDocumentCommand(document, text), m_from(std::move(from)), m_teamId(teamId),
      m_leagueId(leagueId), m_withPlayers(withPlayers),
      m_result(std::make_shared<CDatabaseCopy::SResult>()) {}

SChange CCopyTeamCommand::Apply(CGameDatabase& database, bool undo) {
    if (!m_copied) {
        m_copied = true;
        *m_result = CDatabaseCopy::CopyTeam(database, *m_from, m_teamId, m_leagueId, m_withPlayers);
        // The slices hold all the step needs from now on.
        m_from.reset();
        return m_result->ok ? Touched() : SChange();
    }
    (undo ? m_result->before : m_result->after).Restore(database);
    return Touched();
}

SChange CCopyTeamCommand::Touched() const {
    SChange change;
    change.what = SChange::Fields | SChange::Squad | SChange::Names | SChange::Records;
    for (const auto& [id, player] : m_result->after.players)
        change.players.push_back(id);
    for (const auto& [id, team] : m_result->after.teams)
        change.teams.push_back(id);
    for (const auto& [id, teams] : m_result->after.leagueTeams)
        change.leagues.push_back(id);
    return change;
}
