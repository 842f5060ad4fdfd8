#include "editor/model/CBulkChange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using C = EPlayerColumn;
using Ids = std::vector<int32_t>;

class CBulkChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto [id, pace] : {std::pair{1, 90}, {2, 40}, {3, 85}, {4, 70}, {5, 86}}) {
            CPlayer p(id);
            p.SetValue(C::Pace, pace);
            p.SetValue(C::Height, 180);
            p.SetValue(C::AgeRate1, 3);
            db.InsertPlayer(p);
        }
    }

    std::vector<CBulkChange> Changes(std::vector<std::string> texts) {
        std::vector<CBulkChange> changes;
        for (const std::string& text : texts) {
            SQueryError error;
            auto change = CBulkChange::Parse(text, error);
            EXPECT_TRUE(change) << text << ": " << error.Text();
            if (change)
                changes.push_back(*change);
        }
        return changes;
    }

    SBulkPlan Plan(std::vector<std::string> texts, Ids ids = {1, 2, 3, 4, 5}) {
        return SBulkPlan::Make(db, ids, Changes(std::move(texts)));
    }

    std::vector<int32_t> Column(C column) {
        std::vector<int32_t> values;
        for (const auto& [id, p] : db.Players())
            values.push_back(p.Value(column));
        return values;
    }

    CGameDatabase db;
};

} // namespace

TEST_F(CBulkChangeTest, ResultsAreClampedAndCounted) {
    SBulkPlan plan = Plan({"pace+=15"});
    EXPECT_EQ(plan.playersChanged, 5u);
    EXPECT_EQ(plan.valuesClamped, 2u); // 105 and 101; 85 + 15 is exactly 100
    plan.Apply(db);
    EXPECT_EQ(Column(C::Pace), (std::vector<int32_t>{100, 55, 100, 85, 100}));

    // Rounded to the nearest, halves away from zero: 93.5 -> 94.
    Plan({"pace=90"}).Apply(db);
    SBulkPlan times = Plan({"pace*=1.1"}, {1});
    EXPECT_EQ(times.changes[0].after, 99);
    db.FindPlayer(2)->SetValue(C::Pace, 85);
    EXPECT_EQ(Plan({"pace*=1.1"}, {2}).changes[0].after, 94);
    EXPECT_EQ(Plan({"pace*=-1"}, {2}).valuesClamped, 1u);

    // Setting past the range: every value clamps, and one that already holds the limit
    // changes nothing but still counts as clamped.
    db.FindPlayer(1)->SetValue(C::Pace, 100);
    SBulkPlan set = Plan({"pace=150"});
    EXPECT_EQ(set.valuesClamped, 5u);
    EXPECT_EQ(set.playersChanged, 4u);
    EXPECT_EQ(set.changes.size(), 4u);

    // Windows' ranges: height 0-205, age rate 1 1-7, second position -1 (none) to 34;
    // flags 0/1 by their width.
    EXPECT_EQ(Plan({"height*=3"}, {1}).changes[0].after, 205);
    EXPECT_EQ(Plan({"age_rate_1-=10"}, {1}).changes[0].after, 1);
    EXPECT_EQ(Plan({"preferred_position_2-=5"}, {1}).changes[0].after, -1);
    EXPECT_EQ(Plan({"calm=5"}, {1}).changes[0].after, 1);
    // No window edits accessory 5: any 32-bit value without a file to narrow it.
    EXPECT_EQ(Plan({"accessory_5=-2000000000"}, {1}).changes[0].after, -2000000000);
    EXPECT_EQ(Plan({"accessory_5-=2000000000", "accessory_5-=2000000000"}, {1}).valuesClamped, 1u);
}

TEST_F(CBulkChangeTest, ChangesRunInOrderAndUndoRestores) {
    // Two changes of one field apply in turn: 50 + 60 clamps once per player.
    SBulkPlan plan = Plan({"pace=50", "pace+=60", "height-=5", "star_player=1"}, {1, 2, 99});
    EXPECT_EQ(plan.valuesClamped, 2u);
    EXPECT_EQ(plan.playersChanged, 2u);
    ASSERT_EQ(plan.changes.size(), 6u);
    EXPECT_FALSE(db.IsDirty());
    plan.Apply(db);
    EXPECT_TRUE(db.IsDirty());
    EXPECT_EQ(db.FindPlayer(2)->Value(C::Pace), 100);
    EXPECT_EQ(db.FindPlayer(2)->Value(C::Height), 175);
    EXPECT_EQ(db.FindPlayer(2)->Value(C::StarPlayer), 1);
    EXPECT_EQ(db.FindPlayer(3)->Value(C::Pace), 85);
    plan.Apply(db, true);
    EXPECT_EQ(Column(C::Pace), (std::vector<int32_t>{90, 40, 85, 70, 86}));
    EXPECT_EQ(Column(C::Height), (std::vector<int32_t>(5, 180)));
    EXPECT_EQ(Column(C::StarPlayer), (std::vector<int32_t>(5, 0)));

    // A change that changes nothing plans nothing.
    EXPECT_TRUE(Plan({"height=180"}).changes.empty());
}

TEST_F(CBulkChangeTest, UndoAndRedoKeepValuesChangedSince) {
    SBulkPlan plan = Plan({"pace=50", "height=190"}, {1, 2});
    EXPECT_EQ(plan.Apply(db), 4u);
    // Edited elsewhere after the bulk edit: undo leaves that value alone.
    db.FindPlayer(1)->SetValue(C::Pace, 77);
    db.ClearDirty();
    EXPECT_EQ(plan.Apply(db, true), 3u);
    EXPECT_EQ(db.FindPlayer(1)->Value(C::Pace), 77);
    EXPECT_EQ(db.FindPlayer(2)->Value(C::Pace), 40);
    EXPECT_EQ(db.FindPlayer(1)->Value(C::Height), 180);
    EXPECT_TRUE(db.IsDirty());
    // And redo likewise; with nothing left to write, the database stays as saved.
    db.FindPlayer(2)->SetValue(C::Height, 170);
    EXPECT_EQ(plan.Apply(db), 2u);
    EXPECT_EQ(db.FindPlayer(2)->Value(C::Height), 170);
    EXPECT_EQ(db.FindPlayer(2)->Value(C::Pace), 50);
    db.ClearDirty();
    EXPECT_EQ(plan.Apply(db), 0u);
    EXPECT_FALSE(db.IsDirty());
}

TEST_F(CBulkChangeTest, RangeOfTheLoadedFileNarrowsTheWindows) {
    auto table = std::make_unique<CDbTable>(0, 0);
    table->SetName("players");
    for (int c = 0; c < CPlayer::kColumnCount; ++c)
        table->AddColumn(CPlayer::Columns()[c].name, c == static_cast<int>(C::Pace) ? 10 : 0,
                         c == static_cast<int>(C::Pace) ? 63 : 1000);
    db.Catalogue().AddTable(std::move(table));
    const CPlayerField& pace = *CPlayerField::Find("pace");
    EXPECT_EQ(pace.EditRange(db.Catalogue()).low, 10);
    EXPECT_EQ(pace.EditRange(db.Catalogue()).high, 63);
    EXPECT_EQ(CPlayerField::Find("accessory_5")->EditRange(db.Catalogue()).high, 1000);
    EXPECT_EQ(CPlayerField::Find("height")->EditRange(db.Catalogue()).high, 205);
    // 90 is above the file's 63, 40 within it.
    EXPECT_EQ(Plan({"pace+=0"}, {1, 2}).valuesClamped, 1u);
}

TEST_F(CBulkChangeTest, ParseErrorsNameTheColumn) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pace", "expected =, +=, -= or *= at 5"},
        {"pace+=", "expected a number at 7"},
        {"pace*=abc", "expected a number at 7"},
        {"pace=1.5", "expected a whole number at 6"},
        {"pace=5 x", "expected the end at 8"},
        {"pace<5", "expected =, +=, -= or *= at 5"},
        {"pase=1", "unknown field 'pase' at 1"},
        {"age=3", "age cannot be changed in bulk at 1"},
        {"id=3", "id cannot be changed in bulk at 1"},
        {"last_name=\"x\"", "last_name cannot be changed in bulk at 1"},
        {"=5", "expected a field name at 1"},
        {"pace=9999999999999", "number out of range at 6"},
        {"pace=\"x", "unterminated text at 6"},
    };
    for (const auto& [text, message] : cases) {
        SQueryError error;
        EXPECT_FALSE(CBulkChange::Parse(text, error)) << text;
        EXPECT_EQ(error.Text(), message) << text;
    }
    SQueryError error;
    const auto change = CBulkChange::Parse(" reflexes -= 5 ", error);
    ASSERT_TRUE(change);
    EXPECT_EQ(change->Op(), CBulkChange::EOp::Subtract);
    EXPECT_EQ(change->Operand(), 5.0);
}
