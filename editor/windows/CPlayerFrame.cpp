#include "CPlayerFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

CPlayerFrame::CPlayerFrame(int playerId, CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::Player, host, parent), m_playerId(playerId) {}

void CPlayerFrame::Fill() {
    Refresh(m_playerId);
}

void CPlayerFrame::Refresh(int) {
    const CGameDatabase* db = Host().Database();
    if (!db || !db->FindPlayer(m_playerId)) {
        SetPlaceholder(QString());
        return;
    }
    SetPlaceholder(QString::fromStdString(db->PlayerDisplayName(m_playerId)),
                   QStringLiteral("ID=%1").arg(m_playerId));
}
