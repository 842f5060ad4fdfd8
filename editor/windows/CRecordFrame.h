#pragma once

#include "editor/document/CDatabaseDocument.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CUndoHistory.h"
#include "editor/windows/CChildFrame.h"
#include "editor/windows/CFrameHost.h"

// The frame of a window that edits one record: its undo history of record snapshots drives the
// main window's Undo and Redo, and every step marks the database changed. A kind says which
// fields a snapshot restores (only those the window edits: squads and links belong to the
// squad operations).
template <typename TRecord>
class CRecordFrame : public CChildFrame {
public:
    CRecordFrame(Kind kind, CFrameHost& host, QWidget* parent = nullptr)
        : CChildFrame(kind, host, parent) {
        m_history.SetChangeCallback([this] { emit HistoryChanged(); });
    }

    bool HasUndoHistory() const override { return !FocusOnDocumentHistory(); }
    bool CanUndo() const override { return m_history.CanUndo(); }
    bool CanRedo() const override { return m_history.CanRedo(); }
    void Undo() override {
        if (m_history.CanUndo()) {
            const TRecord& before = m_history.Current();
            const TRecord& snapshot = m_history.Undo();
            Restore(before, snapshot);
        }
    }
    void Redo() override {
        if (m_history.CanRedo()) {
            const TRecord& before = m_history.Current();
            const TRecord& snapshot = m_history.Redo();
            Restore(before, snapshot);
        }
    }

    const CUndoHistory<TRecord>& History() const { return m_history; }

protected:
    // The record as the window opened it: the first snapshot, not a change.
    void StartHistory(const TRecord& record) {
        m_history.Clear();
        m_history.Push(record);
    }
    // An applied change: a new snapshot, and the database has unsaved changes.
    void PushSnapshot(const TRecord& record) {
        m_history.Push(record);
        MarkChanged();
    }
    // A change made elsewhere, written into every snapshot, so that no step of this window's
    // history takes it back.
    template <typename Edit> void EditHistory(Edit edit) { m_history.EditAll(edit); }
    // Undo or Redo moved from `current` to `snapshot`: copy the fields the window edits into
    // the record, mark the database changed (MarkChanged), refresh what shows them.
    virtual void Restore(const TRecord& current, const TRecord& snapshot) = 0;
    // Restore's first step: the snapshot's fields copied into the window's record; null, and
    // nothing copied, when the record is gone.
    template <typename Record> Record* RestoreSnapshot(const TRecord& snapshot, Record* record) {
        if (record) {
            snapshot.RestoreInto(*record);
        }
        return record;
    }
    void MarkChanged() { Host().Document().MarkModified(); }
    // Tells the other windows what this one changed (it shows it already).
    void Announce(SChange change) {
        change.origin = this;
        Host().Document().NotifyChanged(std::move(change));
    }

private:
    CUndoHistory<TRecord> m_history;
};
