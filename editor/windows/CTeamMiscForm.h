#pragma once

#include "editor/model/CTeam.h"
#include "editor/toolkit/CColourFormView.h"

#include <array>
#include <cstdint>

class CArrowRangeSpinBox;
class CFrameHost;
class QCheckBox;

// The miscellaneous page of a team window: ball, adboard, pitch repair, speech country and
// three switches. A box left alone leaves its field as stored.
class CTeamMiscForm : public CColourFormView {
    Q_OBJECT
public:
    static constexpr int kNumberCount = 4;
    static constexpr int kSwitchCount = 3;

    CTeamMiscForm(int32_t teamId, CFrameHost& host, QWidget* parent = nullptr);

    void Fill();
    void FillFrom(const CTeam& team);
    // False when the team no longer exists.
    bool Apply();

    CArrowRangeSpinBox* NumberBox(int index) const { return m_numbers[index]; }
    QCheckBox* SwitchBox(int index) const { return m_switches[index]; }

private:
    int32_t m_teamId;
    CFrameHost& m_host;
    std::array<CArrowRangeSpinBox*, kNumberCount> m_numbers{};
    std::array<QCheckBox*, kSwitchCount> m_switches{};
    std::array<bool, kSwitchCount> m_filledSwitches{};
};
