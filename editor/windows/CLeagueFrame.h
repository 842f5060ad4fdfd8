#pragma once

#include "editor/windows/CChildFrame.h"

#include <QString>

// Child window of kind League; shows a summary until its own views are built.
class CLeagueFrame : public CChildFrame {
    Q_OBJECT
public:
    CLeagueFrame(int leagueId, CFrameHost& host, QWidget* parent = nullptr);

    int LeagueId() const { return m_leagueId; }

    void Fill() override;
    void Refresh(int hint) override;

private:
    int m_leagueId;
};
