#include "editor/toolkit/CUndoHistory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Recorder {
    CUndoHistory<std::string> history;
    int changes = 0;
    Recorder() {
        history.SetChangeCallback([this] { ++changes; });
    }
};

} // namespace

TEST(CUndoHistory, EmptyHistoryOffersNeitherUndoNorRedo) {
    CUndoHistory<int> history;
    EXPECT_TRUE(history.IsEmpty());
    EXPECT_EQ(history.CurrentIndex(), -1);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    history.Push(7);
    // The snapshot taken when the window opened cannot be undone past.
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.First(), 7);
}

TEST(CUndoHistory, UndoAndRedoWalkTheSnapshotsAndReportEachChange) {
    Recorder r;
    for (const char* s : {"opened", "first edit", "second edit"}) {
        r.history.Push(s);
    }
    EXPECT_EQ(r.changes, 3);
    EXPECT_EQ(r.history.Undo(), "first edit");
    EXPECT_EQ(r.history.Undo(), "opened");
    EXPECT_FALSE(r.history.CanUndo());
    EXPECT_TRUE(r.history.CanRedo());
    EXPECT_EQ(r.history.Redo(), "first edit");
    EXPECT_EQ(r.history.Redo(), "second edit");
    EXPECT_FALSE(r.history.CanRedo());
    EXPECT_EQ(r.changes, 7);
}

TEST(CUndoHistory, PushAfterUndoDiscardsTheRedoBranch) {
    CUndoHistory<int> history;
    for (int i = 0; i < 4; ++i) {
        history.Push(i);
    }
    history.Undo();
    history.Undo();
    history.Push(10);
    EXPECT_EQ(history.Count(), 3);
    EXPECT_EQ(history.Current(), 10);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(), 1);
    EXPECT_EQ(history.First(), 0);
}

TEST(CUndoHistory, ResetIsAPushOfTheFirstSnapshotAndCanBeUndone) {
    CUndoHistory<std::string> history;
    history.Push("opened");
    history.Push("edited");
    history.Push(history.First());
    EXPECT_EQ(history.Current(), "opened");
    EXPECT_EQ(history.Undo(), "edited");
    history.Clear();
    EXPECT_TRUE(history.IsEmpty());
    EXPECT_FALSE(history.CanUndo());
}

TEST(CUndoHistory, EditAllReachesEverySnapshotAndKeepsThePlace) {
    Recorder r;
    for (const char* s : {"a", "b", "c"})
        r.history.Push(s);
    r.history.Undo();
    const int changes = r.changes;
    r.history.EditAll([](std::string& snapshot) { snapshot += "!"; });
    EXPECT_EQ(r.history.First(), "a!");
    EXPECT_EQ(r.history.Current(), "b!");
    EXPECT_EQ(r.history.Redo(), "c!");
    EXPECT_EQ(r.changes, changes + 1);
}
