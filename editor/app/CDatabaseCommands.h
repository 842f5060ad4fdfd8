#pragma once

#include "editor/windows/CFindSettings.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <cstdint>

class CKestrelApp;
class CMainFrame;
class QUndoView;

// The main window's commands on the whole database: save, reload, add and delete players, find,
// and the history window.
class CDatabaseCommands : public QObject {
    Q_OBJECT
public:
    CDatabaseCommands(CMainFrame& frame, CKestrelApp& app);

    // The save command: the active window's own file when it has one, otherwise the database.
    bool SaveActive();
    // Nothing modified: nothing is written (the status bar says so). A file another program
    // changed since it was loaded is overwritten only when the user says so.
    bool SaveDatabase();
    // Loads the database files again (after a restore); the history starts empty.
    bool ReloadDatabase();
    void Find();
    // Returns the new player's id, or 0 when none was made.
    int AddPlayer();
    // Refuses (with a message) players a team still refers to; asks, naming them.
    bool DeletePlayers(const QList<int32_t>& playerIds);
    void OpenIngameTextFromDialog();
    // View › History: the document's steps; a click on one goes back to it.
    void ShowHistory();
    QUndoView* HistoryView() const { return m_history.data(); }

private:
    // The file watcher noticed another program's save: Reload when nothing is modified,
    // Overwrite or Cancel when there are unsaved edits.
    void OnChangedOutside();
    bool Save(bool overwriteConfirmed);

    CMainFrame& m_frame;
    CKestrelApp& m_app;
    CFindSettings m_findSettings;
    QPointer<QUndoView> m_history;
    bool m_askingAboutOutside = false;
};
