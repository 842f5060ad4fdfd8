#include "editor/model/CNameSearch.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CTextCase.h"

#include <gtest/gtest.h>

namespace {

void FillSample(CGameDatabase& db) {
    CLeague league;
    league.id = 1;
    league.name = "Primera División";
    db.InsertLeague(league);
    for (auto [id, name] : {std::pair{1, "Arsenal Rovers"}, {2, "Club Atlético"}, {3, "Barça"}}) {
        CTeam team(id);
        team.SetName(name);
        db.InsertTeam(team);
    }
    CPlayer a(10);
    a.SetFirstName("Mario");
    a.SetLastName("Park");
    db.InsertPlayer(a);
    CPlayer b(11);
    b.SetFirstName("Carlos");
    b.SetLastName("Arroyo");
    b.SetCommonName("Kaká");
    db.InsertPlayer(b);
    CPlayer c(12);
    c.SetLastName("Иванов");
    db.InsertPlayer(c);
}

std::vector<std::pair<CNameSearch::EKind, int32_t>>
Hits(const CGameDatabase& db, std::string_view text, bool l = true, bool t = true, bool p = true) {
    std::vector<std::pair<CNameSearch::EKind, int32_t>> out;
    for (const auto& hit : CNameSearch::Find(db, text, l, t, p))
        out.emplace_back(hit.kind, hit.id);
    return out;
}

using K = CNameSearch::EKind;

} // namespace

TEST(CNameSearchTest, MatchesInAnyCaseGroupedByKind) {
    CGameDatabase db;
    FillSample(db);
    // "ar" in Arsenal, Mario Park, but not in Carlos Arroyo: he is found by his common name.
    EXPECT_EQ(Hits(db, "ar"),
              (std::vector<std::pair<K, int32_t>>{{K::Team, 1}, {K::Team, 3}, {K::Player, 10}}));
    EXPECT_EQ(Hits(db, "AR", false, false, true),
              (std::vector<std::pair<K, int32_t>>{{K::Player, 10}}));
    EXPECT_EQ(Hits(db, "kaká"), (std::vector<std::pair<K, int32_t>>{{K::Player, 11}}));
    EXPECT_EQ(Hits(db, "DIVISIÓN"), (std::vector<std::pair<K, int32_t>>{{K::League, 1}}));
    EXPECT_EQ(Hits(db, "ATLÉTICO"), (std::vector<std::pair<K, int32_t>>{{K::Team, 2}}));
    EXPECT_EQ(Hits(db, "иван"), (std::vector<std::pair<K, int32_t>>{{K::Player, 12}}));
    EXPECT_TRUE(Hits(db, "").empty());
    EXPECT_TRUE(Hits(db, "ar", false, false, false).empty());
    EXPECT_EQ(CNameSearch::Find(db, "mario", false, false, true)[0].name, "Mario Park");
}

TEST(CNameSearchTest, UpperCaseOfUtf8) {
    EXPECT_EQ(CTextCase::ToUpper("abc xyz"), "ABC XYZ");
    EXPECT_EQ(CTextCase::ToUpper("éàüñøþ"), "ÉÀÜÑØÞ");
    EXPECT_EQ(CTextCase::ToUpper("ÿ"), "Ÿ");
    EXPECT_EQ(CTextCase::ToUpper("łódź ščř ğış"), "ŁÓDŹ ŠČŘ ĞIŞ");
    EXPECT_EQ(CTextCase::ToUpper("αθήνα ς"), "ΑΘΉΝΑ Σ");
    EXPECT_EQ(CTextCase::ToUpper("москва ё"), "МОСКВА Ё");
    EXPECT_EQ(CTextCase::ToUpper("東京"), "東京");
    EXPECT_EQ(CTextCase::ToUpper("÷ß"), "÷ß");
    // Broken bytes pass through unchanged.
    EXPECT_EQ(CTextCase::ToUpper(std::string("a\xC3") + "b\xFF"), std::string("A\xC3") + "B\xFF");
}
