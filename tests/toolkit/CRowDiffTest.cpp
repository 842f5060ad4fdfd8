#include "editor/toolkit/CRowDiff.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Keys = std::vector<int32_t>;

// The plan carried out as a model does: removals in their order, then inserts.
Keys Replay(Keys rows, const CRowDiff& diff, const Keys& after) {
    for (const CRowDiff::SRun& run : diff.Removals()) {
        rows.erase(rows.begin() + run.first, rows.begin() + run.first + run.count);
    }
    for (const CRowDiff::SRun& run : diff.Inserts()) {
        rows.insert(rows.begin() + run.first, after.begin() + run.first,
                    after.begin() + run.first + run.count);
    }
    return rows;
}

} // namespace

TEST(CRowDiff, SameRowsNeedNothing) {
    for (const Keys& keys : {Keys{}, Keys{4}, Keys{9, 3, 7, 1}}) {
        const auto diff = CRowDiff::Between(keys, keys);
        ASSERT_TRUE(diff);
        EXPECT_TRUE(diff->IsEmpty());
    }
}

TEST(CRowDiff, RowsThatGoAreRemovedInRunsLastFirst) {
    const Keys before{10, 11, 12, 13, 14, 15, 16, 17};
    const Keys after{10, 13, 14, 17};
    const auto diff = CRowDiff::Between(before, after);
    ASSERT_TRUE(diff);
    EXPECT_EQ(diff->Removals(), (std::vector<CRowDiff::SRun>{{5, 2}, {1, 2}}));
    EXPECT_TRUE(diff->Inserts().empty());
    EXPECT_EQ(Replay(before, *diff, after), after);
}

TEST(CRowDiff, RowsThatComeAreInsertedWhereTheNewListHasThem) {
    // Three players dropped on a squad: at its end and between its rows.
    const Keys before{5, 6, 7, 8};
    const Keys after{1, 5, 6, 20, 21, 7, 8, 30};
    const auto diff = CRowDiff::Between(before, after);
    ASSERT_TRUE(diff);
    EXPECT_TRUE(diff->Removals().empty());
    EXPECT_EQ(diff->Inserts(), (std::vector<CRowDiff::SRun>{{0, 1}, {3, 2}, {7, 1}}));
    EXPECT_EQ(Replay(before, *diff, after), after);
}

TEST(CRowDiff, RemovalsAndInsertsTogetherGiveTheNewList) {
    const Keys before{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const Keys after{1, 40, 3, 4, 6, 7, 41, 42, 9, 10, 43};
    const auto diff = CRowDiff::Between(before, after);
    ASSERT_TRUE(diff);
    EXPECT_EQ(Replay(before, *diff, after), after);
}

TEST(CRowDiff, NoPlanWhenTheListShouldStartOver) {
    // Rows that stay change their order: a reset keeps the views right.
    EXPECT_FALSE(CRowDiff::Between({1, 2, 3, 4}, {1, 3, 2, 4}));
    // A key twice on either side cannot be followed.
    EXPECT_FALSE(CRowDiff::Between({1, 2, 2, 3}, {1, 2, 3}));
    EXPECT_FALSE(CRowDiff::Between({1, 2, 3}, {1, 2, 3, 3}));
    // Most rows come or go: the first fill, another team's squad.
    EXPECT_FALSE(CRowDiff::Between({}, {1, 2}));
    EXPECT_FALSE(CRowDiff::Between({1, 2, 3, 4}, {1, 7, 8, 9}));
    // One row going and one coming out of four is still a change of a few rows.
    EXPECT_TRUE(CRowDiff::Between({1, 2, 3, 4}, {1, 2, 3, 9}));
}
