#include "CBulkEditCommand.h"

#include "editor/model/CGameDatabase.h"

CBulkEditCommand::CBulkEditCommand(CDatabaseDocument& document, SBulkPlan plan,
                                   const QString& text)
    : CDocumentCommand(document, text), m_plan(std::move(plan)) {}

SChange CBulkEditCommand::Apply(CGameDatabase& database, bool undo) {
    m_plan.Apply(database, undo);
    SChange change;
    for (const SBulkValueChange& value : m_plan.changes) {
        if (!change.players.empty() && change.players.back() == value.playerId)
            continue;
        change.players.push_back(value.playerId);
        // Squads show names, positions, ratings and the star of their players.
        if (const CPlayer* player = database.FindPlayer(value.playerId))
            change.teams.insert(change.teams.end(), player->Teams().begin(),
                                player->Teams().end());
    }
    change.what = change.players.empty() ? 0u : SChange::Fields | SChange::Names;
    return change;
}
