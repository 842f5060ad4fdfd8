#include "editor/model/CGameDatabase.h"
#include "editor/model/CPatch.h"
#include "tools/CSampleGenerator.h"

#include <gtest/gtest.h>

namespace {

// A patch of one changed, one added and one removed record, as text.
std::string SmallPatch() {
    CGameDatabase a, b;
    CSampleGenerator::BuildGame(a, 3);
    CSampleGenerator::BuildGame(b, 3);
    CPlayer& player = *b.FindPlayer(b.Players().begin()->first);
    player.SetCommonName("Zé \"Quote\" Ørn");
    player.SetValue(EPlayerColumn::Pace, player.Value(EPlayerColumn::Pace) == 60 ? 61 : 60);
    b.NewPlayer(-1);
    CStadium stadium = b.Stadiums().begin()->second;
    stadium.id = 424242;
    a.InsertStadium(stadium);
    return CPatch::Make(a, b, std::string(64, 'a'), "a test").ToText();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// The refusal's text for a patch text.
std::string Refusal(const std::string& text) {
    CPatch patch;
    std::string error;
    EXPECT_FALSE(CPatch::Read(text, patch, error));
    return error;
}

} // namespace

TEST(CPatchTest, WrittenPatchesReadBackAsTheyWere) {
    const std::string text = SmallPatch();
    CPatch patch;
    std::string error;
    ASSERT_TRUE(CPatch::Read(text, patch, error)) << error;
    EXPECT_EQ(patch.header.message, "a test");
    EXPECT_EQ(patch.header.baseSha256, std::string(64, 'a'));
    EXPECT_GT(patch.header.baseCounts.at("players"), 0);
    ASSERT_EQ(patch.changes.size(), 3u);
    EXPECT_EQ(patch.ToText(), text);
    // One record a line: each change knows its line.
    for (const SRecordChange& change : patch.changes)
        EXPECT_GT(change.line, 7);
}

TEST(CPatchTest, DamagedPatchesAreRefusedWithLineAndReason) {
    const std::string text = SmallPatch();
    EXPECT_EQ(Refusal(text.substr(0, text.size() / 2)).substr(0, 5), "line ");
    EXPECT_NE(Refusal(Replace(text, "\"version\": 1", "\"version\": 2"))
                  .find("line 3: unknown format version 2"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"kind\": \"player\"", "\"kind\": \"goalpost\""))
                  .find("unknown kind 'goalpost'"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"pace\"", "\"speed\"")).find("unknown field 'speed'"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"pace\": [", "\"pace\": [\"fast\", ")).find("pair"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"common_name\": [", "\"common_name\": [7, "))
                  .find("pair"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"stadium_name\": ", "\"stadium_name\": 12, \"x\": "))
                  .find("field 'stadium_name': a string is expected"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"id\": 424242", "\"id\": 99999999999"))
                  .find("32-bit whole number"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"format\": \"kestrel-patch\"", "\"format\": \"zip\""))
                  .find("not a patch"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"change\": \"removed\"", "\"change\": \"moved\""))
                  .find("\"change\" must be"),
              std::string::npos);
    EXPECT_NE(Refusal(Replace(text, "\"tool\"", "\"path\": \"/etc/passwd\", \"tool\""))
                  .find("line 4: unknown key 'path'"),
              std::string::npos);
    EXPECT_NE(Refusal("\xff\xfe{}").find("line 1"), std::string::npos);
    EXPECT_NE(Refusal(std::string(100, '[')).find("nested too deeply"), std::string::npos);
    EXPECT_NE(Refusal("{\"a\": 1, \"a\": 2}").find("appears twice"), std::string::npos);
}

TEST(CPatchTest, ValuesOfTheWrongTypeOrOutOfRangeAreRefused) {
    const std::string text = SmallPatch();
    // A removed record needs all its fields, a number field a whole number in 32 bits.
    const size_t name = text.find("\"column_0\": ");
    ASSERT_NE(name, std::string::npos);
    std::string missing = text;
    missing.erase(name, text.find(", \"", name) + 2 - name);
    const std::string refusal = Refusal(missing);
    EXPECT_NE(refusal.find("needs every field; 'column_0' is missing"), std::string::npos)
        << refusal;
    const size_t pace = text.find("\"pace\": [");
    ASSERT_NE(pace, std::string::npos);
    const size_t close = text.find(']', pace);
    std::string wide = text;
    wide.replace(pace, close - pace + 1, "\"pace\": [1, 4294967296]");
    EXPECT_NE(Refusal(wide).find("out of range"), std::string::npos);
    std::string same = text;
    same.replace(pace, close - pace + 1, "\"pace\": [4, 4]");
    EXPECT_NE(Refusal(same).find("the same"), std::string::npos);
    std::string fraction = text;
    fraction.replace(pace, close - pace + 1, "\"pace\": [4, 4.5]");
    EXPECT_NE(Refusal(fraction).find("out of range"), std::string::npos);
}
