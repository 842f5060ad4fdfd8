#pragma once

#include "editor/windows/CChildFrame.h"

class CPlayersListView;

// Child window listing the players without a team (team id 109998).
class CPlayersListFrame : public CChildFrame {
    Q_OBJECT
public:
    explicit CPlayersListFrame(CFrameHost& host, QWidget* parent = nullptr);

    void Fill() override;
    void DocumentChanged(const SChange& change) override;

    CPlayersListView* List() const { return m_list; }

private:
    CPlayersListView* m_list = nullptr;
};
