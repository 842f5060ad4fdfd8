#include "CErrorLineEdit.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTextCharFormat>

CErrorLineEdit::CErrorLineEdit(QWidget* parent) : QLineEdit(parent) {
    // Typing moves the cursor, and the format is placed relative to it: place it again.
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] { ApplyFormat(); });
}

void CErrorLineEdit::SetHint(const QString& hint) {
    m_hint = hint;
    if (m_error.isEmpty())
        setToolTip(hint);
}

void CErrorLineEdit::ShowError(int column, const QString& message) {
    // Columns count characters; the text counts UTF-16 units.
    const QString content = text();
    int start = 0;
    for (int c = 1; c < column && start < content.size(); ++c)
        start += content.at(start).isHighSurrogate() && start + 1 < content.size() ? 2 : 1;
    // A fault at the end marks the last character, so there is something to see.
    if (start >= content.size())
        start = std::max<int>(0, static_cast<int>(content.size()) - 1);
    m_range = {start, std::max<int>(1, static_cast<int>(content.size()) - start)};
    if (content.isEmpty())
        m_range = {0, 0};
    m_error = message;
    setToolTip(message);
    setAccessibleDescription(message);
    ApplyFormat();
}

void CErrorLineEdit::ClearError() {
    if (m_error.isEmpty() && m_range.second == 0)
        return;
    m_error.clear();
    m_range = {0, 0};
    setToolTip(m_hint);
    setAccessibleDescription(QString());
    ApplyFormat();
}

void CErrorLineEdit::ApplyFormat() {
    QList<QInputMethodEvent::Attribute> attributes;
    if (m_range.second > 0) {
        QTextCharFormat format;
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        format.setUnderlineColor(Qt::red);
        format.setForeground(QColor(0xB0, 0x00, 0x00));
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                   m_range.first - cursorPosition(), m_range.second,
                                                   format);
    }
    QInputMethodEvent event(QString(), attributes);
    QCoreApplication::sendEvent(this, &event);
}
