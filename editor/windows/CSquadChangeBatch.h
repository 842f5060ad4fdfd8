#pragma once

#include "editor/windows/CFrameHost.h"

// Holds back the refreshes of squad changes until the end of a scope: a drop of thirty
// players refreshes each window once.
class CSquadChangeBatch {
public:
    explicit CSquadChangeBatch(CFrameHost& host) : m_host(host) { m_host.BeginSquadChanges(); }
    ~CSquadChangeBatch() { m_host.EndSquadChanges(); }
    CSquadChangeBatch(const CSquadChangeBatch&) = delete;
    CSquadChangeBatch& operator=(const CSquadChangeBatch&) = delete;

private:
    CFrameHost& m_host;
};
