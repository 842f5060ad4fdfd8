#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

class CFrameHost;
class QLabel;
struct SChange;

// The frame of every child window of the main window. Each kind fills it with its own views
// and answers through the virtuals below what the main window's commands can do with it.
class CChildFrame : public QWidget {
    Q_OBJECT
public:
    enum class Kind {
        Plain,
        League,
        Team,
        Player,
        PlayersList,
        IngameText,
        SearchResults,
        AllPlayers,
        Compare
    };

    CChildFrame(Kind kind, CFrameHost& host, QWidget* parent = nullptr);

    Kind FrameKind() const { return m_kind; }
    // Record windows keep an undo history of their own; the others' Undo and Redo are the
    // document's, and so are a record window's while a list of its squads or teams has the
    // focus (what is done there is a database-wide step).
    virtual bool HasUndoHistory() const { return false; }
    // Set on the widgets whose edits are steps of the document's history.
    static constexpr const char* kDocumentHistoryProperty = "documentHistory";
    bool FocusOnDocumentHistory() const;
    // Windows that show no squads (search results, in-game texts) take no new players, and have
    // no Undo: their work is not the database's.
    virtual bool TakesNewPlayers() const { return true; }
    // The team a new player made while the window is active joins; none: the user chooses.
    virtual std::optional<int32_t> NewPlayerTeam() const { return std::nullopt; }
    // A window with a file of its own (in-game texts): the save command and the modified mark
    // are its own.
    virtual bool HasOwnFile() const { return false; }
    virtual bool SaveOwnFile() { return false; }
    // Edit › Find searches in the window; false: the database's Find.
    virtual bool FindInWindow() { return false; }
    // Edit › Edit Selected (the all-players table).
    virtual bool CanEditSelected() const { return false; }
    virtual bool EditSelected() { return false; }
    // The document changed: a window updates what of it it shows.
    virtual void DocumentChanged(const SChange& change);

    // Shows the record (or loads the file, runs the search) once the window is placed.
    virtual void Fill();

    // Unsaved work the window holds of its own (an in-game text file's edits): the main window's
    // modified mark follows it, and quitting asks about it.
    virtual bool IsModified() const { return false; }
    // Asks about unsaved work before the window goes; false keeps the window open.
    virtual bool ConfirmClose() { return true; }

    virtual bool CanUndo() const { return false; }
    virtual bool CanRedo() const { return false; }
    virtual void Undo() {}
    virtual void Redo() {}

signals:
    // Emitted by a kind whenever CanUndo or CanRedo may have changed, so the menu follows.
    void HistoryChanged();
    // Emitted when IsModified changes.
    void ModifiedChanged(bool modified);

protected:
    CFrameHost& Host() const { return m_host; }
    // What the window shows until the kind draws its own views: a title line and details.
    void SetPlaceholder(const QString& title, const QString& details = {});
    // The kind's own views take the place of the summary.
    void SetContent(QWidget* content);
    // Retitles the window in the main window's work area (after a rename).
    void SetFrameTitle(const QString& title);

private:
    Kind m_kind;
    CFrameHost& m_host;
    QWidget* m_summary = nullptr;
    QLabel* m_placeholder = nullptr;
};
