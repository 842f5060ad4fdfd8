#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

class CGameDatabase;
class CIngameTextDb;

// The exchange of team and league names with an in-game text database: three texts per record
// (k = 0 name, 1 short name, 2 medium name) under 30,000,000 + 10 x team id + k and
// 10,000,000 + 10 x league id + k.
class CInGameNames {
public:
    // The longest name, in bytes of UTF-8, that the text database keeps.
    static constexpr size_t kMaxNameBytes = 255;

    // Nothing for an id whose text id does not fit 32 bits.
    static std::optional<uint32_t> TeamTextId(int32_t teamId, int k);
    static std::optional<uint32_t> LeagueTextId(int32_t leagueId, int k);

    // Sets every team's and league's names from the texts (missing texts give empty names).
    static void Import(const CIngameTextDb& texts, CGameDatabase& database);
    // Writes every name into the texts: existing entries change in place; a non-empty name
    // without an entry gets a new one, so it is not lost.
    static void Export(const CGameDatabase& database, CIngameTextDb& texts);
    // Takes the names whose texts are among `entries` (indices of the texts a text window
    // changed) into the database, so its next save does not write the old names back; an entry
    // the game does not read (an earlier one has its id) changes nothing. The renamed teams and
    // leagues are added to `teams` and `leagues`.
    static void ImportEntries(const CIngameTextDb& texts, const std::set<size_t>& entries,
                              CGameDatabase& database, std::set<int32_t>& teams,
                              std::set<int32_t>& leagues);
};
