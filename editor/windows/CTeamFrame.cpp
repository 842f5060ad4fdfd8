#include "CTeamFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

CTeamFrame::CTeamFrame(int teamId, CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::Team, host, parent), m_teamId(teamId) {}

void CTeamFrame::Fill() {
    Refresh(m_teamId);
}

void CTeamFrame::Refresh(int) {
    const CGameDatabase* db = Host().Database();
    const CTeam* team = db ? db->FindTeam(m_teamId) : nullptr;
    if (!team) {
        SetPlaceholder(QString());
        return;
    }
    SetPlaceholder(QStringLiteral("%1\nID=%2 \u00B7 %3 %4")
                       .arg(QString::fromStdString(team->Name()))
                       .arg(m_teamId)
                       .arg(db->PlayersOfTeam(m_teamId).size())
                       .arg(Host().Text("Caption_Players")));
}
