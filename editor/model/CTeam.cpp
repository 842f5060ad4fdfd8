#include "CTeam.h"

#include <algorithm>
#include <utility>

namespace {

using K = EFieldKind;

constexpr std::array<SColumnInfo, CTeam::kColumnCount> kColumns = {{
    {"adboard_id", K::Int32},          {"attack", K::Int32},       {"ball_type", K::Int32},
    {"elite_team", K::Int32},          {"column_4", K::Int32},     {"formation_id", K::Int32},
    {"generic_banner", K::Int32},      {"column_7", K::Int32},     {"offside_trap", K::Int32},
    {"opponent_team_id", K::Int32},    {"pitch_repair", K::Int32}, {"speech_country_id", K::Int32},
    {"stadium_id", K::Int32},          {"streamers", K::Int32},    {"column_14", K::Int32},
    {"column_15", K::Int32},           {"column_16", K::Int32},    {"prestige", K::Int32},
    {"training_stadium_id", K::Int32}, {"wet_kit", K::Int32},      {"without_ball", K::Int32},
}};

static_assert(static_cast<int>(ETeamColumn::WithoutBall) == CTeam::kColumnCount - 1);

constexpr std::array<const char*, CTeam::kTakerCount> kTakerNames = {
    "captain", "free_kick_taker", "left_corner_taker", "penalty_taker", "right_corner_taker"};

} // namespace

std::span<const SColumnInfo, CTeam::kColumnCount> CTeam::Columns() {
    return kColumns;
}

std::span<const char* const, CTeam::kTakerCount> CTeam::TakerNames() {
    return kTakerNames;
}

int CTeam::ColumnOfName(std::string_view name) {
    for (int i = 0; i < kColumnCount; ++i)
        if (name == kColumns[i].name)
            return i;
    return -1;
}

void CTeam::SetId(int32_t id) {
    m_id = id;
    for (CTeamPlayerLink& link : m_links)
        link.teamId = id;
    for (auto& kit : m_kits)
        if (kit)
            kit->SetTeamId(id);
}

void CTeam::SetColumnValue(int column, int32_t value) {
    if (column >= 0 && column < kColumnCount)
        m_columns[column] = value;
}

bool CTeam::AddLeague(int32_t leagueId) {
    if (std::find(m_leagues.begin(), m_leagues.end(), leagueId) != m_leagues.end())
        return false;
    m_leagues.push_back(leagueId);
    return true;
}

bool CTeam::SetKit(int32_t kitType, const CTeamKit& kit) {
    if (kitType < 0 || kitType >= CTeamKit::kSlotCount)
        return false;
    m_kits[kitType] = kit;
    m_kits[kitType]->SetKitType(kitType);
    return true;
}

void CTeam::ClearKit(int32_t kitType) {
    if (kitType >= 0 && kitType < CTeamKit::kSlotCount)
        m_kits[kitType].reset();
}

const CTeamKit* CTeam::FindKit(int32_t kitType) const {
    if (kitType < 0 || kitType >= CTeamKit::kSlotCount || !m_kits[kitType])
        return nullptr;
    return &*m_kits[kitType];
}

CTeamKit* CTeam::FindKit(int32_t kitType) {
    return const_cast<CTeamKit*>(std::as_const(*this).FindKit(kitType));
}

const CTeamPlayerLink* CTeam::FindLink(int32_t playerId) const {
    for (const CTeamPlayerLink& link : m_links)
        if (link.playerId == playerId)
            return &link;
    return nullptr;
}

CTeamPlayerLink* CTeam::FindLink(int32_t playerId) {
    return const_cast<CTeamPlayerLink*>(std::as_const(*this).FindLink(playerId));
}

bool CTeam::AddOrUpdateLink(const CTeamPlayerLink& link) {
    if (CTeamPlayerLink* existing = FindLink(link.playerId)) {
        existing->jerseyNumber = link.jerseyNumber;
        existing->formationPosition = link.formationPosition;
        existing->teamId = m_id;
        return false;
    }
    m_links.push_back(link);
    m_links.back().teamId = m_id;
    return true;
}

std::optional<CTeamPlayerLink> CTeam::RemoveLink(int32_t playerId) {
    auto it = std::find_if(m_links.begin(), m_links.end(),
                           [&](const CTeamPlayerLink& link) { return link.playerId == playerId; });
    if (it == m_links.end())
        return std::nullopt;
    CTeamPlayerLink removed = *it;
    m_links.erase(it);
    return removed;
}
