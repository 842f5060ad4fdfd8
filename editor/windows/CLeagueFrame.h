#pragma once

#include "editor/model/CLeagueSnapshot.h"
#include "editor/windows/CSnapshotFrame.h"

#include <QString>

class CGradientBanner;
class CLeagueInfoForm;
class CTeamsListView;
class QTabWidget;

// Child window of kind League: banner, the league's teams, and the "Info" page with the
// league's names and level. Apply, Reset, Undo and Redo go through its snapshot history.
class CLeagueFrame : public CSnapshotFrame<CLeagueSnapshot> {
    Q_OBJECT
public:
    CLeagueFrame(int leagueId, CFrameHost& host, QWidget* parent = nullptr);

    int LeagueId() const { return RecordId(); }

    void Fill() override;

    CGradientBanner* Banner() const { return m_banner; }
    CLeagueInfoForm* InfoForm() const { return m_form; }
    QTabWidget* Tabs() const { return m_tabs; }
    // The league's teams, between banner and tabs.
    CTeamsListView* TeamsList() const { return m_teams; }

protected:
    void OutsideChange(const SChange& change) override;
    bool Renamed(const CLeagueSnapshot& before, const CLeagueSnapshot& after) const override;
    bool CopyIntoRecord(const CLeagueSnapshot& snapshot) override;
    uint32_t Restored(const CLeagueSnapshot& current, const CLeagueSnapshot& snapshot) override;
    // The title and the leagues list show its name and level.
    SChange Touched(uint32_t what) const override;

private:
    void OnApply();
    void OnReset();
    // Banner, teams and form from the record.
    void ShowLeague();
    // The banner's name and the teams list, made anew.
    void ShowTeams();

    CGradientBanner* m_banner = nullptr;
    CTeamsListView* m_teams = nullptr;
    QTabWidget* m_tabs = nullptr;
    CLeagueInfoForm* m_form = nullptr;
};
