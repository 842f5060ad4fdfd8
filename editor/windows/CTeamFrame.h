#pragma once

#include "editor/document/SChange.h"
#include "editor/model/CPositionStep.h"
#include "editor/model/CTeam.h"
#include "editor/model/CTeamSnapshot.h"
#include "editor/windows/CSnapshotFrame.h"

#include <QString>

#include <map>
#include <vector>

class CGradientBanner;
class CTeamFormationForm;
class CTeamInfoForm;
class CTeamKitsForm;
class CTeamMiscForm;
class CPlayersListView;
class QIcon;
class QPoint;
class QTabWidget;

// Child window of kind Team: the banner above the pages information (with the squad list
// above the form), kits and miscellaneous. Every page's Apply and Reset is a step of the
// window's history; Undo and Redo restore only what the window edits.
class CTeamFrame : public CSnapshotFrame<CTeamSnapshot> {
    Q_OBJECT
public:
    static constexpr double kCrestScale = 0.375;

    CTeamFrame(int teamId, CFrameHost& host, QWidget* parent = nullptr);

    int TeamId() const { return RecordId(); }

    void Fill() override;
    std::optional<int32_t> NewPlayerTeam() const override { return TeamId(); }

    CGradientBanner* Banner() const { return m_banner; }
    QTabWidget* Tabs() const { return m_tabs; }
    CTeamInfoForm* InfoForm() const { return m_info; }
    CTeamFormationForm* FormationForm() const { return m_formation; }
    CTeamKitsForm* KitsForm() const { return m_kits; }
    CTeamMiscForm* MiscForm() const { return m_misc; }
    // The team's squad, above the information form.
    CPlayersListView* SquadList() const { return m_squad; }
    // The team as the window opened it (the formation page's Reset wants it whole).
    const CTeam& OpenedTeam() const { return m_opened; }

    // Puts a page built elsewhere among the tabs (the formation page goes at index 1).
    void InsertPage(int index, QWidget* page, const QIcon& icon, const char* tabKey);
    // A page wrote into the team: one step in the history when what the window edits changed
    // or the step moved players (their link positions come back with Undo).
    void RecordApplied(const CPositionStep& positions = {});
    // The squad list's players in its current row order.
    std::vector<int32_t> SquadOrder() const;

protected:
    void OutsideChange(const SChange& change) override;
    bool Renamed(const CTeamSnapshot& before, const CTeamSnapshot& after) const override;
    bool CopyIntoRecord(const CTeamSnapshot& snapshot) override;
    uint32_t Restored(const CTeamSnapshot& current, const CTeamSnapshot& snapshot) override;
    // The league windows and the leagues list show the team too.
    SChange Touched(uint32_t what) const override;

private:
    void ResetPage(CTeamSnapshot::EPage page);
    void FillPages();
    void ShowBanner();
    // The crest's Import Picture… and Export Picture… at that point of the banner.
    void ShowCrestMenu(const QPoint& position);
    void ShowSquad();
    // Asks the crest and the kit picture again: the archives changed under them.
    void ShowPictures();

    CTeam m_opened;
    CGradientBanner* m_banner = nullptr;
    QTabWidget* m_tabs = nullptr;
    CPlayersListView* m_squad = nullptr;
    CTeamInfoForm* m_info = nullptr;
    CTeamFormationForm* m_formation = nullptr;
    // Link positions moved by a step, by the history index of its snapshot; and the index the
    // team shows now, so Undo and Redo know which way they go.
    std::map<int, CPositionStep> m_positionSteps;
    int m_shownStep = 0;
    CTeamKitsForm* m_kits = nullptr;
    CTeamMiscForm* m_misc = nullptr;
};
