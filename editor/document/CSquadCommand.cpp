#include "CSquadCommand.h"

#include "editor/model/CGameDatabase.h"

CSquadCommand::CSquadCommand(CDatabaseDocument& document, const QString& text,
                             std::vector<int32_t> teams, std::vector<int32_t> players,
                             Operation operation)
    : CDocumentCommand(document, text), m_teams(std::move(teams)), m_players(std::move(players)),
      m_operation(std::move(operation)) {}

CSquadCommand::SState CSquadCommand::Capture(const CGameDatabase& database) const {
    SState state;
    for (int32_t id : m_teams) {
        if (const CTeam* team = database.FindTeam(id)) {
            state.squads[id] = team->Links();
        }
    }
    for (int32_t id : m_players) {
        const CPlayer* player = database.FindPlayer(id);
        state.players[id] = player ? std::optional<CPlayer>(*player) : std::nullopt;
    }
    return state;
}

SChange CSquadCommand::Touched(const CGameDatabase& database, bool records) const {
    SChange change;
    change.what = SChange::Squad | (records ? SChange::Records : 0u);
    change.teams = m_teams;
    // Players who joined their first team or left their last one come or go there.
    change.teams.push_back(CGameDatabase::kNoTeamId);
    change.players = m_players;
    for (int32_t id : m_teams) {
        if (const CTeam* team = database.FindTeam(id)) {
            change.leagues.insert(change.leagues.end(), team->Leagues().begin(),
                                  team->Leagues().end());
        }
    }
    return change;
}

SChange CSquadCommand::Apply(CGameDatabase& database, bool undo) {
    if (!m_captured) {
        m_before = Capture(database);
        m_created = m_operation(database);
        m_players.insert(m_players.end(), m_created.begin(), m_created.end());
        for (int32_t id : m_created) {
            m_before.players[id] = std::nullopt;
        }
        m_after = Capture(database);
        m_captured = true;
        for (const auto& [id, links] : m_after.squads) {
            const auto before = m_before.squads.find(id);
            if (before != m_before.squads.end()) {
                m_squadSteps.emplace(id, CSquadStep(before->second, links));
            }
        }
        if (m_after == m_before) {
            return {};
        }
        bool records = !m_created.empty();
        for (const auto& [id, player] : m_before.players) {
            records = records || player.has_value() != m_after.players[id].has_value();
        }
        return Touched(database, records);
    }
    return undo ? Restore(database, m_before, m_after, true)
                : Restore(database, m_after, m_before, false);
}

SChange CSquadCommand::Restore(CGameDatabase& database, const SState& state, SState& leaving,
                               bool undo) const {
    bool records = false;
    for (const auto& [id, player] : state.players) {
        CPlayer* present = database.FindPlayer(id);
        if (!player) {
            if (present) {
                leaving.players[id] = *present;
                database.ErasePlayer(id);
                records = true;
            }
        } else if (present) {
            // Only the squad part: his other fields may have been edited since.
            present->SetTeams(player->Teams());
        } else {
            database.InsertPlayer(*player);
            records = true;
        }
    }
    // Only the links the step changed: positions and numbers given in the team window since
    // stay.
    for (const auto& [id, step] : m_squadSteps) {
        if (CTeam* team = database.FindTeam(id)) {
            team->SetLinks(undo ? step.Undo(team->Links()) : step.Redo(team->Links()));
        }
    }
    database.MarkDirty();
    return Touched(database, records);
}
