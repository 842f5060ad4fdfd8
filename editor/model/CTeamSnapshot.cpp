#include "CTeamSnapshot.h"

namespace {

struct SEditedColumn {
    ETeamColumn column;
    CTeamSnapshot::EPage page;
};

using P = CTeamSnapshot::EPage;
// The team columns the window edits, by page.
constexpr std::array kEditedColumnPages = {
    SEditedColumn{ETeamColumn::StadiumId, P::Information},
    SEditedColumn{ETeamColumn::TrainingStadiumId, P::Information},
    SEditedColumn{ETeamColumn::OpponentTeamId, P::Information},
    SEditedColumn{ETeamColumn::EliteTeam, P::Information},
    SEditedColumn{ETeamColumn::Prestige, P::Information},
    SEditedColumn{ETeamColumn::FormationId, P::Formation},
    SEditedColumn{ETeamColumn::Attack, P::Formation},
    SEditedColumn{ETeamColumn::WithoutBall, P::Formation},
    SEditedColumn{ETeamColumn::OffsideTrap, P::Formation},
    SEditedColumn{ETeamColumn::BallType, P::Miscellaneous},
    SEditedColumn{ETeamColumn::AdboardId, P::Miscellaneous},
    SEditedColumn{ETeamColumn::PitchRepair, P::Miscellaneous},
    SEditedColumn{ETeamColumn::SpeechCountryId, P::Miscellaneous},
    SEditedColumn{ETeamColumn::GenericBanner, P::Miscellaneous},
    SEditedColumn{ETeamColumn::Streamers, P::Miscellaneous},
    SEditedColumn{ETeamColumn::WetKit, P::Miscellaneous},
};

} // namespace

CTeamSnapshot CTeamSnapshot::Of(const CTeam& team) {
    CTeamSnapshot snapshot;
    snapshot.m_name = team.Name();
    snapshot.m_mediumName = team.MediumName();
    snapshot.m_shortName = team.ShortName();
    snapshot.m_columns.reserve(kEditedColumnPages.size());
    for (const SEditedColumn& edited : kEditedColumnPages) {
        snapshot.m_columns.push_back(team.Value(edited.column));
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
    for (EPage page : {EPage::Information, EPage::Formation, EPage::Kits, EPage::Miscellaneous}) {
        RestoreInto(team, page);
    }
}

void CTeamSnapshot::RestoreInto(CTeam& team, EPage page) const {
    for (size_t i = 0; i < kEditedColumnPages.size(); ++i) {
        if (kEditedColumnPages[i].page == page) {
            team.SetValue(kEditedColumnPages[i].column, m_columns[i]);
        }
    }
    if (page == EPage::Information) {
        team.SetName(m_name);
        team.SetMediumName(m_mediumName);
        team.SetShortName(m_shortName);
        team.SetRivals(m_rivals);
    }
    if (page == EPage::Formation) {
        for (int taker = 0; taker < CTeam::kTakerCount; ++taker) {
            team.SetTaker(static_cast<ETaker>(taker), m_takers[taker]);
        }
    }
    if (page != EPage::Kits) {
        return;
    }
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
