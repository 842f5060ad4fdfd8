#pragma once

#include <QWidget>

class CFrameHost;
class QLabel;

// The frame of every child window of the main window. Each kind fills it with its own views;
// the main window switches its menu by the frame's kind.
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
        AllPlayers
    };

    CChildFrame(Kind kind, CFrameHost& host, QWidget* parent = nullptr);

    Kind FrameKind() const { return m_kind; }
    // League, team and player windows keep an undo history, the all-players table uses the main
    // window's; they get Undo and Redo in their menu.
    bool HasUndoHistory() const;
    // Search results and in-game text windows do not take new players.
    bool TakesNewPlayers() const;

    // Shows the record (or loads the file, runs the search) once the window is placed.
    virtual void Fill();
    // Re-reads what the window shows; `hint` is the id of the record that changed.
    virtual void Refresh(int hint);

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
    CFrameHost& Host() { return m_host; }
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
