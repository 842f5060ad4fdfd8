#pragma once

#include "editor/model/CLeagueSnapshot.h"
#include "editor/windows/CRecordFrame.h"

#include <QString>

class CGradientBanner;
class CLeagueInfoForm;
class CTeamsListView;
class QTabWidget;

// Child window of kind League: banner, the league's teams, and the "Info" page with the
// league's names and level. Apply, Reset, Undo and Redo go through its snapshot history.
class CLeagueFrame : public CRecordFrame<CLeagueSnapshot> {
    Q_OBJECT
public:
    CLeagueFrame(int leagueId, CFrameHost& host, QWidget* parent = nullptr);

    int LeagueId() const { return m_leagueId; }

    void Fill() override;
    void DocumentChanged(const SChange& change) override;

    CGradientBanner* Banner() const { return m_banner; }
    CLeagueInfoForm* InfoForm() const { return m_form; }
    QTabWidget* Tabs() const { return m_tabs; }
    // The league's teams, between banner and tabs.
    CTeamsListView* TeamsList() const { return m_teams; }

protected:
    void Restore(const CLeagueSnapshot& current, const CLeagueSnapshot& snapshot) override;

private:
    void OnApply();
    void OnReset();
    // Banner, teams and form from the record.
    void ShowLeague();
    // The banner's name and the teams list, made anew.
    void ShowTeams();
    void AnnounceChange(bool renamed);
    QString Title();

    int m_leagueId;
    CGradientBanner* m_banner = nullptr;
    CTeamsListView* m_teams = nullptr;
    QTabWidget* m_tabs = nullptr;
    CLeagueInfoForm* m_form = nullptr;
};
