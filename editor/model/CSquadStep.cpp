#include "CSquadStep.h"

#include "editor/model/CGameDatabase.h"
#include "editor/model/CLineUp.h"

#include <algorithm>
#include <utility>

namespace {

using Links = CSquadStep::Links;

const CTeamPlayerLink* Find(const Links& links, int32_t playerId) {
    const auto found = std::find_if(links.begin(), links.end(), [&](const CTeamPlayerLink& link) {
        return link.playerId == playerId;
    });
    return found == links.end() ? nullptr : &*found;
}

CTeamPlayerLink* Find(Links& links, int32_t playerId) {
    return const_cast<CTeamPlayerLink*>(Find(std::as_const(links), playerId));
}

// A field the step changed goes back only while it still holds what the step left.
void CarryField(int32_t& present, int32_t from, int32_t to) {
    if (from != to && present == from) {
        present = to;
    }
}

// The bench place a returning player takes when his place on the pitch was given to another
// since; the same order as a player added to the team.
int32_t BenchPlace(const Links& links) {
    int counts[3] = {0, 0, 0};
    for (const CTeamPlayerLink& link : links) {
        if (link.formationPosition >= CLineUp::kSubstitute &&
            link.formationPosition <= CLineUp::kSecondPickReserve) {
            ++counts[link.formationPosition - CLineUp::kSubstitute];
        }
    }
    if (counts[0] < CGameDatabase::kSubstituteLimit) {
        return CLineUp::kSubstitute;
    }
    return counts[1] < CGameDatabase::kReserveLimit ? CLineUp::kFirstPickReserve
                                                    : CLineUp::kSecondPickReserve;
}

} // namespace

CSquadStep::CSquadStep(Links before, Links after)
    : m_before(std::move(before)), m_after(std::move(after)) {}

Links CSquadStep::Carry(const Links& present, const Links& from, const Links& to) {
    Links links = present;
    // Links the step leaves out go.
    std::erase_if(links, [&](const CTeamPlayerLink& link) {
        return Find(from, link.playerId) && !Find(to, link.playerId);
    });
    for (const CTeamPlayerLink& target : to) {
        const CTeamPlayerLink* source = Find(from, target.playerId);
        CTeamPlayerLink* link = Find(links, target.playerId);
        if (source && link) {
            CarryField(link->jerseyNumber, source->jerseyNumber, target.jerseyNumber);
            CarryField(link->formationPosition, source->formationPosition,
                       target.formationPosition);
        }
    }
    // Links the step brings come after the link before them in `to` (first when none is left),
    // once the fields above made room on the pitch.
    for (std::size_t i = 0; i < to.size(); ++i) {
        const CTeamPlayerLink& target = to[i];
        if (Find(from, target.playerId) || Find(links, target.playerId)) {
            continue;
        }
        auto at = links.begin();
        for (std::size_t j = i; j-- > 0;) {
            const auto found = std::find_if(links.begin(), links.end(), [&](const auto& link) {
                return link.playerId == to[j].playerId;
            });
            if (found != links.end()) {
                at = found + 1;
                break;
            }
        }
        CTeamPlayerLink link = target;
        const bool onPitch =
            link.formationPosition >= 0 && link.formationPosition < CLineUp::kPitchSlots;
        if (onPitch && std::any_of(links.begin(), links.end(), [&](const CTeamPlayerLink& other) {
                return other.formationPosition == link.formationPosition;
            })) {
            link.formationPosition = BenchPlace(links);
        }
        links.insert(at, link);
    }
    return links;
}
