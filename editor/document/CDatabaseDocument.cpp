#include "CDatabaseDocument.h"

#include "editor/database/Utf8Path.h"
#include "editor/document/CBackupWarnings.h"
#include "editor/model/CGameDatabase.h"

#include <QFileSystemWatcher>
#include <QUndoStack>

CDatabaseDocument::CDatabaseDocument(QObject* parent)
    : QObject(parent), m_database(std::make_unique<CGameDatabase>()) {
    m_undoStack = new QUndoStack(this);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, [this] { SyncModified(); });
    m_database->SetDirtyCallback([this](bool dirty) { OnDatabaseDirty(dirty); });
}

CDatabaseDocument::~CDatabaseDocument() {
    // Commands left in the history must not reach views being taken down.
    m_undoStack->blockSignals(true);
    m_database->SetDirtyCallback({});
}

bool CDatabaseDocument::Load(const QString& path, const QString& textDbPath, CMessageSink& sink,
                             const Progress& progress) {
    m_path = path;
    m_textDbPath = textDbPath;
    const bool loaded = m_database->LoadGameDatabase(path.toStdString(),
                                                     textDbPath.toStdString(), sink, progress);
    if (loaded) {
        m_loaded = true;
        m_clipboard = {};
        m_undoStack->clear();
        m_outsideEdits = false;
        m_database->ClearDirty();
        RememberIdentity();
    }
    SyncModified();
    NotifyChanged(SChange::Everything());
    return loaded;
}

void CDatabaseDocument::UseBuilt() {
    m_loaded = true;
    m_undoStack->clear();
    m_outsideEdits = false;
    SyncModified();
}

bool CDatabaseDocument::Reload(CMessageSink& sink) {
    return Load(m_path, m_textDbPath, sink, {});
}

bool CDatabaseDocument::Save(CMessageSink& sink) {
    if (!m_loaded)
        return false;
    const CBackupWarnings warnings;
    const bool saved =
        m_database->SaveGameDatabase(m_path.toStdString(), m_textDbPath.toStdString(), sink);
    m_backupWarnings = warnings.Texts();
    if (saved) {
        m_outsideEdits = false;
        m_undoStack->setClean();
        RememberIdentity();
    }
    SyncModified();
    return saved;
}

CGameDatabase* CDatabaseDocument::Database() {
    return m_loaded ? m_database.get() : nullptr;
}

const CGameDatabase* CDatabaseDocument::Database() const {
    return m_loaded ? m_database.get() : nullptr;
}

void CDatabaseDocument::Push(QUndoCommand* command) {
    m_undoStack->push(command);
    SyncModified();
}

bool CDatabaseDocument::IsModified() const {
    return m_loaded && (m_outsideEdits || !m_undoStack->isClean());
}

void CDatabaseDocument::MarkModified() {
    m_outsideEdits = true;
    SyncModified();
}

void CDatabaseDocument::NotifyChanged(SChange change) {
    change.Normalise();
    emit Changed(change);
}

void CDatabaseDocument::BeginCommand() {
    ++m_commandDepth;
}

void CDatabaseDocument::EndCommand() {
    if (m_commandDepth > 0 && --m_commandDepth == 0)
        SyncModified();
}

void CDatabaseDocument::OnDatabaseDirty(bool dirty) {
    // The database's own flag follows the mark; a change it reports outside a command was made
    // directly on a record and has no step in the history.
    if (dirty && !m_syncing && m_commandDepth == 0 && m_loaded) {
        m_outsideEdits = true;
        SyncModified();
    }
}

void CDatabaseDocument::SyncModified() {
    const bool modified = IsModified();
    m_syncing = true;
    if (modified)
        m_database->MarkDirty();
    else
        m_database->ClearDirty();
    m_syncing = false;
    if (modified != m_lastModified) {
        m_lastModified = modified;
        emit ModifiedChanged(modified);
    }
}

void CDatabaseDocument::RememberIdentity() {
    m_identity = CFileIdentity::Read(Utf8Path(m_path.toStdString()));
    m_noticed.reset();
    WatchFile();
}

void CDatabaseDocument::WatchFile() {
    // Made with the first file: a document built in memory watches nothing.
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { OnFileChanged(); });
    }
    // A writer that renames its file over this one ends the watch on the old file.
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    if (!m_path.isEmpty())
        m_watcher->addPath(m_path);
}

bool CDatabaseDocument::ChangedOnDisk() const {
    return m_loaded && m_identity && !m_identity->SameAs(Utf8Path(m_path.toStdString()));
}

void CDatabaseDocument::NoticeDiskState() {
    m_noticed = CFileIdentity::Read(Utf8Path(m_path.toStdString()));
}

void CDatabaseDocument::OnFileChanged() {
    WatchFile();
    const std::filesystem::path path = Utf8Path(m_path.toStdString());
    if (ChangedOnDisk() && !(m_noticed && m_noticed->SameAs(path)))
        emit ChangedOutside();
}
