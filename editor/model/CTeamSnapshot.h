#pragma once

#include "editor/model/CTeam.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the team window edits of a team, and nothing else: names, the columns of its pages,
// set-piece takers, rivals and kits. Restoring one never touches the squad links, the league
// list or anything a player holds, so squads changed in between stay as they are.
class CTeamSnapshot {
public:
    // The pages of the team window; Reset on a page restores that page's fields only.
    enum class EPage { Information, Formation, Kits, Miscellaneous };

    static CTeamSnapshot Of(const CTeam& team);

    // Every field the window edits (Undo, Redo).
    void RestoreInto(CTeam& team) const;
    // The fields of one page.
    void RestoreInto(CTeam& team, EPage page) const;

    const std::string& Name() const { return m_name; }
    const CTeamKit* Kit(int32_t kitType) const;

    bool operator==(const CTeamSnapshot&) const = default;

private:
    std::string m_name;
    std::string m_mediumName;
    std::string m_shortName;
    std::vector<int32_t> m_columns;
    std::array<int32_t, CTeam::kTakerCount> m_takers{};
    std::vector<int32_t> m_rivals;
    std::array<std::optional<CTeamKit>, CTeamKit::kSlotCount> m_kits;
};
