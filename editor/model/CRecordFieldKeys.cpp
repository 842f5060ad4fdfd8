#include "CRecordFieldKeys.h"

#include "editor/model/CPlayerField.h"

#include <algorithm>
#include <span>
#include <utility>

namespace {

using SName = std::pair<std::string_view, const char*>;

constexpr SName kTeam[] = {
    {"adboard_id", "Caption_AdboardId"},
    {"attack", "Caption_Attack"},
    {"ball_type", "Caption_BallType"},
    {"captain", "Caption_Captain"},
    {"elite_team", "Caption_EliteTeam"},
    {"formation_id", "Caption_Formation"},
    {"free_kick_taker", "Caption_FreeKick"},
    {"generic_banner", "Caption_GenericBanner"},
    {"left_corner_taker", "Caption_LeftCorner"},
    {"medium_team_name", "Caption_TeamNameMed"},
    {"offside_trap", "Caption_OffsideTrap"},
    {"opponent_team_id", "Caption_Opponent"},
    {"penalty_taker", "Caption_PenaltyKick"},
    {"pitch_repair", "Caption_PitchRepair"},
    {"prestige", "Caption_TeamPrestige"},
    {"right_corner_taker", "Caption_RightCorner"},
    {"rivals", "Caption_Rivals"},
    {"short_team_name", "Caption_TeamNameShort"},
    {"speech_country_id", "Caption_SpeechCountryID"},
    {"stadium_id", "Caption_Stadium"},
    {"streamers", "Caption_Streamers"},
    {"team_name", "Caption_TeamName"},
    {"training_stadium_id", "Caption_TrainingStadium"},
    {"wet_kit", "Caption_WetKit"},
    {"without_ball", "Caption_WithoutBall"},
};

constexpr SName kLeague[] = {
    {"league_name", "Caption_League"},
    {"level", "Caption_LeagueLevel"},
    {"medium_league_name", "Caption_LeagueNameMedium"},
    {"short_league_name", "Caption_LeagueNameShort"},
    {"teams", "Caption_Teams"},
};

constexpr SName kKit[] = {
    {"collar_geometry", "Caption_CollarGeometry"},
    {"jersey_colour_1", "Caption_JerseyColour1"},
    {"jersey_colour_2", "Caption_JerseyColour2"},
    {"jersey_colour_3", "Caption_JerseyColour3"},
    {"jersey_double_digit_font_size", "Caption_JerseyDoubleDigitFontSize"},
    {"jersey_font_size", "Caption_JerseyFontSize"},
    {"jersey_type", "Caption_JerseyType"},
    {"kit_font", "Caption_KitFont"},
    {"name_colour", "Caption_NameColour"},
    {"name_placement", "Caption_NamePlacement"},
    {"number_colour", "Caption_NumberColour"},
    {"number_placement_back", "Caption_NumberPlacementBack"},
    {"number_placement_front", "Caption_NumberPlacementFront"},
    {"shorts_colour_1", "Caption_ShortsColour1"},
    {"shorts_colour_2", "Caption_ShortsColour2"},
    {"shorts_colour_3", "Caption_ShortsColour3"},
    {"shorts_number_colour", "Caption_ShortsNumberColour"},
    {"shorts_number_font_size", "Caption_ShortsNumberFontSize"},
    {"shorts_number_placement", "Caption_ShortsNumberPlacement"},
    {"shorts_number_x", "Caption_ShortsNumberX"},
    {"shorts_number_y", "Caption_ShortsNumberY"},
    {"shorts_type", "Caption_ShortsType"},
    {"socks_colour_1", "Caption_SocksColour1"},
    {"socks_colour_2", "Caption_SocksColour2"},
    {"socks_colour_3", "Caption_SocksColour3"},
    {"socks_type", "Caption_SocksType"},
    {"wet_kit", "Caption_WetKit"},
    {"wrinkle", "Caption_Wrinkle"},
};

constexpr SName kSquad[] = {
    {"formation_position", "Caption_FieldFormationPosition"},
    {"jersey_number", "Caption_FieldJerseyNumber"},
};

constexpr SName kStadium[] = {
    {"stadium_name", "Caption_FieldStadiumName"},
};

constexpr SName kFormation[] = {
    {"formation_name", "Caption_FieldFormationName"},
};

std::span<const SName> NamesOf(ERecordKind kind) {
    switch (kind) {
    case ERecordKind::Team:
        return kTeam;
    case ERecordKind::League:
        return kLeague;
    case ERecordKind::Kit:
        return kKit;
    case ERecordKind::Squad:
        return kSquad;
    case ERecordKind::Stadium:
        return kStadium;
    case ERecordKind::Formation:
        return kFormation;
    case ERecordKind::Player:
        break;
    }
    return {};
}

// The number after PREFIX when the field is PREFIX followed by digits only.
std::optional<std::string> NumberAfter(std::string_view field, std::string_view prefix) {
    if (!field.starts_with(prefix) || field.size() == prefix.size())
        return std::nullopt;
    const std::string_view digits = field.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::string(digits);
}

} // namespace

std::optional<CRecordFieldKeys::SKey> CRecordFieldKeys::Of(ERecordKind kind,
                                                           std::string_view field) {
    if (kind == ERecordKind::Player) {
        const CPlayerField* player = CPlayerField::Find(field);
        return player ? std::optional<SKey>(SKey{player->DisplayKey(), {}}) : std::nullopt;
    }
    for (const auto& [name, key] : NamesOf(kind))
        if (name == field)
            return SKey{key, {}};
    // Columns the game's files leave unnamed, and the texts records carry unchanged.
    if (kind != ERecordKind::Squad && kind != ERecordKind::Formation)
        if (auto number = NumberAfter(field, "column_"))
            return SKey{"Caption_FieldUnnamedColumn", std::move(*number)};
    if (kind == ERecordKind::Team || kind == ERecordKind::League)
        if (auto number = NumberAfter(field, "record_name_"))
            return SKey{"Caption_FieldRecordName", std::move(*number)};
    return std::nullopt;
}
