#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// What one change to the database touched: the records by kind and id, and which of their parts.
// Views compare it with what they show and update only then.
struct SChange {
    enum EWhat : uint32_t {
        Fields = 1u << 0,   // values a record window or the tables show
        Squad = 1u << 1,    // team membership, links, positions, jersey numbers
        Names = 1u << 2,    // names (titles, lists)
        Pictures = 1u << 3, // crests, kits, faces
        Records = 1u << 4,  // records added or removed
    };

    uint32_t what = 0;
    // Every record of the parts in `what` (the ids below are empty): a load, reload or restore
    // of the database (all parts), or of an archive (pictures).
    bool everything = false;
    // Sorted, without repeats (Normalise).
    std::vector<int32_t> players;
    std::vector<int32_t> teams;
    std::vector<int32_t> leagues;
    // The view that made the change and shows it already (null: none).
    const void* origin = nullptr;

    static SChange Everything() {
        SChange change;
        change.what = Fields | Squad | Names | Pictures | Records;
        change.everything = true;
        return change;
    }

    static SChange AllPictures() {
        SChange change;
        change.what = Pictures;
        change.everything = true;
        return change;
    }

    bool Has(EWhat part) const { return (what & part) != 0; }
    // The database was read again: windows start over on their records.
    bool Reloaded() const { return everything && Has(Records); }
    bool HasPlayer(int32_t id) const { return everything || Contains(players, id); }
    bool HasTeam(int32_t id) const { return everything || Contains(teams, id); }
    bool HasLeague(int32_t id) const { return everything || Contains(leagues, id); }
    bool AnyPlayer() const { return everything || !players.empty(); }
    bool AnyTeam() const { return everything || !teams.empty(); }
    bool AnyLeague() const { return everything || !leagues.empty(); }

    void Normalise() {
        for (std::vector<int32_t>* ids : {&players, &teams, &leagues}) {
            std::sort(ids->begin(), ids->end());
            ids->erase(std::unique(ids->begin(), ids->end()), ids->end());
        }
    }

private:
    static bool Contains(const std::vector<int32_t>& ids, int32_t id) {
        return std::binary_search(ids.begin(), ids.end(), id);
    }
};
