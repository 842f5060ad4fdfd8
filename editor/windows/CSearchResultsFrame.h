#pragma once

#include "editor/windows/CChildFrame.h"
#include "editor/windows/CFindSettings.h"

// Child window with the results of one Find; shows a summary until its list is built.
class CSearchResultsFrame : public CChildFrame {
    Q_OBJECT
public:
    CSearchResultsFrame(const CFindSettings& settings, CFrameHost& host, QWidget* parent = nullptr);

    const CFindSettings& Settings() const { return m_settings; }

    void Fill() override;

private:
    CFindSettings m_settings;
};
