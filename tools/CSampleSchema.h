#pragma once

#include "editor/database/CDbCatalogue.h"

#include <string>
#include <vector>

// The table layout of the sample game database: the fifteen tables with their fixed words,
// columns and value ranges, and the one-table layout of the in-game text databases.
//
// Column ranges (low..high) of the sample, chosen to be plausible for the game:
//   players: attributes, consistency, leadership 0..100; talent 0..10; flags and star player
//     0..1; accessories 0..15, accessory and shoe colours 0..7; birth day number 100000..200000;
//     age rates 0..15; face type 0..63, specific face 0..4095, hair type 0..127, facial hair
//     0..15, hair colour 0..7, leg type and sleeve length 0..3, footed 0..2; height 150..215 cm;
//     weight 50..120 kg; preferred positions -1..34; tactical icons 0..31.
//   teams: ids 0..131071 (opponent), stadium ids 0..1023, formation 0..63, prestige 0..20,
//     attack and without ball 0..100, switches 0..1, other numbers 0..255.
//   teamkits: colour ids 0..255, styles and sizes 0..31, wet kit 0..1.
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
