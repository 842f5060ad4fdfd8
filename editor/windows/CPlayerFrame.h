#pragma once

#include "editor/windows/CChildFrame.h"

#include <QString>

// Child window of kind Player; shows a summary until its own views are built.
class CPlayerFrame : public CChildFrame {
    Q_OBJECT
public:
    CPlayerFrame(int playerId, CFrameHost& host, QWidget* parent = nullptr);

    int PlayerId() const { return m_playerId; }

    void Fill() override;
    void Refresh(int hint) override;

private:
    int m_playerId;
};
