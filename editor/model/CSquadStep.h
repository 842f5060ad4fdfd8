#pragma once

#include "editor/model/CTeamPlayerLink.h"

#include <vector>

// What one squad operation changed in one team's links, to be taken back or given again over
// links edited since (a line-up applied in the team window in between). Links the step added
// go, links it removed come back among the others in their old order, and fields it changed
// return; each only where the link still holds what the step left, so a later edit stays.
class CSquadStep {
public:
    using Links = std::vector<CTeamPlayerLink>;

    // The team's links as the operation found them and as it left them.
    CSquadStep(Links before, Links after);

    Links Undo(const Links& present) const { return Carry(present, m_after, m_before); }
    Links Redo(const Links& present) const { return Carry(present, m_before, m_after); }

private:
    // `present` moved from what `from` holds to what `to` holds.
    static Links Carry(const Links& present, const Links& from, const Links& to);

    Links m_before;
    Links m_after;
};
