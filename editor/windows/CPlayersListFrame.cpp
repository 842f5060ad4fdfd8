#include "CPlayersListFrame.h"

#include "editor/document/SChange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CPlayersListView.h"

CPlayersListFrame::CPlayersListFrame(CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::PlayersList, host, parent) {
    m_list = new CPlayersListView(host, this);
    m_list->SetShownRows(20);
    SetContent(m_list);
}

void CPlayersListFrame::Fill() {
    m_list->Show(CGameDatabase::kNoTeamId);
}

void CPlayersListFrame::DocumentChanged(const SChange& change) {
    // Players come and go with squad changes, new and deleted players; the list knows which
    // of its rows a change touches.
    m_list->DocumentChanged(change);
}
