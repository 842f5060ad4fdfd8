#include "CDatabaseCommands.h"

#include "CDatabaseSafety.h"
#include "CFindDialog.h"
#include "CKestrelApp.h"
#include "CMainFrame.h"
#include "editor/assets/InstallPath.h"
#include "editor/dialogs/CMessageBoxSink.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/dialogs/CWaitCursor.h"
#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CChildFrame.h"
#include "editor/windows/CSquadEdits.h"
#include "editor/windows/CTeamSelectDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QUndoView>

namespace {

const QString kDatabaseFilter = QStringLiteral("Corvid2004 DB (*.db *.DB);;All Files (*)");

} // namespace

CDatabaseCommands::CDatabaseCommands(CMainFrame& frame, CKestrelApp& app)
    : QObject(&frame), m_frame(frame), m_app(app) {
    connect(&frame.Document(), &CDatabaseDocument::ChangedOutside, this,
            &CDatabaseCommands::OnChangedOutside, Qt::QueuedConnection);
}

bool CDatabaseCommands::SaveDatabase() {
    return Save(false);
}

void CDatabaseCommands::OnChangedOutside() {
    CDatabaseDocument& document = m_frame.Document();
    if (m_askingAboutOutside || !document.ChangedOnDisk()) {
        return;
    }
    // While another question is open, this one waits for it.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(500, this, &CDatabaseCommands::OnChangedOutside);
        return;
    }
    m_askingAboutOutside = true;
    document.NoticeDiskState();
    if (!document.IsModified()) {
        if (CUserPrompts::AskActionOrCancel(&m_frame, m_app.Text("Message_ChangedOnDiskReload"),
                                            m_app.Text("Caption_Reload"),
                                            m_app.Text("Caption_Cancel"),
                                            true) == CUserPrompts::Answer::Yes) {
            ReloadDatabase();
        }
    } else if (CUserPrompts::AskActionOrCancel(&m_frame,
                                               m_app.Text("Message_ChangedOnDiskOverwrite"),
                                               m_app.Text("Caption_Overwrite"),
                                               m_app.Text("Caption_Cancel"),
                                               false) == CUserPrompts::Answer::Yes) {
        Save(true);
    }
    m_askingAboutOutside = false;
}

bool CDatabaseCommands::Save(bool overwriteConfirmed) {
    CDatabaseDocument& document = m_frame.Document();
    if (!document.Database()) {
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_NoDatabase"));
        return false;
    }
    // Writing an unchanged database back would only undo what another program saved since.
    if (!document.IsModified()) {
        m_frame.ShowStatus(m_app.Text("Message_NothingToSave"));
        return true;
    }
    if (!overwriteConfirmed && document.ChangedOnDisk() &&
        CUserPrompts::AskActionOrCancel(&m_frame, m_app.Text("Message_ChangedOnDiskOverwrite"),
                                        m_app.Text("Caption_Overwrite"),
                                        m_app.Text("Caption_Cancel"),
                                        false) != CUserPrompts::Answer::Yes) {
        m_frame.ShowStatus(m_app.Text("Message_NotSaved"));
        return false;
    }
    if (!m_frame.Safety()->CheckBeforeSave()) {
        m_frame.ShowStatus(m_app.Text("Message_NotSaved"));
        return false;
    }
    m_frame.ShowStatus(m_app.Text("Message_Saving"));
    bool saved = false;
    {
        CWaitCursor wait;
        CMessageBoxSink sink(m_app.Localisation(), &m_frame);
        saved = document.Save(sink);
    }
    const QStringList& warnings = document.BackupWarnings();
    if (saved && !warnings.isEmpty()) {
        m_frame.ShowStatus(
            m_app.Text("Message_SavedBackupWarnings").arg(warnings.join(QStringLiteral("; "))),
            warnings.join(u'\n'));
    } else {
        m_frame.ShowStatus(m_app.Text(saved ? "Message_Saved" : "Message_NotSaved"),
                           warnings.join(u'\n'));
    }
    return saved;
}

bool CDatabaseCommands::SaveActive() {
    // A window with a file of its own (in-game texts) saves that file.
    if (CChildFrame* frame = m_frame.ActiveFrame(); frame && frame->HasOwnFile()) {
        return frame->SaveOwnFile();
    }
    return SaveDatabase();
}

bool CDatabaseCommands::ReloadDatabase() {
    // Open windows stay on their records (those gone close); the history starts again.
    CWaitCursor wait;
    CMessageBoxSink sink(m_app.Localisation(), &m_frame);
    return m_frame.Document().Reload(sink);
}

void CDatabaseCommands::Find() {
    CFindDialog dialog(m_app.Localisation(), m_findSettings, &m_frame);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_findSettings = dialog.Settings();
    m_frame.OpenSearchResults(m_findSettings);
}

int CDatabaseCommands::AddPlayer() {
    CGameDatabase* db = m_frame.Database();
    if (!db) {
        return 0;
    }
    // -1: the new player belongs to no team.
    int teamId = -1;
    const CChildFrame* active = m_frame.ActiveFrame();
    if (const auto own = active ? active->NewPlayerTeam() : std::nullopt) {
        teamId = *own;
    } else if (const auto chosen = CTeamSelectDialog::ChooseTeam(
                   m_frame, "Caption_SelectTeamToAddPlayer", &m_frame)) {
        teamId = *chosen;
    }
    const int playerId = CSquadEdits(m_frame).NewPlayer(teamId);
    if (playerId <= 0) {
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_PlayerNotCreated"));
        return 0;
    }
    m_frame.OpenPlayer(playerId);
    return playerId;
}

bool CDatabaseCommands::DeletePlayers(const QList<int32_t>& playerIds) {
    CGameDatabase* db = m_frame.Database();
    if (!db || playerIds.isEmpty()) {
        return false;
    }
    // The question names them; a long selection names the first few.
    constexpr int kNamesShown = 10;
    const auto names = [db, &playerIds](auto&& keep) {
        QStringList shown;
        qsizetype matching = 0;
        for (int32_t id : playerIds) {
            if (!keep(id)) {
                continue;
            }
            if (++matching <= kNamesShown) {
                shown << QString::fromStdString(db->PlayerDisplayName(id));
            }
        }
        if (matching > kNamesShown) {
            shown << QStringLiteral("\u2026");
        }
        return shown.join(u'\n');
    };
    const std::vector<int32_t> ids(playerIds.begin(), playerIds.end());
    if (!db->CanDeletePlayers(ids)) {
        const auto inTeams = db->PlayersInTeams();
        CUserPrompts::Warn(&m_frame, m_app.Text("Message_PlayerInTeam") + QStringLiteral("\n\n") +
                                         names([&](int32_t id) { return inTeams.contains(id); }));
        return false;
    }
    const QString question = playerIds.size() == 1
                                 ? m_app.Text("Message_DeletePlayer")
                                 : m_app.Text("Message_DeletePlayers").arg(playerIds.size());
    // Undo brings them back: the question only names them.
    if (CUserPrompts::AskYesNo(&m_frame, question + QStringLiteral("\n\n") +
                                             names([](int32_t) { return true; }),
                               CUserPrompts::Answer::No) != CUserPrompts::Answer::Yes) {
        return false;
    }
    // Their windows close as the change reaches them.
    return CSquadEdits(m_frame).Delete(ids);
}

void CDatabaseCommands::OpenIngameTextFromDialog() {
    // The game keeps its in-game texts in data/cmn/fe.
    QString folder = ResolveInstallPath(m_app.InstallFolder(), QStringLiteral("data/cmn/fe"));
    if (!QFileInfo(folder).isDir()) {
        folder = m_app.InstallFolder();
    }
    const QString path = QFileDialog::getOpenFileName(&m_frame, m_app.Text("Caption_IngameText"),
                                                      folder, kDatabaseFilter);
    if (!path.isEmpty()) {
        m_frame.OpenIngameText(path);
    }
}

void CDatabaseCommands::ShowHistory() {
    if (!m_history) {
        m_history = new QUndoView(&m_frame.Document().UndoStack(), &m_frame);
        m_history->setWindowFlag(Qt::Tool);
        m_history->setObjectName(QStringLiteral("HistoryView"));
        m_history->setWindowTitle(m_app.Text("Caption_History"));
        m_history->setAccessibleName(m_app.Text("Caption_History"));
        // The first row is the state as loaded or last saved.
        m_history->setEmptyLabel(m_app.Text("Caption_HistoryStart"));
        m_history->resize(320, 400);
    }
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}
