#include "CLeagueFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

#include <QStringList>

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
    QStringList teams;
    for (int32_t id : db->TeamsOfLeague(m_leagueId)) {
        if (const CTeam* team = db->FindTeam(id)) {
            teams << QString::fromStdString(team->Name());
        }
    }
    teams.sort(Qt::CaseInsensitive);
    SetPlaceholder(QString::fromStdString(league->name),
                   QStringLiteral("ID=%1 \u00B7 %2 %3 \u00B7 %4 %5\n\n%6")
                       .arg(m_leagueId)
                       .arg(Host().Text("Caption_LeagueLevel"))
                       .arg(league->Level())
                       .arg(teams.size())
                       .arg(Host().Text("Caption_Teams"), teams.join(u'\n')));
}
