#pragma once

#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/toolkit/CColourFormView.h"

#include <cstdint>

class CFrameHost;
struct CLeague;
class QLabel;
class QLineEdit;
class QSpinBox;

// The "Info" page of a league window: the league's three names and its level.
class CLeagueInfoForm : public CColourFormView {
    Q_OBJECT
public:
    CLeagueInfoForm(int32_t leagueId, CFrameHost& host, QWidget* parent = nullptr);

    // Shows the league as stored; nothing when it no longer exists.
    void Fill();
    void FillFrom(const CLeague& league);
    // Writes the controls into the league; false (and nothing written) when a name is refused
    // or the league no longer exists.
    bool Apply();

    QLineEdit* NameBox() const { return m_name; }
    QLineEdit* MediumNameBox() const { return m_mediumName; }
    QLineEdit* ShortNameBox() const { return m_shortName; }
    QSpinBox* LevelBox() const { return m_level; }

private:
    int32_t m_leagueId;
    CFrameHost& m_host;
    QLabel* m_id = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_mediumName = nullptr;
    QLineEdit* m_shortName = nullptr;
    CArrowRangeSpinBox* m_level = nullptr;
};
