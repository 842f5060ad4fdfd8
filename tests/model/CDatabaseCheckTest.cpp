#include "CSampleSchema.h"
#include "TestDatabaseFiles.h"

#include "editor/database/CIngameTextDb.h"
#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CInGameNames.h"

#include "tests/support/CTempFolder.h"

#include <gtest/gtest.h>

namespace {

using EKind = SCheckFinding::EKind;

// A small game with nothing wrong: two teams (a full squad for team 10, one player for
// team 11), a league, two stadiums, three colours, names in the texts. Each case breaks one
// thing and expects exactly the finding of that fault.
class CDatabaseCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.Catalogue() = CSampleSchema::GameCatalogue();
        for (uint32_t colour : {0xFFFFFFu, 0x000000u, 0x0000FFu})
            db.Colours().Append(colour);
        db.InsertStadium({1, "Ground", {30000, 0, 44, 1}});
        db.InsertStadium({2, "Training", {800, 1, 44, 1}});
        for (int32_t teamId : {10, 11}) {
            CTeam team(teamId);
            team.SetValue(ETeamColumn::StadiumId, 1);
            team.SetValue(ETeamColumn::TrainingStadiumId, 2);
            team.SetValue(ETeamColumn::OpponentTeamId, teamId == 10 ? 11 : 10);
            CTeamKit kit;
            kit.SetTeamId(teamId);
            for (int c = 0; c < CTeamKit::kColumnCount; ++c)
                kit.SetColumnValue(c, 1);
            team.SetKit(0, kit);
            db.InsertTeam(team);
        }
        CLeague league;
        league.id = 1;
        db.InsertLeague(league);
        db.AddLeagueTeamLink({1, 10});
        db.AddLeagueTeamLink({1, 11});
        // 11 starters (positions 0-10), 5 substitutes, one reserve of each pick.
        std::vector<int32_t> positions;
        for (int p = 0; p <= 10; ++p)
            positions.push_back(p);
        positions.insert(positions.end(), {32, 32, 32, 32, 32, 33, 34});
        for (size_t i = 0; i < positions.size(); ++i)
            AddPlayer(100 + static_cast<int32_t>(i), 10, positions[i]);
        AddPlayer(200, 11, 0);
        db.FindTeam(10)->SetTaker(ETaker::Captain, 100);
        db.FindTeam(10)->SetTaker(ETaker::Penalty, 110);
        NameEverything();
    }

    void AddPlayer(int32_t id, int32_t teamId, int32_t position) {
        CPlayer player(id);
        player.SetLastName("Player " + std::to_string(id));
        player.SetValue(EPlayerColumn::BirthDayNumber, 150000);
        player.SetValue(EPlayerColumn::Height, 180);
        player.SetValue(EPlayerColumn::Weight, 75);
        db.InsertPlayer(player);
        ASSERT_TRUE(db.AddPlayerToTeam(id, teamId, position, -1));
    }

    void NameEverything() {
        for (auto& [id, team] : db.Teams()) {
            team.SetName("Team " + std::to_string(id));
            team.SetShortName("T" + std::to_string(id));
            team.SetMediumName("Team" + std::to_string(id));
        }
        CLeague* league = db.FindLeague(1);
        league->name = "League";
        league->shortName = "L";
        league->mediumName = "Leag";
        CInGameNames::Export(db, texts);
    }

    std::vector<std::string> Codes() const {
        std::vector<std::string> codes;
        for (const SCheckFinding& finding : CDatabaseCheck::Run(db, &texts))
            codes.push_back(finding.code);
        return codes;
    }
    using Codes_ = std::vector<std::string>;

    CTeam& Team10() { return *db.FindTeam(10); }
    CTeamPlayerLink& LinkOf(int32_t playerId) { return *Team10().FindLink(playerId); }

    CGameDatabase db;
    CIngameTextDb texts = CIngameTextDb::CreateNew("");
};

} // namespace

TEST_F(CDatabaseCheckTest, TheHealthyGameHasNoFinding) {
    EXPECT_TRUE(CDatabaseCheck::Run(db, &texts).empty());
    EXPECT_FALSE(CDatabaseCheck::HasErrors({}));
}

TEST_F(CDatabaseCheckTest, BrokenLinksBetweenPlayersTeamsAndLeagues) {
    Team10().AddOrUpdateLink({40, 999, 33, 10});
    EXPECT_EQ(Codes(), Codes_{"missing-player"});
    Team10().RemoveLink(999);

    db.FindPlayer(200)->AddTeam(77);
    const auto findings = CDatabaseCheck::Run(db, &texts);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "missing-team");
    EXPECT_EQ(findings[0].kind, EKind::Player);
    EXPECT_EQ(findings[0].id, 200);
    EXPECT_EQ(findings[0].severity, SCheckFinding::ESeverity::Error);
    db.FindPlayer(200)->RemoveTeam(77);

    Team10().AddRival(78);
    EXPECT_EQ(Codes(), Codes_{"missing-team"});
    Team10().SetRivals({});
    Team10().SetValue(ETeamColumn::OpponentTeamId, 79);
    EXPECT_EQ(Codes(), Codes_{"missing-team"});
    Team10().SetValue(ETeamColumn::OpponentTeamId, 11);

    db.AddLeagueTeamLink({99, 11});
    EXPECT_EQ(Codes(), Codes_{"missing-league"});
}

TEST_F(CDatabaseCheckTest, LeagueLinkToAMissingTeam) {
    db.AddLeagueTeamLink({1, 55});
    const auto findings = CDatabaseCheck::Run(db, &texts);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "missing-team");
    EXPECT_EQ(findings[0].kind, EKind::League);
}

TEST_F(CDatabaseCheckTest, TeamListsThatDisagreeWithTheSquads) {
    db.FindPlayer(200)->AddTeam(10);
    EXPECT_EQ(Codes(), Codes_{"team-list-mismatch"});
    db.FindPlayer(200)->RemoveTeam(10);
    db.FindPlayer(200)->RemoveTeam(11);
    EXPECT_EQ(Codes(), Codes_{"team-list-mismatch"});
}

TEST_F(CDatabaseCheckTest, SquadsTheGameCannotField) {
    LinkOf(101).jerseyNumber = LinkOf(102).jerseyNumber;
    EXPECT_EQ(Codes(), Codes_{"duplicate-jersey"});
    LinkOf(101).jerseyNumber = 60;

    LinkOf(111).formationPosition = 20; // a substitute into the formation: twelve starters
    EXPECT_EQ(Codes(), Codes_{"too-many-starters"});
    LinkOf(111).formationPosition = 32;

    LinkOf(116).formationPosition = 32; // the first-pick reserve joins five substitutes
    EXPECT_EQ(Codes(), Codes_{"too-many-substitutes"});
    LinkOf(116).formationPosition = 33;

    LinkOf(100).formationPosition = 11;
    EXPECT_EQ(Codes(), Codes_{"no-goalkeeper"});
    LinkOf(100).formationPosition = 0;

    LinkOf(105).formationPosition = 4;
    EXPECT_EQ(Codes(), Codes_{"position-twice"});
    LinkOf(105).formationPosition = 5;

    EXPECT_TRUE(Codes().empty());
}

TEST_F(CDatabaseCheckTest, ReservesBeyondThePlacesOfAPick) {
    // Nine second-pick reserves fit the formation's column; the tenth does not.
    for (int32_t id = 300; id < 308; ++id)
        AddPlayer(id, 10, 34);
    EXPECT_TRUE(Codes().empty());
    AddPlayer(308, 10, 34);
    EXPECT_EQ(Codes(), Codes_{"too-many-reserves"});
}

TEST_F(CDatabaseCheckTest, TakersOutsideTheSquad) {
    Team10().SetTaker(ETaker::FreeKick, 200);
    EXPECT_EQ(Codes(), Codes_{"taker-not-in-squad"});
    Team10().SetTaker(ETaker::FreeKick, 0); // unset
    EXPECT_TRUE(Codes().empty());
}

TEST_F(CDatabaseCheckTest, KitColoursOutsideTheColourTableAndMissingStadiums) {
    Team10().FindKit(0)->SetValue(EKitColumn::SocksColour3, 4);
    EXPECT_EQ(Codes(), Codes_{"kit-colour"});
    Team10().FindKit(0)->SetValue(EKitColumn::SocksColour3, 0);
    EXPECT_EQ(Codes(), Codes_{"kit-colour"});
    Team10().FindKit(0)->SetValue(EKitColumn::SocksColour3, 3);

    Team10().SetValue(ETeamColumn::TrainingStadiumId, 9);
    EXPECT_EQ(Codes(), Codes_{"missing-stadium"});
}

TEST_F(CDatabaseCheckTest, EmptyAndMissingNames) {
    Team10().SetShortName("");
    CInGameNames::Export(db, texts); // the entry stays, empty
    EXPECT_EQ(Codes(), Codes_{"name-empty"});
    Team10().SetShortName("T10");
    CInGameNames::Export(db, texts);

    CIngameTextDb fewer = CIngameTextDb::CreateNew("");
    for (const CIngameTextEntry& entry : texts.Entries())
        if (entry.textId != *CInGameNames::LeagueTextId(1, 2))
            fewer.AddText(entry.textId, entry.text);
    db.FindLeague(1)->mediumName.clear();
    const auto findings = CDatabaseCheck::Run(db, &fewer);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "name-missing");
    EXPECT_EQ(findings[0].kind, EKind::League);
    EXPECT_EQ(findings[0].severity, SCheckFinding::ESeverity::Warning);

    // Without the texts the names were never loaded: nothing to say about them.
    EXPECT_TRUE(CDatabaseCheck::Run(db, nullptr).empty());
    db.FindLeague(1)->mediumName = "Leag";

    db.FindPlayer(104)->SetLastName("");
    EXPECT_EQ(Codes(), Codes_{"name-empty"});
    db.FindPlayer(104)->SetCommonName("Nico");
    EXPECT_TRUE(Codes().empty());
}

TEST_F(CDatabaseCheckTest, ValuesOutsideTheirColumnsAndOwnRivals) {
    const int height = static_cast<int>(EPlayerColumn::Height);
    const CDbTable& players = *db.Catalogue().FindTable("players");
    const int32_t tooTall = players.ColumnHigh(height) + 1;
    db.FindPlayer(103)->SetValue(EPlayerColumn::Height, tooTall);
    const auto findings = CDatabaseCheck::Run(db, &texts);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].code, "value-range");
    EXPECT_EQ(findings[0].message, "players column height is " + std::to_string(tooTall) +
                                       ", outside " + std::to_string(players.ColumnLow(height)) +
                                       ".." + std::to_string(players.ColumnHigh(height)));
    EXPECT_EQ(findings[0].playerField, "height");
    EXPECT_FALSE(CDatabaseCheck::HasErrors(findings));
    db.FindPlayer(103)->SetValue(EPlayerColumn::Height, 180);

    LinkOf(103).jerseyNumber = 120;
    EXPECT_EQ(Codes(), Codes_{"value-range"});
    LinkOf(103).jerseyNumber = 4;

    Team10().AddRival(10);
    EXPECT_EQ(Codes(), Codes_{"own-rival"});
}

// What the loader could not keep comes from files that have exactly that fault.
class CDatabaseCheckLoadTest : public ::testing::Test {
protected:
    std::vector<std::string> CodesOfFile(const std::vector<STestTable>& tables) {
        WriteDatabase(scratch.Path() / "corvid.db", FullGame(tables));
        CGameDatabase db;
        EXPECT_TRUE(db.LoadGameDatabase(scratch.File("corvid.db"), "", sink));
        std::vector<std::string> codes;
        for (const SCheckFinding& finding : CDatabaseCheck::Run(db, nullptr))
            codes.push_back(finding.code + " " + SCheckFinding::KindName(finding.kind) + " " +
                            std::to_string(finding.id));
        return codes;
    }
    static STestTable OneStadium() {
        return Table("stadiums", [](CDbSectionWriter& out) {
            out.BeginRecord();
            out.Int(0);
            out.String("Ground");
            out.Pack(std::vector<int32_t>{1000, 0, 0, 0});
        });
    }
    static STestTable OneTeam() {
        return Table("teams", [](CDbSectionWriter& out) { PackTeam(out, 1); });
    }

    CTempFolder scratch;
    CRecordingSink sink;
};

TEST_F(CDatabaseCheckLoadTest, DuplicateIdsKitTypesAndRowsOfMissingTeams) {
    EXPECT_EQ(CodesOfFile({Table("players",
                                 [](CDbSectionWriter& out) {
                                     PackPlayer(out, 5, "A", "", "First");
                                     PackPlayer(out, 5, "B", "", "Second");
                                 })}),
              std::vector<std::string>{"duplicate-id player 5"});
    EXPECT_EQ(CodesOfFile({OneStadium(), OneTeam(),
                           Table("teamkits",
                                 [](CDbSectionWriter& out) {
                                     out.BeginRecord();
                                     out.Int(1);
                                     out.Int(11);
                                     out.Word(0);
                                     out.Word(0);
                                     out.Pack(std::vector<int32_t>{0});
                                 })}),
              std::vector<std::string>{"kit-type team 1"});
    EXPECT_EQ(CodesOfFile({OneStadium(), OneTeam(),
                           Table("teamrivalry",
                                 [](CDbSectionWriter& out) {
                                     out.BeginRecord();
                                     out.Int(99);
                                     out.Int(1);
                                 })}),
              std::vector<std::string>{"missing-team team 99"});
    EXPECT_TRUE(CodesOfFile({OneStadium(), OneTeam()}).empty());
}
