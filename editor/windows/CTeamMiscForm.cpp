#include "CTeamMiscForm.h"

#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/windows/CFieldNumbers.h"
#include "editor/windows/CFrameHost.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

#include <limits>

namespace {

struct SNumber {
    const char* key;
    ETeamColumn column;
    int arrowMinimum;
    int arrowMaximum;
};

// The arrows keep to the game's usual ranges, within the ranges of the file's columns.
constexpr std::array<SNumber, CTeamMiscForm::kNumberCount> kNumbers = {{
    {"Caption_BallType", ETeamColumn::BallType, 1, 7},
    {"Caption_AdboardId", ETeamColumn::AdboardId, 1, 245},
    {"Caption_PitchRepair", ETeamColumn::PitchRepair, 0, 3},
    {"Caption_SpeechCountryID", ETeamColumn::SpeechCountryId, 0, std::numeric_limits<int>::max()},
}};

struct SSwitch {
    const char* key;
    ETeamColumn column;
};

constexpr std::array<SSwitch, CTeamMiscForm::kSwitchCount> kSwitches = {{
    {"Caption_GenericBanner", ETeamColumn::GenericBanner},
    {"Caption_Streamers", ETeamColumn::Streamers},
    {"Caption_WetKit", ETeamColumn::WetKit},
}};

} // namespace

CTeamMiscForm::CTeamMiscForm(int32_t teamId, CFrameHost& host, QWidget* parent)
    : CColourFormView(host.Lookup(), parent), m_teamId(teamId), m_host(host) {
    auto* grid = new QGridLayout(Body());
    int row = 0;
    for (size_t i = 0; i < kNumbers.size(); ++i, ++row) {
        auto* label = new QLabel(QString::fromLatin1(kNumbers[i].key), Body());
        m_numbers[i] =
            new CArrowRangeSpinBox(kNumbers[i].arrowMinimum, kNumbers[i].arrowMaximum, Body());
        m_numbers[i]->setMinimumWidth(90);
        label->setBuddy(m_numbers[i]);
        grid->addWidget(label, row, 0);
        grid->addWidget(m_numbers[i], row, 1, Qt::AlignLeft);
    }
    for (size_t i = 0; i < kSwitches.size(); ++i, ++row) {
        m_switches[i] = new QCheckBox(QString::fromLatin1(kSwitches[i].key), Body());
        grid->addWidget(m_switches[i], row, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row, 1);
}

void CTeamMiscForm::Fill() {
    if (const CTeam* team = m_host.FindTeam(m_teamId)) {
        FillFrom(*team);
    }
}

void CTeamMiscForm::FillFrom(const CTeam& team) {
    const CGameDatabase* db = m_host.Database();
    for (size_t i = 0; i < kNumbers.size(); ++i) {
        if (db) {
            CFieldNumbers::Fill(m_numbers[i], m_host, *db, "teams",
                                static_cast<int>(kNumbers[i].column), team.Value(kNumbers[i].column));
        } else {
            m_numbers[i]->setValue(team.Value(kNumbers[i].column));
        }
    }
    for (size_t i = 0; i < kSwitches.size(); ++i) {
        m_filledSwitches[i] = team.Value(kSwitches[i].column) != 0;
        m_switches[i]->setChecked(m_filledSwitches[i]);
    }
}

bool CTeamMiscForm::Apply() {
    CTeam* team = m_host.FindTeam(m_teamId);
    if (!team) {
        return false;
    }
    for (size_t i = 0; i < kNumbers.size(); ++i) {
        m_numbers[i]->interpretText();
        team->SetValue(kNumbers[i].column, m_numbers[i]->value());
    }
    // A switch stored as something other than 0 or 1 keeps its value unless toggled.
    for (size_t i = 0; i < kSwitches.size(); ++i) {
        if (m_switches[i]->isChecked() != m_filledSwitches[i]) {
            team->SetValue(kSwitches[i].column, m_switches[i]->isChecked() ? 1 : 0);
            m_filledSwitches[i] = m_switches[i]->isChecked();
        }
    }
    return true;
}
