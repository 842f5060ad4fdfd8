#pragma once

#include "editor/database/CDbCatalogue.h"

#include <string>
#include <vector>

// The table layout of the sample game database: the fifteen tables with their fixed words,
// columns and value ranges, and the one-table layout of the in-game text databases.
//
// Column ranges (low..high) of the sample: the game's own ranges (CGameRanges, low end at most
// 0) for every field the editor's windows bound, otherwise plausible widths:
//   players: attributes 0..100; flags and star player 0..1; birth day number 100000..200000.
//   teams: ids 0..131071 (opponent), stadium ids 0..1023, formation 0..63, prestige 0..20,
//     attack and without ball 0..100, switches 0..1, other numbers 0..255.
//   teamkits: colour ids 0..255.
//   specialteamplayers: player ids 0..1048575; teamplayerlinks: jersey 0..99, position 0..34.
//   leagues: country 0..255, level 0..15; stadiums: capacity 0..131071, kind 0..3 (0 match,
//     1 training), country 0..255, pitch 0..1023; coloridtorgb: 0..255 each.
class CSampleSchema {
public:
    struct SColumn {
        std::string name;
        int32_t low;
        int32_t high;
    };
    struct STable {
        std::string name;
        int fixedWords;
        std::vector<SColumn> columns;
        std::vector<std::string> nameList1;
    };

    // The fifteen tables in the writer's order.
    static std::vector<STable> GameTables();
    static std::vector<SColumn> PlayerColumns();

    // A catalogue of the given tables in the given order, with record sizes and descriptor
    // offsets computed as a file of that layout has them.
    static CDbCatalogue MakeCatalogue(const std::vector<STable>& tables);
    static CDbCatalogue GameCatalogue();
    static CDbCatalogue TextCatalogue();

    static constexpr uint32_t kHeaderWord1 = 0x00000003;
    static constexpr uint32_t kHeaderWord2 = 0x07D40001;
};
