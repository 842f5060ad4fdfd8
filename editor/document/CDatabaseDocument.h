#pragma once

#include "editor/document/CFileIdentity.h"
#include "editor/document/SChange.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CGameDatabase;
class CMessageSink;
class QFileSystemWatcher;
class QUndoCommand;
class QUndoStack;

// The loaded game database with its file identity and its history of database-wide changes.
// Every change goes through it and ends in one Changed signal naming what it touched. The
// modified mark is the history's clean state, plus edits made outside it (record windows keep
// histories of their own).
class CDatabaseDocument : public QObject {
    Q_OBJECT
public:
    using Progress = std::function<void(const std::string& key)>;

    explicit CDatabaseDocument(QObject* parent = nullptr);
    ~CDatabaseDocument() override;

    // Loads the database and the in-game names; the history starts empty. False (reported to the
    // sink) on failure, the database keeping what it held.
    bool Load(const QString& path, const QString& textDbPath, CMessageSink& sink,
              const Progress& progress = {});
    // The same files again, after a restore or another program's save.
    bool Reload(CMessageSink& sink);
    // The database a caller built in Storage() (benchmarks, tools) is the document's, with no
    // file behind it.
    void UseBuilt();
    // Writes the database; on success the present state is the saved one.
    bool Save(CMessageSink& sink);
    // What the backup store warned of during the last save (a side file it skipped, a copy it
    // completed or removed): the save went on, but the user should hear of it.
    const QStringList& BackupWarnings() const { return m_backupWarnings; }

    // Null until a load succeeded.
    CGameDatabase* Database();
    const CGameDatabase* Database() const;
    // The database object even before a load (the loader fills it).
    CGameDatabase& Storage() { return *m_database; }
    const QString& FilePath() const { return m_path; }
    const QString& TextDbPath() const { return m_textDbPath; }

    QUndoStack& UndoStack() { return *m_undoStack; }
    // Runs the command and keeps it as one step of the history (a command that changed nothing
    // marks itself obsolete and is dropped).
    void Push(QUndoCommand* command);
    bool IsModified() const;
    // A change made outside the history (a record window's Apply).
    void MarkModified();

    // Tells every view what changed.
    void NotifyChanged(SChange change);
    // Commands run between Begin and End: changes the database marks are theirs, not outside
    // edits.
    void BeginCommand();
    void EndCommand();

    // Players cut or copied in a squad list: a paste moves cut players (the same records) and
    // copies copied ones.
    struct SClipboard {
        std::vector<int32_t> playerIds;
        bool cut = false;
    };
    const SClipboard& Clipboard() const { return m_clipboard; }
    void SetClipboard(SClipboard clipboard) { m_clipboard = std::move(clipboard); }

    // The file on disk is no longer what was loaded or last saved.
    bool ChangedOnDisk() const;
    // The user was told of the file as it is now: the watcher says nothing more of it (a save
    // still asks before overwriting it).
    void NoticeDiskState();

signals:
    void Changed(const SChange& change);
    void ModifiedChanged(bool modified);
    // Another program wrote the database file (noticed by the file watcher, once for each new
    // state of the file).
    void ChangedOutside();

private:
    void SyncModified();
    void OnDatabaseDirty(bool dirty);
    void RememberIdentity();
    void OnFileChanged();
    void WatchFile();

    std::unique_ptr<CGameDatabase> m_database;
    QUndoStack* m_undoStack = nullptr;
    QFileSystemWatcher* m_watcher = nullptr;
    QString m_path;
    QString m_textDbPath;
    std::optional<CFileIdentity> m_identity;
    std::optional<CFileIdentity> m_noticed;
    SClipboard m_clipboard;
    QStringList m_backupWarnings;
    bool m_loaded = false;
    bool m_outsideEdits = false;
    bool m_lastModified = false;
    bool m_syncing = false;
    int m_commandDepth = 0;
};
