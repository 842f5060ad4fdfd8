#pragma once

#include "editor/model/CPositionStep.h"
#include "editor/model/CTeam.h"

#include <cstdint>
#include <optional>
#include <vector>

class CGameDatabase;

// One marker of a line-up: a player in a slot, or the taker of a set piece.
struct SLineUpMarker {
    int32_t playerId = 0;
    int slot = 0;
    int32_t jerseyNumber = 0; // player markers only
    // 0 for a player marker, else the set-piece slot (55-59) the marker stands for.
    int kind = 0;

    bool IsSetPiece() const { return kind != 0; }
    bool operator==(const SLineUpMarker&) const = default;
};

// What a drop did.
enum class EDropOutcome { Returned, Moved, Swapped, TakerChanged };

// A team's squad laid out on the formation grid: 10 columns by 9 rows of cells, sixty slots.
// Slots 0-31 are the places in the formation (slot = position code), 32-36 the substitutes'
// bench, 37-45 and 46-54 the first- and second-pick reserves, 55-59 the set pieces (captain,
// free kick, left corner, right corner, penalty). Moves change only the markers until
// WriteBack stores them into the team.
class CLineUp {
public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 9;
    static constexpr int kSlotCount = 60;
    static constexpr int kPitchSlots = 32;
    static constexpr int kFirstBenchSlot = 32;
    static constexpr int kFirstFirstPickSlot = 37;
    static constexpr int kFirstSecondPickSlot = 46;
    static constexpr int kFirstSetPieceSlot = 55;
    static constexpr int kBenchPlaces = 5;
    static constexpr int kReservePlaces = 9;
    static constexpr int kPitchLimit = 11;
    static constexpr int kSubstitute = 32;
    static constexpr int kFirstPickReserve = 33;
    static constexpr int kSecondPickReserve = 34;

    // Cell (row * 10 + column) of a slot; -1 for a number outside 0-59.
    static int CellOfSlot(int slot);
    // The slot owning a cell, or -1 when no slot owns it.
    static int SlotOfCell(int cell);
    // The position code a slot is stored as (bench columns collapse to 32, 33 and 34).
    static int32_t PositionOfSlot(int slot);
    static bool IsSetPieceSlot(int slot) { return slot >= kFirstSetPieceSlot && slot < kSlotCount; }
    // The set piece a slot of 55-59 stands for.
    static ETaker TakerOfSlot(int slot);
    static int SlotOfTaker(ETaker taker);

    // Rebuilds every marker from the team: its links whose player exists, in link order,
    // then the set-piece takers that exist. Links that cannot be placed (codes outside 0-34,
    // second-pick reserves beyond the ninth) get no marker, so WriteBack leaves them alone.
    void Load(const CGameDatabase& db, const CTeam& team);

    const std::vector<SLineUpMarker>& Markers() const { return m_markers; }
    // The first marker standing in the slot other than `except`, or -1.
    int MarkerInSlot(int slot, int except = -1) const;
    // The player marker of a player, or -1.
    int MarkerOfPlayer(int32_t playerId) const;
    // How many markers earlier in the list stand in the same slot (0 for a slot's first):
    // a team can hold one position twice, and each such marker must stay visible.
    int StackLevel(int index) const;
    // Player markers in slots 0-31.
    int PitchCount() const;

    // Drops marker `index` on slot `target` (-1: outside every slot) by the rules of the
    // formation page; an index outside the list does nothing.
    EDropOutcome Drop(int index, int target);

    // Stores the line-up into the team: each link with a marker takes its slot's position
    // code, and the five set-piece takers become those of the set-piece markers (0 where
    // none). Returns the link positions it changed.
    CPositionStep WriteBack(CTeam& team) const;

private:
    void SetTaker(int setPieceSlot, int32_t playerId);

    std::vector<SLineUpMarker> m_markers;
};
