#include "CPlayersListFrame.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CPlayersListView.h"

CPlayersListFrame::CPlayersListFrame(CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::PlayersList, host, parent) {
    m_list = new CPlayersListView(host, this);
    SetContent(m_list);
}

void CPlayersListFrame::Fill() {
    Refresh(CGameDatabase::kNoTeamId);
}

void CPlayersListFrame::Refresh(int) {
    m_list->Refresh(CGameDatabase::kNoTeamId);
}
