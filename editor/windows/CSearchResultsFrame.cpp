#include "CSearchResultsFrame.h"

#include "editor/windows/CFrameHost.h"

CSearchResultsFrame::CSearchResultsFrame(const CFindSettings& settings, CFrameHost& host,
                                         QWidget* parent)
    : CChildFrame(Kind::SearchResults, host, parent), m_settings(settings) {}

void CSearchResultsFrame::Fill() {
    SetPlaceholder(Host().Text("Caption_Find"),
                   QStringLiteral("\u201C%1\u201D").arg(m_settings.text));
}
