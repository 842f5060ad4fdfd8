#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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
};
