#include "CLeagueFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CGradientBanner.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CLeagueInfoForm.h"
#include "editor/windows/CRecordIcons.h"
#include "editor/windows/CTeamsListView.h"

#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

CLeagueFrame::CLeagueFrame(int leagueId, CFrameHost& host, QWidget* parent)
    : CRecordFrame(Kind::League, host, parent), m_leagueId(leagueId) {
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_banner = new CGradientBanner(content);
    m_banner->SetTitleFont(host.TitleFont());
    m_banner->SetColour(palette().color(QPalette::Highlight));
    layout->addWidget(m_banner);

    auto* split = new QSplitter(Qt::Vertical, content);
    m_teams = new CTeamsListView(host, split);
    split->addWidget(m_teams);

    m_tabs = new QTabWidget(split);
    m_form = new CLeagueInfoForm(leagueId, host, m_tabs);
    // The page's caption is a fixed text, as the game's tools have it.
    m_tabs->addTab(m_form, CRecordIcons::Information(), QStringLiteral("Info"));
    split->addWidget(m_tabs);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    SetContent(content);

    connect(m_form, &CColourFormView::ApplyClicked, this, &CLeagueFrame::OnApply);
    connect(m_form, &CColourFormView::ResetClicked, this, &CLeagueFrame::OnReset);
}

QString CLeagueFrame::Title() {
    const CLeague* league = Host().FindLeague(m_leagueId);
    return league ? QStringLiteral("%1 - %2").arg(Host().Text("Caption_League"),
                                                  QString::fromStdString(league->name))
                  : QString();
}

void CLeagueFrame::Fill() {
    if (const CLeague* league = Host().FindLeague(m_leagueId)) {
        StartHistory(CLeagueSnapshot::Of(*league));
    }
    ShowLeague();
}

void CLeagueFrame::DocumentChanged(const SChange& change) {
    if (change.origin == this) {
        return;
    }
    if (change.Reloaded()) {
        Fill();
        return;
    }
    const CGameDatabase* db = Host().Database();
    if (!db || (!change.HasLeague(m_leagueId) && !change.AnyTeam())) {
        return;
    }
    // Its teams list shows their names, crests and squad sizes.
    bool shown = change.HasLeague(m_leagueId);
    for (int32_t team : db->TeamsOfLeague(m_leagueId)) {
        shown = shown || change.HasTeam(team);
    }
    // Squads and team names changed elsewhere; what the user types in the form stays.
    if (shown) {
        if (const CLeague* league = Host().FindLeague(m_leagueId)) {
            m_banner->SetTitle(QString::fromStdString(league->name));
        }
        m_teams->DocumentChanged(change);
    }
}

void CLeagueFrame::ShowTeams() {
    const CLeague* league = Host().FindLeague(m_leagueId);
    if (!league) {
        return;
    }
    m_banner->SetTitle(QString::fromStdString(league->name));
    m_teams->Show(m_leagueId);
}

void CLeagueFrame::ShowLeague() {
    ShowTeams();
    m_form->Fill();
}

void CLeagueFrame::OnApply() {
    const CLeague* league = Host().FindLeague(m_leagueId);
    if (!league || History().IsEmpty() || !m_form->Apply()) {
        return;
    }
    const CLeagueSnapshot now = CLeagueSnapshot::Of(*league);
    if (now == History().Current()) {
        return;
    }
    const bool renamed = now.Name() != History().Current().Name();
    PushSnapshot(now);
    AnnounceChange(renamed);
    ShowLeague();
}

void CLeagueFrame::OnReset() {
    const CLeague* league = Host().FindLeague(m_leagueId);
    if (!league || History().IsEmpty()) {
        return;
    }
    CLeague opened = *league;
    History().First().RestoreInto(opened);
    m_form->FillFrom(opened);
    OnApply();
}

void CLeagueFrame::Restore(const CLeagueSnapshot& current, const CLeagueSnapshot& snapshot) {
    if (!RestoreSnapshot(snapshot, Host().FindLeague(m_leagueId))) {
        return;
    }
    MarkChanged();
    AnnounceChange(snapshot.Name() != current.Name());
    ShowLeague();
}

void CLeagueFrame::AnnounceChange(bool renamed) {
    // The title and the leagues list show its name and level.
    SChange change;
    change.what = SChange::Fields | (renamed ? SChange::Names : 0u);
    change.leagues = {m_leagueId};
    Announce(std::move(change));
}
