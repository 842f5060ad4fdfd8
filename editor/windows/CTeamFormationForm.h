#pragma once

#include "editor/model/CFormationTemplates.h"
#include "editor/model/CLineUp.h"

#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/toolkit/CColourFormView.h"

#include <functional>
#include <vector>

class CFormationView;
class CFrameHost;
class QCheckBox;
class QComboBox;
class QSpinBox;
struct SFormationMarker;

// The formation page of a team window: formation, tactics and the line-up on the pitch.
// Moves on the pitch stay in the page until Apply; choosing a formation writes at once.
class CTeamFormationForm : public CColourFormView {
    Q_OBJECT
public:
    // The players of the team's squad list in its current order (the rows a formation fills).
    using RowOrder = std::function<std::vector<int32_t>()>;

    CTeamFormationForm(int teamId, CFrameHost& host, QWidget* parent = nullptr);

    void SetRowOrder(RowOrder rows) { m_rows = std::move(rows); }

    // Reads the team into the controls and lays out the pitch again, dropping unapplied moves.
    void Fill();
    // Writes controls and pitch into the team and says so with Applied.
    void Apply();
    // Puts back what this page edits as it was in `opened` (the team when its window opened):
    // the squad's jersey numbers and positions, takers, formation and tactics; then applies.
    void ResetTo(const CTeam& opened);

    const CLineUp& LineUp() const { return m_lineUp; }
    CFormationView* Pitch() const { return m_pitch; }
    QSpinBox* AttackBox() const { return m_attack; }

signals:
    // A formation was chosen and written into the team (its id and these link positions):
    // the window makes it one undo step and refreshes the team's views.
    void FormationChanged(const CPositionStep& positions);
    // Apply wrote into the team, with these link positions.
    void Applied(const CPositionStep& positions);
    void ResetRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void ApplyWith(CPositionStep positions);
    void LoadPitch();
    void ShowMarkers();
    SFormationMarker MarkerView(int index) const;
    QString SlotName(int slot) const;
    QString ToolTipOf(int index) const;
    void ChooseFormation(int entry);
    void DropMarker(int index, int cell);
    void OpenMarker(int index);

    int m_teamId;
    CFrameHost& m_host;
    RowOrder m_rows;
    CLineUp m_lineUp;

    QComboBox* m_formation = nullptr;
    QCheckBox* m_offsideTrap = nullptr;
    CArrowRangeSpinBox* m_attack = nullptr;
    CArrowRangeSpinBox* m_withoutBall = nullptr;
    CFormationView* m_pitch = nullptr;
};
