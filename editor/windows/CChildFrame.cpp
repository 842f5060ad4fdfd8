#include "CChildFrame.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QVBoxLayout>

CChildFrame::CChildFrame(Kind kind, CFrameHost& host, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_host(host) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_placeholder = new QLabel(scroll);
    m_placeholder->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_placeholder->setWordWrap(true);
    m_placeholder->setTextFormat(Qt::RichText);
    m_placeholder->setMargin(16);
    scroll->setWidget(m_placeholder);
    layout->addWidget(scroll);
    m_summary = scroll;
}

bool CChildFrame::FocusOnDocumentHistory() const {
    for (const QWidget* widget = QApplication::focusWidget(); widget && widget != this;
         widget = widget->parentWidget()) {
        if (widget->property(kDocumentHistoryProperty).toBool()) {
            return isAncestorOf(widget);
        }
    }
    return false;
}

void CChildFrame::Fill() {}

void CChildFrame::DocumentChanged(const SChange&) {}

void CChildFrame::SetPlaceholder(const QString& title, const QString& details) {
    if (!m_placeholder) {
        return;
    }
    m_placeholder->setText(QStringLiteral("<p style='font-size:15pt; color:#24405c'><b>%1</b></p>"
                                          "<p style='color:#606870'>%2</p>")
                               .arg(title.toHtmlEscaped(), details.toHtmlEscaped().replace(
                                                               u'\n', QStringLiteral("<br>"))));
}

void CChildFrame::SetContent(QWidget* content) {
    delete m_summary;
    m_summary = nullptr;
    m_placeholder = nullptr;
    layout()->addWidget(content);
    setFocusProxy(content);
}

void CChildFrame::SetFrameTitle(const QString& title) {
    if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        window->setWindowTitle(title);
    }
}
