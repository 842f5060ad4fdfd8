#pragma once

#include <QString>
#include <QStringList>

// What the backup store warns of while one lives (a side file skipped, a copy completed or
// removed), so the command that used the store shows it with its own outcome instead of the
// warnings going nowhere. The innermost one living hears them: a save inside a restore reports
// its own.
class CBackupWarnings {
public:
    CBackupWarnings();
    ~CBackupWarnings();
    CBackupWarnings(const CBackupWarnings&) = delete;
    CBackupWarnings& operator=(const CBackupWarnings&) = delete;

    const QStringList& Texts() const { return m_texts; }
    // The message followed by the heading and the warnings one a line; the message alone when
    // there were none.
    QString AppendTo(const QString& message, const QString& heading) const;

private:
    CBackupWarnings* m_outer;
    QStringList m_texts;
};
