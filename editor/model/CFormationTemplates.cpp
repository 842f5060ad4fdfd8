#include "editor/model/CFormationTemplates.h"

#include <algorithm>

namespace {

using Positions = CFormationTemplates::Positions;

constexpr std::array<Positions, CFormationTemplates::kTemplateCount> kTemplates{{
    {0, 3, 5, 7, 14, 22, 23, 24, 20, 29, 31},  // 0
    {0, 3, 5, 7, 14, 17, 20, 22, 24, 26, 28},  // 1
    {0, 3, 5, 7, 10, 12, 14, 20, 23, 26, 28},  // 2
    {0, 3, 5, 7, 14, 16, 18, 20, 23, 26, 28},  // 3
    {0, 3, 4, 6, 7, 16, 17, 18, 26, 27, 28},   // 4
    {0, 3, 4, 6, 7, 10, 12, 22, 23, 24, 27},   // 5
    {0, 3, 4, 6, 7, 17, 22, 24, 26, 27, 28},   // 6
    {0, 3, 4, 6, 7, 15, 16, 18, 19, 26, 28},   // 7
    {0, 3, 4, 6, 7, 10, 12, 15, 19, 26, 28},   // 8
    {0, 3, 4, 6, 7, 16, 18, 21, 25, 26, 28},   // 9
    {0, 1, 4, 6, 9, 13, 16, 17, 18, 26, 28},   // 10
    {0, 1, 4, 6, 9, 10, 12, 13, 23, 26, 28},   // 11
    {0, 4, 5, 6, 9, 13, 17, 22, 24, 26, 28},   // 12
    {0, 1, 4, 6, 9, 13, 16, 18, 26, 27, 28},   // 13
    {0, 3, 4, 6, 7, 16, 18, 21, 25, 26, 28},   // 14
    {0, 4, 6, 9, 11, 13, 22, 24, 26, 27, 28},  // 15
    {0, 3, 4, 6, 7, 11, 15, 16, 18, 19, 27},   // 16
    {0, 3, 4, 6, 7, 11, 16, 18, 23, 26, 28},   // 17
    {0, 3, 4, 6, 7, 10, 12, 22, 23, 24, 27},   // 18
    {0, 3, 4, 6, 7, 16, 17, 18, 23, 26, 28},   // 19
    {0, 3, 4, 6, 7, 16, 18, 22, 24, 26, 28},   // 20
    {0, 3, 4, 6, 7, 10, 12, 15, 19, 23, 27},   // 21
    {0, 4, 5, 6, 15, 16, 18, 19, 23, 26, 28},  // 22
    {0, 3, 5, 7, 9, 11, 13, 14, 20, 23, 27},   // 23
    {0, 4, 6, 16, 18, 21, 23, 25, 26, 27, 28}, // 24
    {0, 1, 4, 6, 9, 13, 16, 17, 18, 23, 27},   // 25
    {0, 3, 5, 7, 11, 14, 16, 18, 20, 23, 27},  // 26
    {0, 3, 5, 7, 10, 12, 15, 17, 19, 23, 27},  // 27
    {0, 3, 4, 6, 7, 16, 18, 21, 23, 25, 27},   // 28
    {0, 3, 5, 7, 11, 15, 19, 23, 26, 27, 28},  // 29
    {0, 4, 5, 6, 10, 12, 15, 19, 23, 26, 28},  // 30
    {0, 3, 5, 7, 15, 16, 18, 19, 22, 24, 27},  // 31
    {0, 4, 6, 16, 18, 21, 23, 25, 26, 27, 28}, // 32
    {0, 4, 6, 16, 18, 21, 23, 25, 26, 27, 28}, // 33
    {0, 4, 5, 6, 15, 16, 18, 19, 23, 26, 28},  // 34
    {0, 4, 5, 6, 9, 10, 12, 13, 23, 26, 28},   // 35
    {0, 3, 4, 6, 7, 17, 22, 24, 26, 27, 28},   // 36
    {0, 3, 4, 6, 7, 9, 11, 13, 22, 23, 24},    // 37
    {0, 3, 4, 6, 7, 16, 18, 22, 23, 24, 27},   // 38
    {0, 3, 4, 6, 7, 10, 12, 15, 19, 23, 27},   // 39
    {0, 3, 4, 6, 7, 11, 22, 23, 24, 26, 28},   // 40
    {0, 3, 4, 6, 7, 9, 13, 21, 25, 26, 28},    // 41
    {0, 3, 4, 6, 7, 15, 17, 19, 23, 26, 28},   // 42
    {0, 3, 4, 6, 7, 10, 11, 12, 23, 26, 28},   // 43
    {0, 3, 4, 6, 7, 9, 10, 12, 13, 23, 27},    // 44
    {0, 3, 4, 6, 7, 10, 12, 15, 17, 19, 27},   // 45
    {0, 3, 4, 6, 7, 10, 12, 15, 19, 23, 27},   // 46
    {0, 4, 5, 6, 9, 13, 17, 22, 24, 27, 30},   // 47
    {0, 1, 3, 4, 6, 7, 10, 12, 15, 19, 27},    // 48
}};

} // namespace

std::optional<Positions> CFormationTemplates::Template(int entry) {
    if (entry < 0 || entry >= kTemplateCount)
        return std::nullopt;
    return kTemplates[static_cast<size_t>(entry)];
}

std::vector<CFormationTemplates::SChange>
CFormationTemplates::Apply(CTeam& team, int entry, int32_t formationId,
                           std::span<const int32_t> rowPlayerIds) {
    team.SetValue(ETeamColumn::FormationId, formationId);
    std::vector<SChange> changes;
    const std::optional<Positions> positions = Template(entry);
    if (!positions)
        return changes;
    const size_t rows = std::min<size_t>(rowPlayerIds.size(), kFirstEleven);
    for (size_t row = 0; row < rows; ++row) {
        CTeamPlayerLink* link = team.FindLink(rowPlayerIds[row]);
        if (!link)
            continue;
        const int32_t position = (*positions)[row];
        if (link->formationPosition == position)
            continue;
        changes.push_back({link->playerId, link->formationPosition, position});
        link->formationPosition = position;
    }
    return changes;
}

void CFormationTemplates::Revert(CTeam& team, int32_t oldFormationId,
                                 std::span<const SChange> changes) {
    team.SetValue(ETeamColumn::FormationId, oldFormationId);
    // Backwards, so a player listed twice ends at his first old position.
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        if (CTeamPlayerLink* link = team.FindLink(it->playerId))
            link->formationPosition = it->oldPosition;
}
