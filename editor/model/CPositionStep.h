#pragma once

#include "editor/model/CTeam.h"

#include <cstdint>
#include <vector>

// The link positions one edit of a team's line-up changed (a formation chosen, a line-up
// applied), so the team window can take them back and give them again. Squad operations may
// move players in between: a link that no longer holds what the step left is not touched.
class CPositionStep {
public:
    struct SChange {
        int32_t playerId = 0;
        int32_t oldPosition = 0;
        int32_t newPosition = 0;
        bool operator==(const SChange&) const = default;
    };

    // Sets the player's link position and records the change; false when the team has no
    // link for the player or it holds that position already.
    bool Set(CTeam& team, int32_t playerId, int32_t position);

    // The changes of a later step become part of this one.
    void Append(const CPositionStep& later);

    const std::vector<SChange>& Changes() const { return m_changes; }
    bool IsEmpty() const { return m_changes.empty(); }

    void Undo(CTeam& team) const;
    void Redo(CTeam& team) const;

private:
    std::vector<SChange> m_changes;
};
