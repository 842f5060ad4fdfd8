#include "CGameRanges.h"

#include <array>

namespace {

struct SEntry {
    std::string_view table;
    std::string_view column;
    CGameRanges::SRange range;
};

constexpr std::string_view kPlayers = "players";
constexpr std::string_view kKits = "teamkits";
constexpr std::string_view kTeams = "teams";

constexpr std::array kEntries{
    SEntry{kPlayers, "leadership", {0, 4}},
    SEntry{kPlayers, "talent", {0, 5}},
    SEntry{kPlayers, "consistency", {0, 4}},
    SEntry{kPlayers, "tactical_icon_id_1", {0, 13}},
    SEntry{kPlayers, "tactical_icon_id_2", {0, 13}},
    SEntry{kPlayers, "tactical_icon_id_3", {0, 13}},
    SEntry{kPlayers, "tactical_icon_id_4", {0, 13}},
    SEntry{kPlayers, "age_rate_1", {1, 7}},
    SEntry{kPlayers, "age_rate_2", {1, 5}},
    SEntry{kPlayers, "face_type", {1, 25}},
    SEntry{kPlayers, "hair_colour", {1, 5}},
    SEntry{kPlayers, "hair_type", {1, 11}},
    SEntry{kPlayers, "facial_hair_style", {1, 6}},
    SEntry{kPlayers, "specific_face", {0, 650}},
    SEntry{kPlayers, "leg_type", {1, 6}},
    SEntry{kPlayers, "sleeve_length", {0, 1}},
    SEntry{kPlayers, "accessory_1", {1, 15}},
    SEntry{kPlayers, "accessory_2", {1, 15}},
    SEntry{kPlayers, "accessory_3", {1, 15}},
    SEntry{kPlayers, "accessory_4", {1, 15}},
    SEntry{kPlayers, "accessory_5", {1, 15}},
    SEntry{kPlayers, "accessory_colour_1", {1, 5}},
    SEntry{kPlayers, "accessory_colour_2", {1, 5}},
    SEntry{kPlayers, "accessory_colour_3", {1, 5}},
    SEntry{kPlayers, "accessory_colour_4", {1, 5}},
    SEntry{kPlayers, "accessory_colour_5", {1, 5}},
    SEntry{kPlayers, "shoe_colour", {1, 5}},
    SEntry{kPlayers, "height", {0, 205}},
    SEntry{kPlayers, "weight", {0, 205}},
    // Position 1 is a place on the pitch; 2 and 3 may be -1, none.
    SEntry{kPlayers, "preferred_position_1", {0, 31}},
    SEntry{kPlayers, "preferred_position_2", {-1, 31}},
    SEntry{kPlayers, "preferred_position_3", {-1, 31}},
    SEntry{kPlayers, "footed", {0, 2}},
    SEntry{kKits, "jersey_type", {0, 43}},
    SEntry{kKits, "collar_geometry", {1, 5}},
    SEntry{kKits, "kit_font", {1, 10}},
    SEntry{kKits, "jersey_font_size", {0, 71}},
    SEntry{kKits, "jersey_double_digit_font_size", {0, 71}},
    SEntry{kKits, "name_placement", {0, 3}},
    SEntry{kKits, "number_placement_back", {0, 2}},
    SEntry{kKits, "number_placement_front", {0, 2}},
    SEntry{kKits, "shorts_type", {0, 14}},
    SEntry{kKits, "shorts_number_font_size", {0, 19}},
    SEntry{kKits, "shorts_number_placement", {0, 19}},
    SEntry{kKits, "socks_type", {0, 5}},
    SEntry{kKits, "wrinkle", {0, 11}},
    SEntry{kKits, "wet_kit", {0, 1}},
    SEntry{kTeams, "ball_type", {1, 7}},
    SEntry{kTeams, "adboard_id", {1, 245}},
    SEntry{kTeams, "pitch_repair", {0, 3}},
};

} // namespace

std::optional<CGameRanges::SRange> CGameRanges::Find(std::string_view table,
                                                         std::string_view column) {
    for (const SEntry& entry : kEntries) {
        if (entry.table == table && entry.column == column)
            return entry.range;
    }
    return std::nullopt;
}
