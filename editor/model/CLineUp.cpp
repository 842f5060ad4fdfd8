#include "editor/model/CLineUp.h"

#include "editor/model/CGameDatabase.h"

#include <array>

namespace {

// Cell of every slot, slot by slot.
constexpr std::array<int, CLineUp::kSlotCount> kCells{
    73,                                 // goalkeeper
    63,                                 // sweeper
    56, 55, 54, 53, 52, 51, 50,         // back line, right to left
    45, 44, 43, 42, 41,                 // defensive midfield
    36, 35, 34, 33, 32, 31, 30,         // midfield
    25, 24, 23, 22, 21,                 // attacking midfield
    14, 13, 12,                         // forwards
    4,  3,  2,                          // strikers
    7,  17, 27, 37, 47,                 // substitutes
    8,  18, 28, 38, 48, 58, 68, 78, 88, // first-pick reserves
    9,  19, 29, 39, 49, 59, 69, 79, 89, // second-pick reserves
    80, 81, 82, 83, 84,                 // captain, free kick, left corner, right corner, penalty
};

constexpr std::array<int, CLineUp::kColumns * CLineUp::kRows> MakeSlotsOfCells() {
    std::array<int, CLineUp::kColumns * CLineUp::kRows> slots{};
    for (int& slot : slots)
        slot = -1;
    for (int slot = 0; slot < CLineUp::kSlotCount; ++slot)
        slots[static_cast<size_t>(kCells[static_cast<size_t>(slot)])] = slot;
    return slots;
}

constexpr auto kSlotsOfCells = MakeSlotsOfCells();

// Set-piece slots 55-59 in their order on the pitch.
constexpr std::array<ETaker, 5> kTakersOfSlots{
    ETaker::Captain, ETaker::FreeKick, ETaker::LeftCorner, ETaker::RightCorner, ETaker::Penalty};

} // namespace

int CLineUp::CellOfSlot(int slot) {
    return slot >= 0 && slot < kSlotCount ? kCells[static_cast<size_t>(slot)] : -1;
}

int CLineUp::SlotOfCell(int cell) {
    return cell >= 0 && cell < kColumns * kRows ? kSlotsOfCells[static_cast<size_t>(cell)] : -1;
}

int32_t CLineUp::PositionOfSlot(int slot) {
    if (slot < kFirstBenchSlot)
        return slot;
    if (slot < kFirstFirstPickSlot)
        return kSubstitute;
    if (slot < kFirstSecondPickSlot)
        return kFirstPickReserve;
    return kSecondPickReserve;
}

ETaker CLineUp::TakerOfSlot(int slot) {
    return kTakersOfSlots[static_cast<size_t>(slot - kFirstSetPieceSlot)];
}

int CLineUp::SlotOfTaker(ETaker taker) {
    for (size_t i = 0; i < kTakersOfSlots.size(); ++i)
        if (kTakersOfSlots[i] == taker)
            return kFirstSetPieceSlot + static_cast<int>(i);
    return -1;
}

void CLineUp::Load(const CGameDatabase& db, const CTeam& team) {
    m_markers.clear();
    // Links met so far per bench code, overflowing ones included.
    int substitutes = 0;
    int firstPicks = 0;
    int secondPicks = 0;
    for (const CTeamPlayerLink& link : team.Links()) {
        if (!db.FindPlayer(link.playerId))
            continue;
        int32_t code = link.formationPosition;
        if (code == kSubstitute && substitutes++ >= kBenchPlaces)
            code = kFirstPickReserve;
        if (code == kFirstPickReserve && firstPicks++ >= kReservePlaces)
            code = kSecondPickReserve;
        int slot = code;
        if (code == kSubstitute)
            slot = kFirstBenchSlot + substitutes - 1;
        else if (code == kFirstPickReserve)
            slot = kFirstFirstPickSlot + firstPicks - 1;
        else if (code == kSecondPickReserve) {
            // Beyond the ninth the column runs into the set-piece row: such players stay off.
            if (secondPicks >= kReservePlaces) {
                ++secondPicks;
                continue;
            }
            slot = kFirstSecondPickSlot + secondPicks++;
        } else if (code < 0 || code >= kPitchSlots)
            continue;
        m_markers.push_back({link.playerId, slot, link.jerseyNumber, 0});
    }
    for (int slot = kFirstSetPieceSlot; slot < kSlotCount; ++slot) {
        const int32_t playerId = team.Taker(TakerOfSlot(slot));
        if (db.FindPlayer(playerId))
            m_markers.push_back({playerId, slot, 0, slot});
    }
}

int CLineUp::MarkerInSlot(int slot, int except) const {
    for (size_t i = 0; i < m_markers.size(); ++i)
        if (m_markers[i].slot == slot && static_cast<int>(i) != except)
            return static_cast<int>(i);
    return -1;
}

int CLineUp::MarkerOfPlayer(int32_t playerId) const {
    for (size_t i = 0; i < m_markers.size(); ++i)
        if (!m_markers[i].IsSetPiece() && m_markers[i].playerId == playerId)
            return static_cast<int>(i);
    return -1;
}

int CLineUp::StackLevel(int index) const {
    if (index < 0 || index >= static_cast<int>(m_markers.size()))
        return 0;
    int level = 0;
    for (int i = 0; i < index; ++i)
        if (m_markers[static_cast<size_t>(i)].slot == m_markers[static_cast<size_t>(index)].slot)
            ++level;
    return level;
}

int CLineUp::PitchCount() const {
    int count = 0;
    for (const SLineUpMarker& marker : m_markers)
        if (!marker.IsSetPiece() && marker.slot < kPitchSlots)
            ++count;
    return count;
}

void CLineUp::SetTaker(int setPieceSlot, int32_t playerId) {
    for (SLineUpMarker& marker : m_markers)
        if (marker.kind == setPieceSlot) {
            marker.playerId = playerId;
            return;
        }
    m_markers.push_back({playerId, setPieceSlot, 0, setPieceSlot});
}

EDropOutcome CLineUp::Drop(int index, int target) {
    if (index < 0 || index >= static_cast<int>(m_markers.size()) || target < 0 ||
        target >= kSlotCount)
        return EDropOutcome::Returned;
    SLineUpMarker& held = m_markers[static_cast<size_t>(index)];
    const int source = held.slot;
    const int other = MarkerInSlot(target, index);

    if (held.IsSetPiece()) {
        if (other < 0)
            return EDropOutcome::Returned;
        held.playerId = m_markers[static_cast<size_t>(other)].playerId;
        return EDropOutcome::TakerChanged;
    }
    if (IsSetPieceSlot(target)) {
        // On a set-piece slot, marker or not, the player becomes the taker and stays put.
        SetTaker(target, held.playerId);
        return EDropOutcome::TakerChanged;
    }
    if (other >= 0) {
        m_markers[static_cast<size_t>(other)].slot = source;
        held.slot = target;
        return EDropOutcome::Swapped;
    }
    if (source < kPitchSlots) {
        if (source == 0 || target >= kPitchSlots)
            return EDropOutcome::Returned;
    } else if (target < kPitchSlots && PitchCount() >= kPitchLimit) {
        return EDropOutcome::Returned;
    }
    held.slot = target;
    return EDropOutcome::Moved;
}

CPositionStep CLineUp::WriteBack(CTeam& team) const {
    CPositionStep step;
    for (const SLineUpMarker& marker : m_markers)
        if (!marker.IsSetPiece())
            step.Set(team, marker.playerId, PositionOfSlot(marker.slot));
    for (int slot = kFirstSetPieceSlot; slot < kSlotCount; ++slot)
        team.SetTaker(TakerOfSlot(slot), 0);
    for (const SLineUpMarker& marker : m_markers)
        if (marker.IsSetPiece())
            team.SetTaker(TakerOfSlot(marker.kind), marker.playerId);
    return step;
}
