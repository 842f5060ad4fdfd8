#include "CMessageBoxSink.h"

#include "CUserPrompts.h"
#include "editor/localisation/CLocalisationTable.h"

#include <QApplication>

CMessageBoxSink::CMessageBoxSink(const CLocalisationTable& texts, QWidget* parent)
    : m_lookup(
          [&texts](const std::string& key) { return QString::fromStdString(texts.Lookup(key)); }),
      m_parent(parent) {}

void CMessageBoxSink::Report(const std::string& key, const std::string& detail) {
    QString text = m_lookup(key);
    if (!detail.empty()) {
        text += QStringLiteral("\n\n") + QString::fromStdString(detail);
    }
    // A wait cursor left over from the operation would hide that the box waits for the user.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) {
        QApplication::restoreOverrideCursor();
    }
    CUserPrompts::Warn(m_parent, text);
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}
