#include "CLeagueFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

CLeagueFrame::CLeagueFrame(int leagueId, CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::League, host, parent), m_leagueId(leagueId) {}

void CLeagueFrame::Fill() {
    Refresh(m_leagueId);
}

void CLeagueFrame::Refresh(int) {
    const CGameDatabase* db = Host().Database();
    const CLeague* league = db ? db->FindLeague(m_leagueId) : nullptr;
    if (!league) {
        SetPlaceholder(QString());
        return;
    }
    SetPlaceholder(QStringLiteral("%1\nID=%2 \u00B7 %3 %4 \u00B7 %5 %6")
                       .arg(QString::fromStdString(league->name))
                       .arg(m_leagueId)
                       .arg(Host().Text("Caption_LeagueLevel"))
                       .arg(league->Level())
                       .arg(db->TeamsOfLeague(m_leagueId).size())
                       .arg(Host().Text("Caption_Teams")));
}
