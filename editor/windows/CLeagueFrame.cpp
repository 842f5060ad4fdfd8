#include "CLeagueFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CLeagueInfoForm.h"
#include "editor/windows/CRecordIcons.h"
#include "editor/windows/CTeamsListView.h"

#include <QSplitter>
#include <QTabWidget>

CLeagueFrame::CLeagueFrame(int leagueId, CFrameHost& host, QWidget* parent)
    : CSnapshotFrame(Kind::League, leagueId, host, parent) {
    m_banner = new CGradientBanner(this);
    m_banner->SetTitleFont(host.TitleFont());
    m_banner->SetColour(palette().color(QPalette::Highlight));

    auto* split = new QSplitter(Qt::Vertical, this);
    m_teams = new CTeamsListView(host, split);
    // A league of the game has up to 20 teams.
    m_teams->SetShownRows(16);
    split->addWidget(m_teams);

    m_tabs = new QTabWidget(split);
    m_form = new CLeagueInfoForm(leagueId, host, m_tabs);
    // The page's caption is a fixed text, as the game's tools have it.
    m_tabs->addTab(m_form, CRecordIcons::Information(), QStringLiteral("Info"));
    split->addWidget(m_tabs);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    SetBannerAndBody(m_banner, split);

    connect(m_form, &CColourFormView::ApplyClicked, this, &CLeagueFrame::OnApply);
    connect(m_form, &CColourFormView::ResetClicked, this, &CLeagueFrame::OnReset);
}

void CLeagueFrame::Fill() {
    if (const CLeague* league = Host().FindLeague(LeagueId())) {
        StartHistory(CLeagueSnapshot::Of(*league));
    }
    ShowLeague();
}

void CLeagueFrame::OutsideChange(const SChange& change) {
    const CGameDatabase* db = Host().Database();
    if (!db || (!change.HasLeague(LeagueId()) && !change.AnyTeam())) {
        return;
    }
    // Its teams list shows their names, crests and squad sizes.
    bool shown = change.HasLeague(LeagueId());
    for (int32_t team : db->TeamsOfLeague(LeagueId())) {
        shown = shown || change.HasTeam(team);
    }
    // Squads and team names changed elsewhere; what the user types in the form stays.
    if (shown) {
        if (const CLeague* league = Host().FindLeague(LeagueId())) {
            m_banner->SetTitle(QString::fromStdString(league->name));
        }
        m_teams->DocumentChanged(change);
    }
}

void CLeagueFrame::ShowTeams() {
    const CLeague* league = Host().FindLeague(LeagueId());
    if (!league) {
        return;
    }
    m_banner->SetTitle(QString::fromStdString(league->name));
    m_teams->Show(LeagueId());
}

void CLeagueFrame::ShowLeague() {
    ShowTeams();
    m_form->Fill();
}

void CLeagueFrame::OnApply() {
    const CLeague* league = Host().FindLeague(LeagueId());
    if (!league || History().IsEmpty() || !m_form->Apply()) {
        return;
    }
    if (CommitSnapshot(CLeagueSnapshot::Of(*league))) {
        ShowLeague();
    }
}

void CLeagueFrame::OnReset() {
    const CLeague* league = Host().FindLeague(LeagueId());
    if (!league || History().IsEmpty()) {
        return;
    }
    CLeague opened = *league;
    History().First().RestoreInto(opened);
    m_form->FillFrom(opened);
    OnApply();
}

bool CLeagueFrame::Renamed(const CLeagueSnapshot& before, const CLeagueSnapshot& after) const {
    return before.Name() != after.Name();
}

bool CLeagueFrame::CopyIntoRecord(const CLeagueSnapshot& snapshot) {
    CLeague* league = Host().FindLeague(LeagueId());
    if (league) {
        snapshot.RestoreInto(*league);
    }
    return league != nullptr;
}

uint32_t CLeagueFrame::Restored(const CLeagueSnapshot&, const CLeagueSnapshot&) {
    ShowLeague();
    return 0;
}

SChange CLeagueFrame::Touched(uint32_t what) const {
    SChange change;
    change.what = what;
    change.leagues = {LeagueId()};
    return change;
}
