#include "CBulkEditCommand.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

#include <algorithm>

CBulkEditCommand::CBulkEditCommand(CFrameHost& host, SBulkPlan plan, const QString& text)
    : m_host(host), m_plan(std::move(plan)) {
    setText(text);
}

void CBulkEditCommand::redo() {
    Write(false);
}

void CBulkEditCommand::undo() {
    Write(true);
}

void CBulkEditCommand::Write(bool undo) {
    CGameDatabase* database = m_host.Database();
    if (!database)
        return;
    m_plan.Apply(*database, undo);
    std::vector<int32_t> players;
    std::vector<int32_t> teams;
    for (const SBulkValueChange& change : m_plan.changes) {
        if (!players.empty() && players.back() == change.playerId)
            continue;
        players.push_back(change.playerId);
        if (const CPlayer* player = database->FindPlayer(change.playerId))
            teams.insert(teams.end(), player->Teams().begin(), player->Teams().end());
    }
    std::sort(teams.begin(), teams.end());
    teams.erase(std::unique(teams.begin(), teams.end()), teams.end());
    // Squads show names, positions, ratings and the star of their players.
    for (int32_t id : players)
        m_host.RefreshPlayer(id);
    for (int32_t id : teams)
        m_host.RefreshTeam(id);
}
