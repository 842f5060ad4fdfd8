#pragma once

#include "editor/toolkit/CGradientBanner.h"

class CFrameHost;
class CPlayer;

// The banner of a player window: name, position, the position icon and the colour of the
// position group.
class CPlayerBannerForm : public CGradientBanner {
    Q_OBJECT
public:
    CPlayerBannerForm(CFrameHost& host, QWidget* parent = nullptr);

    void Fill(const CPlayer& player);

private:
    CFrameHost& m_host;
};
