#include "CBackupWarnings.h"

#include "editor/model/CBackupStore.h"

namespace {

// The editor's commands run on the user-interface thread only.
CBackupWarnings* g_current = nullptr;

} // namespace

CBackupWarnings::CBackupWarnings() : m_outer(g_current) {
    g_current = this;
    CBackupStore::SetWarningHandler([](const std::string& text) {
        if (g_current) {
            g_current->m_texts.append(QString::fromStdString(text));
        }
    });
}

CBackupWarnings::~CBackupWarnings() {
    g_current = m_outer;
    if (!m_outer) {
        CBackupStore::SetWarningHandler({});
    }
}

QString CBackupWarnings::AppendTo(const QString& message, const QString& heading) const {
    if (m_texts.isEmpty()) {
        return message;
    }
    return message + QStringLiteral("\n\n") + heading + u'\n' + m_texts.join(u'\n');
}
