#pragma once

#include "editor/model/CTeam.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The game's formation templates: the eleven position codes each entry of the formation
// drop-down gives to the first eleven rows of a team's player list. Entries are indexed by
// their place in the drop-down, not by formation id.
class CFormationTemplates {
public:
    static constexpr int kTemplateCount = 49;
    static constexpr int kFirstEleven = 11;
    using Positions = std::array<int32_t, kFirstEleven>;

    // The template of a drop-down entry; nothing for entries outside 0-48.
    static std::optional<Positions> Template(int entry);

    // One link whose position a formation change replaced, so the change can be undone.
    struct SChange {
        int32_t playerId = 0;
        int32_t oldPosition = 0;
        int32_t newPosition = 0;
        bool operator==(const SChange&) const = default;
    };

    // Stores the formation id and gives the players of rows 0-10 (rowPlayerIds, list order)
    // the template's positions. Rows beyond the list and players without a link to this team
    // are skipped; an entry without a template changes only the formation id. Returns the
    // links it changed (unchanged positions are left out).
    static std::vector<SChange> Apply(CTeam& team, int entry, int32_t formationId,
                                      std::span<const int32_t> rowPlayerIds);
    // Puts back what Apply changed: the old formation id and the old positions.
    static void Revert(CTeam& team, int32_t oldFormationId, std::span<const SChange> changes);
};
