#pragma once

#include "editor/document/SChange.h"
#include "editor/toolkit/CUndoHistory.h"
#include "editor/windows/CRecordFrame.h"

#include <cstdint>

// A record window whose steps are snapshots of its record (TRecord): each Apply that changed
// what the window edits pushes one, and the history drives the main window's Undo and Redo.
// A snapshot restores only the fields the window edits (squads and links belong to the squad
// operations). Apply, Undo and Redo go the same way: the database is marked changed and the
// other windows hear what changed, its name among it when the step renamed the record.
template <typename TRecord> class CSnapshotFrame : public CRecordFrame {
public:
    bool HasUndoHistory() const override { return !FocusOnDocumentHistory(); }
    bool CanUndo() const override { return m_history.CanUndo(); }
    bool CanRedo() const override { return m_history.CanRedo(); }
    void Undo() override {
        if (m_history.CanUndo()) {
            const TRecord& current = m_history.Current();
            Step(current, m_history.Undo());
        }
    }
    void Redo() override {
        if (m_history.CanRedo()) {
            const TRecord& current = m_history.Current();
            Step(current, m_history.Redo());
        }
    }

    const CUndoHistory<TRecord>& History() const { return m_history; }

protected:
    CSnapshotFrame(Kind kind, int recordId, CFrameHost& host, QWidget* parent)
        : CRecordFrame(kind, recordId, host, parent) {
        m_history.SetChangeCallback([this] { emit HistoryChanged(); });
    }

    // The record as the window opened it: the first snapshot, not a change.
    void StartHistory(const TRecord& record) {
        m_history.Clear();
        m_history.Push(record);
    }
    // An Apply wrote into the record, whose snapshot is now `now`: one step when what the
    // window edits changed, or when the step changed more of its own (`also`, e.g. squad
    // positions). False, and no step, when nothing changed.
    bool CommitSnapshot(const TRecord& now, uint32_t also = 0) {
        if (m_history.IsEmpty() || (also == 0 && !Differs(m_history.Current(), now))) {
            return false;
        }
        const bool renamed = Renamed(m_history.Current(), now);
        m_history.Push(now);
        MarkChanged();
        AnnounceStep(renamed, also);
        return true;
    }
    // A change made elsewhere, written into every snapshot, so that no step of this window's
    // history takes it back.
    template <typename Edit> void EditHistory(Edit edit) { m_history.EditAll(edit); }

    // Whether the window's Apply changed anything it edits.
    virtual bool Differs(const TRecord& before, const TRecord& after) const {
        return !(before == after);
    }
    virtual bool Renamed(const TRecord& before, const TRecord& after) const = 0;
    // Copies the snapshot's fields (those the window edits) into the live record; false, and
    // nothing copied, when the record is gone.
    virtual bool CopyIntoRecord(const TRecord& snapshot) = 0;
    // Undo or Redo went from `current` to `snapshot`, whose fields the record holds now: the
    // window shows them. Returns what more of its own the step changed (SChange parts).
    virtual uint32_t Restored(const TRecord& current, const TRecord& snapshot) = 0;
    // What a step of the window touched: the record and those that show it.
    virtual SChange Touched(uint32_t what) const = 0;

private:
    void Step(const TRecord& current, const TRecord& snapshot) {
        if (!CopyIntoRecord(snapshot)) {
            return;
        }
        MarkChanged();
        const uint32_t also = Restored(current, snapshot);
        AnnounceStep(Renamed(current, snapshot), also);
    }
    void AnnounceStep(bool renamed, uint32_t also) {
        Announce(Touched(SChange::Fields | (renamed ? SChange::Names : 0u) | also));
    }

    CUndoHistory<TRecord> m_history;
};
