#include "CTeamFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

#include <QStringList>

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
    const std::vector<int32_t> squad = db->PlayersOfTeam(m_teamId);
    QStringList players;
    for (int32_t id : squad) {
        players << QString::fromStdString(db->PlayerDisplayName(id));
    }
    SetPlaceholder(QString::fromStdString(team->Name()),
                   QStringLiteral("ID=%1 \u00B7 %2 %3\n\n%4")
                       .arg(m_teamId)
                       .arg(squad.size())
                       .arg(Host().Text("Caption_Players"), players.join(u'\n')));
}
