#pragma once

#include "editor/windows/CChildFrame.h"

// Child window listing the players without a team; shows a summary until its list is built.
class CPlayersListFrame : public CChildFrame {
    Q_OBJECT
public:
    explicit CPlayersListFrame(CFrameHost& host, QWidget* parent = nullptr);

    void Fill() override;
    void Refresh(int hint) override;
};
