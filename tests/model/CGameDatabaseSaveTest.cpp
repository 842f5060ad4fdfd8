#include "TestDatabaseFiles.h"

#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CInGameNames.h"

#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

namespace {

class CGameDatabaseSaveTest : public ::testing::Test {
protected:
    // Fixed word 0 of every record of a table in the file.
    std::vector<int32_t> Keys(const std::filesystem::path& path, const std::string& table,
                              int fixedWords, int word = 0) {
        CDbFileReader reader;
        std::vector<int32_t> keys;
        CDbCatalogue catalogue;
        if (!reader.Open(path.string(), sink) || !reader.ReadCatalogue(catalogue, sink))
            return keys;
        auto cursor = reader.Records(*catalogue.FindTable(table), fixedWords, sink);
        while (cursor && cursor->Next())
            keys.push_back(cursor->Int(word));
        return keys;
    }

    CTempFolder scratch;
    const std::filesystem::path folder = scratch.Path();
    CGameDatabase db;
    CRecordingSink sink;
};

} // namespace

TEST_F(CGameDatabaseSaveTest, RecordsComeOutInAscendingIdsAndStatsEmpty) {
    WriteDatabase(
        folder / "in.db",
        FullGame({
            Table("players",
                  [](CDbSectionWriter& out) {
                      for (int32_t id : {30, 10, -4, 20})
                          PackPlayer(out, id, "", "", "P");
                  }),
            Table("teams",
                  [](CDbSectionWriter& out) {
                      for (int32_t id : {8, 2})
                          PackTeam(out, id);
                  }),
            Table("teamplayerlinks",
                  [](CDbSectionWriter& out) {
                      for (auto [team, player] : {std::pair{8, 30}, {2, 20}, {8, 10}, {2, -4}}) {
                          out.BeginRecord();
                          out.Int(team);
                          out.Int(player);
                          out.Pack(std::vector<int32_t>{1, 32});
                      }
                  }),
            Table("playerstats",
                  [](CDbSectionWriter& out) {
                      out.BeginRecord();
                      out.Int(1);
                      out.Pack(std::vector<int32_t>{1, 2, 3});
                  }),
        }));
    ASSERT_TRUE(db.LoadGameDatabase((folder / "in.db").string(), "", sink));
    const auto out = folder / "out.db";
    ASSERT_TRUE(db.SaveGameDatabase(out.string(), "", sink));
    // Negative ids are kept too, in their place.
    EXPECT_EQ(Keys(out, "players", 4), (std::vector<int32_t>{-4, 10, 20, 30}));
    EXPECT_EQ(Keys(out, "teams", 4), (std::vector<int32_t>{2, 8}));
    EXPECT_EQ(Keys(out, "teamplayerlinks", 2, 1), (std::vector<int32_t>{20, -4, 30, 10}));
    // One set-piece row per team, even for teams that had none.
    EXPECT_EQ(Keys(out, "specialteamplayers", 1), (std::vector<int32_t>{2, 8}));
    EXPECT_TRUE(Keys(out, "playerstats", 1).empty());
    EXPECT_EQ(db.FilePath(), out.string());
}

TEST_F(CGameDatabaseSaveTest, NamesComeFromAndGoBackToTheTextDatabase) {
    WriteDatabase(folder / "corvid.db", FullGame({
                                            Table("teams",
                                                  [](CDbSectionWriter& out) {
                                                      PackTeam(out, 12);
                                                      PackTeam(out, 13);
                                                  }),
                                            Table("leagues",
                                                  [](CDbSectionWriter& out) {
                                                      out.BeginRecord();
                                                      out.Int(3);
                                                      out.String("a");
                                                      out.String("b");
                                                      out.String("c");
                                                      out.Pack(std::vector<int32_t>{1, 2});
                                                  }),
                                        }));
    const auto texts = folder / "eng.db";
    WriteTexts(texts, {{30000120, "Real Córdoba"},
                       {30000121, "COR"},
                       {30000120, "shadowed"},
                       {10000030, "Liga Ελλάδα"},
                       {10000032, "Liga"},
                       {5, "Play"}});
    ASSERT_TRUE(db.LoadGameDatabase((folder / "corvid.db").string(), texts.string(), sink));
    EXPECT_EQ(db.FindTeam(12)->Name(), "Real Córdoba");
    EXPECT_EQ(db.FindTeam(12)->ShortName(), "COR");
    EXPECT_EQ(db.FindTeam(12)->MediumName(), "");
    EXPECT_EQ(db.FindTeam(13)->Name(), "");
    EXPECT_EQ(db.FindLeague(3)->name, "Liga Ελλάδα");
    EXPECT_EQ(db.FindLeague(3)->mediumName, "Liga");

    db.FindTeam(12)->SetName("Real Córdoba CF");
    db.FindTeam(13)->SetName("Neuer Verein");
    db.FindTeam(13)->SetShortName("");
    ASSERT_TRUE(db.SaveGameDatabase((folder / "corvid.db").string(), texts.string(), sink));

    CIngameTextDb saved(texts.string());
    ASSERT_TRUE(saved.ReadIngameTextDb(sink));
    EXPECT_EQ(saved.FindText(30000120), "Real Córdoba CF");
    EXPECT_EQ(saved.FindText(5), "Play");
    // A name the file had no entry for is added, not lost; empty ones are not added.
    EXPECT_EQ(saved.FindText(30000130), "Neuer Verein");
    size_t entries13 = 0, shadowed = 0;
    for (const CIngameTextEntry& entry : saved.Entries()) {
        entries13 += entry.textId / 10 == 3000013 ? 1 : 0;
        shadowed += entry.text == "shadowed" ? 1 : 0;
    }
    EXPECT_EQ(entries13, 1u);
    EXPECT_EQ(shadowed, 1u);

    CGameDatabase again;
    ASSERT_TRUE(again.LoadGameDatabase((folder / "corvid.db").string(), texts.string(), sink));
    EXPECT_EQ(again.FindTeam(13)->Name(), "Neuer Verein");
}

TEST_F(CGameDatabaseSaveTest, UnreadableTextsLeaveNamesEmptyButLoad) {
    WriteDatabase(folder / "corvid.db",
                  FullGame({Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 1); })}));
    ASSERT_TRUE(
        db.LoadGameDatabase((folder / "corvid.db").string(), (folder / "none.db").string(), sink));
    EXPECT_NE(db.FindTeam(1), nullptr);
    EXPECT_FALSE(sink.messages.empty());
}

TEST_F(CGameDatabaseSaveTest, RefusesValuesAndNamesThatCannotBeStored) {
    WriteDatabase(folder / "corvid.db",
                  FullGame({Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 1); })}));
    WriteTexts(folder / "eng.db", {});
    ASSERT_TRUE(db.LoadGameDatabase((folder / "corvid.db").string(), "", sink));
    const auto before = std::filesystem::file_size(folder / "corvid.db");
    const std::string originalBytes = ReadText(folder / "corvid.db");

    db.FindTeam(1)->SetName(std::string(256, 'x'));
    EXPECT_FALSE(
        db.SaveGameDatabase((folder / "corvid.db").string(), (folder / "eng.db").string(), sink));
    db.FindTeam(1)->SetName("ok");
    db.FindTeam(1)->SetValue(ETeamColumn::Prestige, 5000); // the column holds 0..20
    EXPECT_FALSE(
        db.SaveGameDatabase((folder / "corvid.db").string(), (folder / "eng.db").string(), sink));
    EXPECT_EQ(ReadText(folder / "corvid.db"), originalBytes);
    EXPECT_EQ(std::filesystem::file_size(folder / "corvid.db"), before);
}

// The game database and its names are saved together or not at all: a text database that
// cannot be read, or cannot be written, is found before anything is written.
TEST_F(CGameDatabaseSaveTest, NamesThatCannotBeSavedStopTheSaveBeforeAnythingIsWritten) {
    WriteDatabase(folder / "corvid.db",
                  FullGame({Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 1); })}));
    const auto texts = folder / "eng.db";
    WriteTexts(texts, {{30000010, "Old Name"}});
    ASSERT_TRUE(db.LoadGameDatabase((folder / "corvid.db").string(), texts.string(), sink));
    const std::string gameBytes = ReadText(folder / "corvid.db");
    db.FindTeam(1)->SetName("New Name");
    db.MarkDirty();

    WriteText(texts, "damaged");
    EXPECT_FALSE(db.SaveGameDatabase((folder / "corvid.db").string(), texts.string(), sink));
    EXPECT_EQ(ReadText(folder / "corvid.db"), gameBytes);
    EXPECT_EQ(ReadText(texts), "damaged");
    EXPECT_TRUE(db.IsDirty());

    WriteTexts(texts, {{30000010, "Old Name"}});
    const std::string textBytes = ReadText(texts);
    std::filesystem::permissions(texts, std::filesystem::perms::owner_read);
    sink.messages.clear();
    EXPECT_FALSE(db.SaveGameDatabase((folder / "corvid.db").string(), texts.string(), sink));
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages.back(), "Error_OpenToWrite: " + texts.string() + ": it is read-only");
    EXPECT_EQ(ReadText(folder / "corvid.db"), gameBytes);
    EXPECT_EQ(ReadText(texts), textBytes);

    // No text database file at all: nothing to keep the names in, the game database is saved.
    EXPECT_TRUE(
        db.SaveGameDatabase((folder / "corvid.db").string(), (folder / "fre.db").string(), sink));
    EXPECT_FALSE(std::filesystem::exists(folder / "fre.db"));

    std::filesystem::permissions(texts, std::filesystem::perms::owner_all);
    ASSERT_TRUE(db.SaveGameDatabase((folder / "corvid.db").string(), texts.string(), sink));
    CIngameTextDb saved(texts.string());
    ASSERT_TRUE(saved.ReadIngameTextDb(sink));
    EXPECT_EQ(saved.FindText(30000010), "New Name");
}

TEST_F(CGameDatabaseSaveTest, SaveClearsTheDirtyFlag) {
    WriteDatabase(folder / "corvid.db",
                  FullGame({Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 1); })}));
    ASSERT_TRUE(db.LoadGameDatabase((folder / "corvid.db").string(), "", sink));
    EXPECT_FALSE(db.IsDirty());
    db.NewPlayer(1);
    EXPECT_TRUE(db.IsDirty());
    ASSERT_TRUE(db.SaveGameDatabase((folder / "corvid.db").string(), "", sink));
    EXPECT_FALSE(db.IsDirty());
    db.NewPlayer(-1);
    ASSERT_TRUE(db.LoadGameDatabase((folder / "corvid.db").string(), "", sink));
    EXPECT_FALSE(db.IsDirty());
}

TEST_F(CGameDatabaseSaveTest, ADeletedPlayerIsGoneAfterSavingAndTheRestIsUnchanged) {
    WriteDatabase(folder / "in.db",
                  FullGame({
                      Table("players",
                            [](CDbSectionWriter& out) {
                                PackPlayer(out, 10, "Ann", "", "Linked", {1, 2, 3});
                                PackPlayer(out, 20, "Bo", "Free", "Gone", {2, 3, 4});
                                PackPlayer(out, 30, "Cy", "", "Stays", {3, 4, 5});
                            }),
                      Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 2); }),
                      Table("teamplayerlinks",
                            [](CDbSectionWriter& out) {
                                out.BeginRecord();
                                out.Int(2);
                                out.Int(10);
                                out.Pack(std::vector<int32_t>{7, 32});
                            }),
                  }));
    ASSERT_TRUE(db.LoadGameDatabase((folder / "in.db").string(), "", sink));
    const auto before = folder / "before.db";
    ASSERT_TRUE(db.SaveGameDatabase(before.string(), "", sink));
    ASSERT_FALSE(db.DeletePlayers(std::vector<int32_t>{10}));
    ASSERT_TRUE(db.DeletePlayers(std::vector<int32_t>{20}));
    const auto after = folder / "after.db";
    ASSERT_TRUE(db.SaveGameDatabase(after.string(), "", sink));

    CGameDatabase reloaded;
    ASSERT_TRUE(reloaded.LoadGameDatabase(after.string(), "", sink));
    EXPECT_EQ(reloaded.FindPlayer(20), nullptr);
    ASSERT_NE(reloaded.FindPlayer(30), nullptr);
    EXPECT_EQ(reloaded.FindPlayer(30)->LastName(), "Stays");
    EXPECT_EQ(reloaded.FindTeamPlayerLink(10, 2)->jerseyNumber, 7);

    // Record by record, every table holds the same bytes but for the deleted player's record.
    CDbFileReader readBefore, readAfter;
    CDbCatalogue catalogueBefore, catalogueAfter;
    ASSERT_TRUE(readBefore.Open(before.string(), sink) &&
                readBefore.ReadCatalogue(catalogueBefore, sink));
    ASSERT_TRUE(readAfter.Open(after.string(), sink) &&
                readAfter.ReadCatalogue(catalogueAfter, sink));
    struct SRecord {
        int32_t key;
        std::vector<uint8_t> packed;
        std::string names;
        bool operator==(const SRecord&) const = default;
    };
    for (const CSampleSchema::STable& layout : CSampleSchema::GameTables()) {
        auto records = [&](const CDbFileReader& reader, const CDbCatalogue& catalogue) {
            std::vector<SRecord> out;
            auto cursor = reader.Records(*catalogue.FindTable(layout.name), layout.fixedWords,
                                         sink);
            while (cursor && cursor->Next()) {
                SRecord record{cursor->Int(0),
                               {cursor->PackedArea().begin(), cursor->PackedArea().end()},
                               {}};
                for (int word = 1; layout.name == "players" && word < 4; ++word) {
                    std::string name;
                    cursor->String(word, name);
                    record.names += name + "|";
                }
                out.push_back(std::move(record));
            }
            return out;
        };
        std::vector<SRecord> expected = records(readBefore, catalogueBefore);
        if (layout.name == "players")
            std::erase_if(expected, [](const SRecord& r) { return r.key == 20; });
        EXPECT_EQ(records(readAfter, catalogueAfter), expected) << layout.name;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CInGameNamesTest, TextIdsOfTeamsAndLeagues) {
    EXPECT_EQ(CInGameNames::TeamTextId(12, 0), 30000120u);
    EXPECT_EQ(CInGameNames::TeamTextId(12, 2), 30000122u);
    EXPECT_EQ(CInGameNames::LeagueTextId(3, 1), 10000031u);
    EXPECT_FALSE(CInGameNames::TeamTextId(-3000001, 0));
    EXPECT_FALSE(CInGameNames::TeamTextId(INT32_MAX, 0));
}

TEST(CInGameNamesTest, EditedEntriesRenameOnlyTheirTeamsAndLeagues) {
    CGameDatabase db;
    db.InsertTeam(CTeam(12)).SetName("Old Town");
    db.InsertTeam(CTeam(13)).SetName("Other");
    CLeague league;
    league.id = 3;
    league.shortName = "OL";
    db.InsertLeague(league);
    CIngameTextDb texts = CIngameTextDb::CreateNew("texts.db");
    texts.AddText(30000120, "New Town");    // 0: team 12's name
    texts.AddText(30000130, "Not edited");  // 1: team 13's name
    texts.AddText(10000031, "NL");          // 2: league 3's short name
    texts.AddText(30000120, "Shadowed");    // 3: read by nobody
    texts.AddText(30000125, "No name");     // 4: k = 5 names nothing
    texts.AddText(30009990, "No team");     // 5: team 999 does not exist
    texts.AddText(1000, "Menu");            // 6: no name at all
    std::set<int32_t> teams, leagues;
    CInGameNames::ImportEntries(texts, {0, 2, 3, 4, 5, 6, 42}, db, teams, leagues);
    EXPECT_EQ(db.FindTeam(12)->Name(), "New Town");
    EXPECT_EQ(db.FindTeam(13)->Name(), "Other");
    EXPECT_EQ(db.FindLeague(3)->shortName, "NL");
    EXPECT_EQ(db.FindLeague(3)->name, "");
    EXPECT_EQ(teams, std::set<int32_t>({12}));
    EXPECT_EQ(leagues, std::set<int32_t>({3}));
}
