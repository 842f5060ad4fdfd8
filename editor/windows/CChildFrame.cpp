#include "CChildFrame.h"

#include <QLabel>
#include <QVBoxLayout>

CChildFrame::CChildFrame(Kind kind, CFrameHost& host, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_host(host) {
    auto* layout = new QVBoxLayout(this);
    m_placeholder = new QLabel(this);
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setWordWrap(true);
    m_placeholder->setStyleSheet(QStringLiteral("color: #606870;"));
    layout->addWidget(m_placeholder);
}

bool CChildFrame::HasUndoHistory() const {
    return m_kind == Kind::League || m_kind == Kind::Team || m_kind == Kind::Player;
}

bool CChildFrame::TakesNewPlayers() const {
    return m_kind != Kind::SearchResults && m_kind != Kind::IngameText;
}

void CChildFrame::Fill() {}

void CChildFrame::Refresh(int) {}

void CChildFrame::SetPlaceholder(const QString& text) {
    m_placeholder->setText(text);
}
