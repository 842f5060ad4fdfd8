#include "CPatchCommand.h"

#include "editor/model/CGameDatabase.h"

CPatchCommand::CPatchCommand(CDatabaseDocument& document, std::shared_ptr<const CPatch> patch,
                             CPatchApply::SOptions options,
                             std::shared_ptr<CPatchApply::SResult> result, const QString& text)
    : CDocumentCommand(document, text), m_patch(std::move(patch)), m_options(std::move(options)),
      m_result(std::move(result)) {
    m_options.dryRun = false;
}

SChange CPatchCommand::Apply(CGameDatabase& database, bool undo) {
    if (m_patch) {
        *m_result = CPatchApply::Apply(database, *m_patch, m_options);
        m_patch.reset();
        if (!m_result->ok || m_result->changes.empty())
            return {};
        // The slices are the step's to keep; the caller reads what changed.
        m_before = std::move(m_result->before);
        m_after = std::move(m_result->after);
        m_result->before = {};
        m_result->after = {};
        return Touched(database);
    }
    (undo ? m_before : m_after).Restore(database);
    return Touched(database);
}

SChange CPatchCommand::Touched(const CGameDatabase& database) const {
    SChange change;
    change.what = SChange::Fields | SChange::Names | SChange::Squad;
    const auto added = [&change](const auto& records) {
        for (const auto& [id, record] : records)
            if (!record)
                change.what |= SChange::Records;
    };
    for (const CDatabaseSlice* slice : {&m_before, &m_after}) {
        added(slice->players);
        added(slice->teams);
        added(slice->leagues);
        for (const auto& [id, player] : slice->players) {
            change.players.push_back(id);
            // Squads show their players' names and values.
            if (player)
                change.teams.insert(change.teams.end(), player->Teams().begin(),
                                    player->Teams().end());
        }
        for (const auto& [id, team] : slice->teams)
            change.teams.push_back(id);
        for (const auto& [id, league] : slice->leagues)
            change.leagues.push_back(id);
        for (const auto& [id, teams] : slice->leagueTeams)
            change.leagues.push_back(id);
    }
    // Team windows show the names of stadiums and formations.
    if (!m_before.stadiums.empty() || !m_before.formations.empty())
        for (const auto& [id, team] : database.Teams())
            change.teams.push_back(id);
    return change;
}
