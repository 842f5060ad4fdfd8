#include "CCompareCommands.h"

#include "CChildWindows.h"
#include "CCompareSourceDialog.h"
#include "CKestrelApp.h"
#include "CMainFrame.h"
#include "editor/database/CMessageSink.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/dialogs/CWaitCursor.h"
#include "editor/document/CCopyTeamCommand.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/COriginalDatabase.h"
#include "editor/model/COtherInstallation.h"
#include "editor/windows/CCompareFrame.h"
#include "editor/windows/CCopiedTeamPictures.h"
#include "editor/windows/CImportTeamDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QSettings>

namespace {

const char* const kLastFolderKey = "Compare/LastFolder";

// One window per other installation, however its path was written.
QString FolderKey(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

QString Plain(const QString& caption) {
    return QString(caption).remove(u'&');
}

} // namespace

CCompareCommands::CCompareCommands(CMainFrame& frame, CKestrelApp& app)
    : QObject(&frame), m_frame(frame), m_app(app) {}

QString CCompareCommands::LastFolder() const {
    return m_frame.Settings()->value(QString::fromLatin1(kLastFolderKey)).toString();
}

void CCompareCommands::RememberFolder(const QString& folder) {
    m_frame.Settings()->setValue(QString::fromLatin1(kLastFolderKey), folder);
}

void CCompareCommands::CompareWith() {
    if (!m_frame.Database()) {
        return;
    }
    CCompareSourceDialog dialog(m_frame, LastFolder(), &m_frame);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    OpenComparison(dialog.Folder());
}

bool CCompareCommands::OpenComparison(const QString& folder) {
    CDatabaseDocument& document = m_frame.Document();
    if (!document.Database()) {
        return false;
    }
    const QString key = folder.isEmpty() ? QStringLiteral(":original") : FolderKey(folder);
    // A comparison asked for again reads the other side again.
    if (QMdiSubWindow* open = m_frame.FindChild(CChildFrame::Kind::Compare, key)) {
        open->close();
    }
    std::shared_ptr<const CGameDatabase> other;
    QString source;
    if (folder.isEmpty()) {
        auto original = std::make_shared<CGameDatabase>();
        std::string loadedPath;
        std::string error;
        bool loaded = false;
        {
            CWaitCursor wait;
            loaded = COriginalDatabase::Load(document.FilePath().toStdString(),
                                             document.TextDbPath().toStdString(), *original,
                                             loadedPath, error);
        }
        if (!loaded) {
            CUserPrompts::Warn(&m_frame, m_app.Text("Message_CompareOriginalFailed")
                                             .arg(QString::fromStdString(error)));
            return false;
        }
        other = std::move(original);
        source = Plain(m_app.Text("Caption_CompareOriginalName"));
    } else {
        other = Installation(key);
        if (!other) {
            return false;
        }
        RememberFolder(QDir::toNativeSeparators(folder));
        source = QDir::toNativeSeparators(key);
    }
    const QString title = QStringLiteral("%1 - %2").arg(Plain(m_app.Text("Caption_CompareWith")),
                                                        source);
    const QString dragFolder = folder.isEmpty() ? QString() : key;
    return m_frame.Windows().Open(CChildFrame::Kind::Compare, key, title, [&] {
        return new CCompareFrame(other, dragFolder, source, m_frame);
    });
}

std::shared_ptr<const CGameDatabase> CCompareCommands::Installation(const QString& folder) {
    const QString key = FolderKey(folder);
    if (QMdiSubWindow* open = m_frame.FindChild(CChildFrame::Kind::Compare, key)) {
        if (const auto* compare = qobject_cast<const CCompareFrame*>(open->widget())) {
            return compare->Other();
        }
    }
    auto other = std::make_shared<CGameDatabase>();
    COtherInstallation::SResult loaded;
    {
        CWaitCursor wait;
        // Names that cannot be read leave the teams and leagues there without them.
        CIgnoringSink names;
        loaded = COtherInstallation::Load(QDir::toNativeSeparators(key).toStdString(),
                                          m_app.GameLanguage(), *other, names);
    }
    if (loaded.error == COtherInstallation::EError::NoFolder ||
        loaded.error == COtherInstallation::EError::NoDatabase) {
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_NotAGameFolder") +
                                         QStringLiteral("\n\n") + QDir::toNativeSeparators(folder));
        return nullptr;
    }
    if (!loaded.Ok()) {
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_CompareLoadFailed")
                                         .arg(QDir::toNativeSeparators(folder),
                                              QString::fromStdString(loaded.dbPath + ": " +
                                                                     loaded.detail)));
        return nullptr;
    }
    return other;
}

void CCompareCommands::ImportTeamFrom() {
    if (!m_frame.Database()) {
        return;
    }
    if (!m_frame.CanStoreInGameNames()) {
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_ImportNeedsNames"));
        return;
    }
    const QString folder = QFileDialog::getExistingDirectory(
        &m_frame, Plain(m_app.Text("Caption_CompareFolder")), LastFolder());
    if (folder.isEmpty()) {
        return;
    }
    const auto from = Installation(folder);
    if (!from) {
        return;
    }
    RememberFolder(QDir::toNativeSeparators(folder));
    CImportTeamDialog dialog(m_frame, *from, QDir::toNativeSeparators(folder), &m_frame);
    if (dialog.exec() != QDialog::Accepted || !dialog.TeamId()) {
        return;
    }
    Copy(from, folder, *dialog.TeamId(), dialog.LeagueId(), dialog.WithPlayers(),
         dialog.WithPictures());
}

bool CCompareCommands::CopyTeamFrom(const QString& folder, int32_t teamId,
                                    std::optional<int32_t> leagueId, bool withPlayers) {
    if (!m_frame.Database()) {
        return false;
    }
    if (!m_frame.CanStoreInGameNames()) {
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_ImportNeedsNames"));
        return false;
    }
    const auto from = Installation(folder);
    return from && Copy(from, folder, teamId, leagueId, withPlayers, true);
}

bool CCompareCommands::Copy(const std::shared_ptr<const CGameDatabase>& from, const QString& folder,
                            int32_t teamId, std::optional<int32_t> leagueId, bool withPlayers,
                            bool withPictures) {
    const CTeam* team = from->FindTeam(teamId);
    const QString name = team ? QString::fromStdString(team->Name()) : QString::number(teamId);
    auto* command = new CCopyTeamCommand(m_frame.Document(),
                                         Plain(m_app.Text("Caption_ImportTeamStep")).arg(name),
                                         from, teamId, leagueId, withPlayers);
    const auto outcome = command->Result();
    m_frame.Document().Push(command);
    const CDatabaseCopy::SResult& result = *outcome;
    if (!result.ok) {
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_ImportTeamFailed")
                                         .arg(name, QString::fromStdString(result.error)));
        return false;
    }
    QStringList notes;
    for (const std::string& note : result.notes) {
        notes.append(QString::fromStdString(note));
    }
    // Once, for this action: undo and redo of the step leave the archives alone.
    const auto pictures = withPictures
                              ? CCopiedTeamPictures::Copy(m_frame, folder, teamId, result.teamId)
                              : CCopiedTeamPictures::LeftBehind(m_frame);
    notes.prepend(m_app.Text("Message_TeamImportedFrom").arg(QDir::toNativeSeparators(folder)));
    notes.append(pictures.details);
    m_frame.ShowStatus(m_app.Text("Message_TeamImported")
                               .arg(name)
                               .arg(result.teamId)
                               .arg(static_cast<int>(result.players.size())) +
                           u' ' + pictures.summary,
                       notes.join(u'\n'));
    return true;
}
