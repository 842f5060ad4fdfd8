#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

// The undo history of a record window: snapshots of the record, the first one as it stood when
// the window opened. Undo and Redo hand back the snapshot to restore; the window decides which
// of its fields to copy. Generic over the snapshot type, so player, team and league windows
// share it.
template <typename T>
class CUndoHistory {
public:
    // Called after every change of the current index or the count.
    using ChangeCallback = std::function<void()>;

    void SetChangeCallback(ChangeCallback callback) { m_changed = std::move(callback); }

    // Drops every snapshot after the current one, appends this one and makes it current.
    void Push(T snapshot) {
        m_snapshots.resize(static_cast<size_t>(m_current + 1));
        m_snapshots.push_back(std::move(snapshot));
        m_current = static_cast<int>(m_snapshots.size()) - 1;
        Notify();
    }

    bool IsEmpty() const { return m_snapshots.empty(); }
    int Count() const { return static_cast<int>(m_snapshots.size()); }
    // -1 while empty.
    int CurrentIndex() const { return m_current; }
    bool CanUndo() const { return m_current >= 1; }
    bool CanRedo() const { return m_current < Count() - 1; }

    // Only while not empty.
    const T& Current() const { return m_snapshots[static_cast<size_t>(m_current)]; }
    const T& First() const { return m_snapshots.front(); }

    // Only while CanUndo / CanRedo; the snapshot that is now current.
    const T& Undo() {
        --m_current;
        Notify();
        return Current();
    }
    const T& Redo() {
        ++m_current;
        Notify();
        return Current();
    }

    // Edits every snapshot in place, say to carry a change made elsewhere into all of them.
    template <typename Edit> void EditAll(Edit edit) {
        for (T& snapshot : m_snapshots) {
            edit(snapshot);
        }
    }

    void Clear() {
        m_snapshots.clear();
        m_current = -1;
        Notify();
    }

private:
    void Notify() {
        if (m_changed) {
            m_changed();
        }
    }

    std::vector<T> m_snapshots;
    int m_current = -1;
    ChangeCallback m_changed;
};
