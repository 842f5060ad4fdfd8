#include "editor/model/CPositionStep.h"

bool CPositionStep::Set(CTeam& team, int32_t playerId, int32_t position) {
    CTeamPlayerLink* link = team.FindLink(playerId);
    if (!link || link->formationPosition == position)
        return false;
    m_changes.push_back({playerId, link->formationPosition, position});
    link->formationPosition = position;
    return true;
}

void CPositionStep::Append(const CPositionStep& later) {
    m_changes.insert(m_changes.end(), later.m_changes.begin(), later.m_changes.end());
}

void CPositionStep::Undo(CTeam& team) const {
    // Backwards, so a player changed twice ends where the step found him.
    for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it) {
        CTeamPlayerLink* link = team.FindLink(it->playerId);
        if (link && link->formationPosition == it->newPosition)
            link->formationPosition = it->oldPosition;
    }
}

void CPositionStep::Redo(CTeam& team) const {
    for (const SChange& change : m_changes) {
        CTeamPlayerLink* link = team.FindLink(change.playerId);
        if (link && link->formationPosition == change.oldPosition)
            link->formationPosition = change.newPosition;
    }
}
