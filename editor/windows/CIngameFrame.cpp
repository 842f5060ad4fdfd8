#include "CIngameFrame.h"

#include "editor/windows/CFrameHost.h"

#include <QDir>

CIngameFrame::CIngameFrame(const QString& filePath, CFrameHost& host, QWidget* parent)
    : CChildFrame(Kind::IngameText, host, parent), m_filePath(filePath) {}

void CIngameFrame::Fill() {
    Refresh(0);
}

void CIngameFrame::Refresh(int) {
    SetPlaceholder(Host().Text("Caption_IngameText"), QDir::toNativeSeparators(m_filePath));
}
