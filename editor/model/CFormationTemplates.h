#pragma once

#include "editor/model/CPositionStep.h"
#include "editor/model/CTeam.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

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

    // Stores the formation id and gives the players of rows 0-10 (rowPlayerIds, list order)
    // the template's positions. Rows beyond the list and players without a link to this team
    // are skipped; an entry without a template changes only the formation id. Returns the
    // link positions it changed.
    static CPositionStep Apply(CTeam& team, int entry, int32_t formationId,
                               std::span<const int32_t> rowPlayerIds);
};
