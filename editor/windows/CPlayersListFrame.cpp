#include "CPlayersListFrame.h"

#include "editor/document/SChange.h"
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

void CPlayersListFrame::DocumentChanged(const SChange& change) {
    // Players come and go with squad changes, new and deleted players; names show.
    if (change.HasTeam(CGameDatabase::kNoTeamId) || change.Has(SChange::Records) ||
        (change.AnyPlayer() && change.Has(SChange::Names))) {
        Refresh(CGameDatabase::kNoTeamId);
    }
}
