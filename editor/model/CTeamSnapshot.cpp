#include "CTeamSnapshot.h"

namespace {

constexpr std::array kEditedColumns = {
    // information page
    ETeamColumn::StadiumId, ETeamColumn::TrainingStadiumId, ETeamColumn::OpponentTeamId,
    ETeamColumn::EliteTeam, ETeamColumn::Prestige,
    // formation page
    ETeamColumn::FormationId, ETeamColumn::Attack, ETeamColumn::WithoutBall,
    ETeamColumn::OffsideTrap,
    // miscellaneous page
    ETeamColumn::BallType, ETeamColumn::AdboardId, ETeamColumn::PitchRepair,
    ETeamColumn::SpeechCountryId, ETeamColumn::GenericBanner, ETeamColumn::Streamers,
    ETeamColumn::WetKit};

} // namespace

std::span<const ETeamColumn> CTeamSnapshot::EditedColumns() {
    return kEditedColumns;
}

CTeamSnapshot CTeamSnapshot::Of(const CTeam& team) {
    CTeamSnapshot snapshot;
    snapshot.m_name = team.Name();
    snapshot.m_mediumName = team.MediumName();
    snapshot.m_shortName = team.ShortName();
    snapshot.m_columns.reserve(kEditedColumns.size());
    for (ETeamColumn column : kEditedColumns) {
        snapshot.m_columns.push_back(team.Value(column));
    }
    for (int taker = 0; taker < CTeam::kTakerCount; ++taker) {
        snapshot.m_takers[taker] = team.Taker(static_cast<ETaker>(taker));
    }
    snapshot.m_rivals = team.Rivals();
    for (int type = 0; type < CTeamKit::kSlotCount; ++type) {
        if (const CTeamKit* kit = team.FindKit(type)) {
            snapshot.m_kits[type] = *kit;
        }
    }
    return snapshot;
}

void CTeamSnapshot::RestoreInto(CTeam& team) const {
    team.SetName(m_name);
    team.SetMediumName(m_mediumName);
    team.SetShortName(m_shortName);
    for (size_t i = 0; i < kEditedColumns.size(); ++i) {
        team.SetValue(kEditedColumns[i], m_columns[i]);
    }
    for (int taker = 0; taker < CTeam::kTakerCount; ++taker) {
        team.SetTaker(static_cast<ETaker>(taker), m_takers[taker]);
    }
    team.SetRivals(m_rivals);
    for (int type = 0; type < CTeamKit::kSlotCount; ++type) {
        if (m_kits[type]) {
            team.SetKit(type, *m_kits[type]);
        } else {
            team.ClearKit(type);
        }
    }
}

const CTeamKit* CTeamSnapshot::Kit(int32_t kitType) const {
    if (kitType < 0 || kitType >= CTeamKit::kSlotCount || !m_kits[kitType]) {
        return nullptr;
    }
    return &*m_kits[kitType];
}
