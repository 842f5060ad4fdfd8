#include "editor/model/CPlayerFilter.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPlayerField.h"
#include "editor/model/CPlayerSort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using C = EPlayerColumn;
using Ids = std::vector<int32_t>;

const CDate kAgeDate(2025, 12, 8);

void AddTeam(CGameDatabase& db, int32_t id, const char* name, int32_t league) {
    CTeam team(id);
    team.SetName(name);
    team.AddLeague(league);
    db.InsertTeam(team);
}

void AddPlayer(CGameDatabase& db, int32_t id, const char* first, const char* common,
               const char* last, int32_t position, int32_t pace, CDate born, Ids teams) {
    CPlayer p(id);
    p.SetFirstName(first);
    p.SetCommonName(common);
    p.SetLastName(last);
    p.SetValue(C::PreferredPosition1, position);
    p.SetValue(C::PreferredPosition2, 5);
    p.SetValue(C::Pace, pace);
    p.SetBirthDate(born);
    p.SetTeams(std::move(teams));
    db.InsertPlayer(p);
}

// Five players of three teams in two leagues, and one without a team.
void FillPlayers(CGameDatabase& db) {
    for (auto [id, name] : {std::pair{1, "Premier Division"}, {2, "Liga Norte"}}) {
        CLeague league;
        league.id = id;
        league.name = name;
        db.InsertLeague(league);
    }
    AddTeam(db, 193, "Kingsham Albion", 1);
    AddTeam(db, 7, "Ashford Town", 1);
    AddTeam(db, 12, "Atlético Oeste", 2);
    AddPlayer(db, 1, "Tom", "", "Anderson", 27, 90, CDate(2006, 3, 1), {193});
    AddPlayer(db, 2, "Olle", "", "Svensson", 0, 40, CDate(1990, 6, 15), {193, 12});
    AddPlayer(db, 3, "Carlos", "Kaká", "Arroyo", 12, 85, CDate(2005, 12, 8), {7});
    AddPlayer(db, 4, "", "", "Иванов", 3, 70, CDate(1999, 1, 1), {});
    AddPlayer(db, 5, "Jón", "", "Jónsson", 30, 86, CDate(2004, 12, 9), {12});
    CPlayer& keeper = *db.FindPlayer(2);
    for (C c : {C::Awareness, C::Determination, C::Rushing, C::Handling, C::Punching, C::Aggression,
                C::Reflexes, C::Anticipation, C::Throwing, C::Jumping, C::Strength})
        keeper.SetValue(c, 60);
    db.FindPlayer(1)->SetValue(C::PreferredPosition2, -1);
}

class CPlayerFilterTest : public ::testing::Test {
protected:
    void SetUp() override { FillPlayers(db); }

    Ids Select(const std::string& text) {
        SQueryError error;
        auto filter = CPlayerFilter::Parse(text, error);
        EXPECT_TRUE(filter) << text << ": " << error.Text();
        if (!filter)
            return {};
        return filter->Select(SPlayerFieldContext(db, kAgeDate));
    }

    std::string Error(const std::string& text) {
        SQueryError error;
        const auto filter = CPlayerFilter::Parse(text, error);
        EXPECT_FALSE(filter) << text;
        return error.Text();
    }

    CGameDatabase db;
};

} // namespace

TEST_F(CPlayerFilterTest, ComparisonsAndPrecedence) {
    EXPECT_EQ(Select("pace>=85 and age<21"), (Ids{1, 3, 5}));
    // Player 3 turns 20 on the day, player 5 the day after.
    EXPECT_EQ(Select("age<20"), (Ids{1}));
    EXPECT_EQ(Select("age=20"), (Ids{3, 5}));
    // and binds tighter than or; not tighter than and.
    EXPECT_EQ(Select("pace>85 or pace<50 and age>30"), (Ids{1, 2, 5}));
    EXPECT_EQ(Select("(pace>85 or pace<50) and age>30"), (Ids{2}));
    EXPECT_EQ(Select("not pace>80 and age>30"), (Ids{2}));
    EXPECT_EQ(Select("not (pace>80 and age<30)"), (Ids{2, 4}));
    EXPECT_EQ(Select("not not pace=90"), (Ids{1}));
    EXPECT_EQ(Select("pace>85 AND Age<21 Or id=4"), (Ids{1, 4, 5}));
    EXPECT_EQ(Select("pace != 90 and pace <> 40 and pace == 85"), (Ids{3}));
    EXPECT_EQ(Select("preferred_position_2=-1"), (Ids{1}));
    EXPECT_EQ(Select("position_group=0 and overall=60"), (Ids{2}));
    EXPECT_EQ(Select("pace<=70 and pace>40"), (Ids{4}));
    EXPECT_EQ(Select("  "), (Ids{1, 2, 3, 4, 5}));
    EXPECT_EQ(Select(""), (Ids{1, 2, 3, 4, 5}));
}

TEST_F(CPlayerFilterTest, SetsOfNumbersTeamsAndLeagues) {
    EXPECT_EQ(Select("preferred_position_1 in (26,27,28)"), (Ids{1}));
    EXPECT_EQ(Select("preferred_position_1 not in (0, 3)"), (Ids{1, 3, 5}));
    EXPECT_EQ(Select("team in (\"Kingsham Albion\", 7)"), (Ids{1, 2, 3}));
    EXPECT_EQ(Select("team in ('KINGSHAM albion')"), (Ids{1, 2}));
    // A player of two teams is found by either; a player without one by the no-team id.
    EXPECT_EQ(Select("team=12"), (Ids{2, 5}));
    EXPECT_EQ(Select("team=109998"), (Ids{4}));
    EXPECT_EQ(Select("team!=193"), (Ids{3, 4, 5}));
    EXPECT_EQ(Select("team~\"OESTE\""), (Ids{2, 5}));
    EXPECT_EQ(Select("team!~\"o\""), (Ids{4}));
    EXPECT_EQ(Select("team=\"Nowhere\""), (Ids{}));
    EXPECT_EQ(Select("league=\"premier division\""), (Ids{1, 2, 3}));
    EXPECT_EQ(Select("league in (2)"), (Ids{2, 5}));
    EXPECT_EQ(Select("league!=1"), (Ids{4, 5}));
    EXPECT_EQ(Select("team>100"), (Ids{1, 2, 4}));
}

TEST_F(CPlayerFilterTest, NamesInAnyLetterCase) {
    EXPECT_EQ(Select("name~\"SON\""), (Ids{1, 2, 5}));
    EXPECT_EQ(Select("name~\"jón\""), (Ids{5}));
    EXPECT_EQ(Select("name~'JÓN'"), (Ids{5}));
    // The common name counts as much as the first and last names.
    EXPECT_EQ(Select("name~\"KAKÁ\""), (Ids{3}));
    EXPECT_EQ(Select("name~\"carlos a\""), (Ids{3}));
    EXPECT_EQ(Select("name~\"иван\""), (Ids{4}));
    EXPECT_EQ(Select("name=\"tom anderson\""), (Ids{1}));
    EXPECT_EQ(Select("name!~\"son\""), (Ids{3, 4}));
    EXPECT_EQ(Select("name in (\"иванов\", \"kaká\")"), (Ids{3, 4}));
    EXPECT_EQ(Select("last_name=\"ARROYO\" or first_name~\"ll\""), (Ids{2, 3}));
    EXPECT_EQ(Select("common_name=\"\""), (Ids{1, 2, 4, 5}));
    EXPECT_EQ(Select("name~\"say \\\"hi\\\"\""), (Ids{}));
}

// Chains of "or" over one name field are looked at once per player; the answers are those of
// the terms one by one.
TEST_F(CPlayerFilterTest, ChainsOfNameTermsAnswerAsTheTermsDo) {
    EXPECT_EQ(Select("name~\"tom\" or name~\"kaká\" or name~\"nobody\""), (Ids{1, 3}));
    EXPECT_EQ(Select("name=\"jón jónsson\" or name~\"иван\""), (Ids{4, 5}));
    // Only the same field and the same positive comparison join.
    EXPECT_EQ(Select("last_name~\"son\" or first_name~\"car\""), (Ids{1, 2, 3, 5}));
    EXPECT_EQ(Select("name~\"tom\" or name=\"olle svensson\""), (Ids{1, 2}));
    EXPECT_EQ(Select("name!~\"son\" or name!~\"tom\""), (Ids{2, 3, 4, 5}));
    // "and" binds first: the chain is (tom and fast) or olle.
    EXPECT_EQ(Select("name~\"tom\" and pace<50 or name~\"olle\""), (Ids{2}));
    EXPECT_EQ(Select("name~\"olle\" or name~\"tom\" and pace<50"), (Ids{2}));
    EXPECT_EQ(Select("(name~\"tom\" or name~\"olle\") and pace<50"), (Ids{2}));
    EXPECT_EQ(Select("not name~\"tom\" or name~\"tom\""), (Ids{1, 2, 3, 4, 5}));
}

TEST_F(CPlayerFilterTest, ErrorsNameTheColumn) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pace>=", "expected a number at 7"},
        {"pase>1", "unknown field 'pase' at 1"},
        {"pace>=85 and", "expected a field name at 13"},
        {"(pace>1", "expected ')' at 8"},
        {"pace>1)", "expected 'and', 'or' or the end at 7"},
        {"pace>1 age<2", "expected 'and', 'or' or the end at 8"},
        {"pace 85", "expected an operator (=, !=, <, <=, >, >=, ~, !~, in) at 6"},
        {"name<\"a\"", "'<' does not apply to text at 5"},
        {"pace~\"a\"", "'~' needs a text field, and pace is a number at 5"},
        {"name=5", "expected a text in quotes at 6"},
        {"pace=\"x\"", "expected a number at 6"},
        {"pace>1.5", "expected a whole number at 6"},
        {"pace>99999999999999999999", "number out of range at 6"},
        {"team<\"x\"", "expected a number at 6"},
        {"team~5", "expected a text in quotes at 6"},
        {"team=", "expected a number or a text in quotes at 6"},
        {"name~\"son", "unterminated text at 6"},
        {"pace>1 and #", "unexpected '#' at 12"},
        {"pace in 1", "expected '(' at 9"},
        {"pace in (1 2)", "expected ',' or ')' at 12"},
        {"pace in ()", "expected a number at 10"},
        {"pace not 5", "expected 'in' at 10"},
        {"and=1", "expected a field name at 1"},
        {"= 5", "expected a field name at 1"},
        {"name=-\"x\"", "expected a text in quotes at 6"},
        // Columns count characters, not bytes.
        {"name~\"Jón\" and pace>", "expected a number at 21"},
        {"é=1", "unexpected 'é' at 1"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(Error(text), message) << text;
    EXPECT_EQ(Error(std::string(5000, '(') + "pace>1"), "too deeply nested at 102");
}

TEST_F(CPlayerFilterTest, FieldsAndSorting) {
    const SPlayerFieldContext context(db, kAgeDate);
    const CPlayer& carlos = *db.FindPlayer(3);
    EXPECT_EQ(CPlayerField::Find("team")->Text(carlos, context), "Ashford Town");
    EXPECT_EQ(CPlayerField::Find("league")->Text(carlos, context), "Premier Division");
    EXPECT_EQ(CPlayerField::Find("name")->Text(carlos, context), "Carlos Arroyo");
    EXPECT_EQ(CPlayerField::Find("name")->Text(*db.FindPlayer(4), context), "Иванов");
    EXPECT_EQ(CPlayerField::Find("team")->Text(*db.FindPlayer(4), context), "");
    EXPECT_EQ(CPlayerField::Find("age")->Number(carlos, context), 20);
    EXPECT_EQ(CPlayerField::OfColumn(static_cast<int>(C::Pace)).Name(), std::string("pace"));
    EXPECT_EQ(CPlayerField::Find("nope"), nullptr);

    Ids ids{1, 2, 3, 4, 5};
    CPlayerSort::Sort(ids, *CPlayerField::Find("pace"), false, context);
    EXPECT_EQ(ids, (Ids{2, 4, 3, 5, 1}));
    CPlayerSort::Sort(ids, *CPlayerField::Find("age"), true, context);
    EXPECT_EQ(ids, (Ids{2, 4, 3, 5, 1}));
    // Equal keys stay in id order either way.
    CPlayerSort::Sort(ids, *CPlayerField::Find("team"), true, context);
    EXPECT_EQ(ids, (Ids{1, 2, 5, 3, 4}));
    CPlayerSort::Sort(ids, *CPlayerField::Find("name"), false, context);
    EXPECT_EQ(ids, (Ids{3, 5, 2, 1, 4}));
}
