#pragma once

#include "editor/windows/CChildFrame.h"

#include <QString>

// Child window of kind Team; shows a summary until its own views are built.
class CTeamFrame : public CChildFrame {
    Q_OBJECT
public:
    CTeamFrame(int teamId, CFrameHost& host, QWidget* parent = nullptr);

    int TeamId() const { return m_teamId; }

    void Fill() override;
    void Refresh(int hint) override;

private:
    int m_teamId;
};
