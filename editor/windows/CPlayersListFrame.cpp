#include "CPlayersListFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

CPlayersListFrame::CPlayersListFrame(CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::PlayersList, host, parent) {}

void CPlayersListFrame::Fill() {
    Refresh(CGameDatabase::kNoTeamId);
}

void CPlayersListFrame::Refresh(int) {
    const CGameDatabase* db = Host().Database();
    if (!db) {
        SetPlaceholder(QString());
        return;
    }
    int count = 0;
    for (const auto& [id, player] : db->Players()) {
        count += player.Teams().empty() ? 1 : 0;
    }
    SetPlaceholder(Host().Text("Caption_NoTeam"),
                   QStringLiteral("%1 %2").arg(count).arg(Host().Text("Caption_Players")));
}
