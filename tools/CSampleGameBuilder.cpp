#include "CSampleGameBuilder.h"
#include "editor/model/CGameRanges.h"

#include "editor/model/CGameDatabase.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

using C = EPlayerColumn;

constexpr int kFormationShapes = 7;
constexpr int kFormationVariants = 7;
constexpr std::array<const char*, kFormationShapes> kShapeNames = {
    "4-4-2", "4-3-3", "3-5-2", "4-5-1", "5-3-2", "4-2-3-1", "4-1-2-1-2"};
constexpr std::array<const char*, kFormationVariants> kVariantNames = {
    "", " Attacking", " Defensive", " Wide", " Narrow", " Flat", " Counter"};
// The eleven places of each shape, goalkeeper first.
constexpr std::array<std::array<int32_t, 11>, kFormationShapes> kShapes = {{
    {0, 3, 4, 6, 7, 15, 16, 18, 19, 29, 31},
    {0, 3, 4, 6, 7, 16, 17, 18, 26, 27, 28},
    {0, 4, 5, 6, 14, 16, 17, 18, 20, 29, 31},
    {0, 3, 4, 6, 7, 15, 16, 17, 18, 19, 30},
    {0, 2, 4, 5, 6, 8, 16, 17, 18, 29, 31},
    {0, 3, 4, 6, 7, 10, 12, 21, 23, 25, 30},
    {0, 3, 4, 6, 7, 11, 16, 18, 23, 29, 31},
}};

constexpr std::array<C, 25> kAttributes = {
    C::Acceleration,  C::Aggression, C::Pace,     C::Stamina,      C::Strength,
    C::Balance,       C::Marking,    C::Tackling, C::BallControl,  C::Dribbling,
    C::Crossing,      C::Heading,    C::Jumping,  C::Passing,      C::LongBalls,
    C::ShotAccuracy,  C::ShotPower,  C::Throwing, C::Anticipation, C::Awareness,
    C::Determination, C::Punching,   C::Reflexes, C::Rushing,      C::Handling};

bool IsKeeperSkill(C c) {
    return c == C::Punching || c == C::Reflexes || c == C::Rushing || c == C::Handling ||
           c == C::Throwing;
}

bool IsDefensive(C c) {
    return c == C::Marking || c == C::Tackling || c == C::Heading;
}

bool IsAttacking(C c) {
    return c == C::ShotAccuracy || c == C::ShotPower || c == C::Dribbling || c == C::BallControl;
}

bool IsCreative(C c) {
    return c == C::Passing || c == C::LongBalls || c == C::Crossing;
}

// Another position of the same part of the pitch, as a player's second choice.
int32_t NearbyPosition(CSampleRandom& random, int32_t position) {
    if (position == 0)
        return -1;
    if (position <= 8)
        return random.Range(1, 8);
    if (position <= 25)
        return random.Range(9, 25);
    return random.Range(26, 31);
}

} // namespace

CSampleGameBuilder::CSampleGameBuilder(CGameDatabase& database, uint64_t seed, size_t playerCount)
    : m_database(database), m_random(seed), m_names(m_random), m_playerCount(playerCount) {}

void CSampleGameBuilder::Build() {
    AddColours();
    AddStadiums();
    AddFormations();
    AddLeaguesAndTeams();
    AddRivals();
    AddFreeAgents();
}

void CSampleGameBuilder::AddColours() {
    // The first five are the colours the player windows name (white, black, blue, red,
    // yellow); the rest are shades clubs wear.
    const std::array<uint32_t, 12> named = {0xFFFFFF, 0x000000, 0xC8501E, 0x1E1ED2,
                                            0x00DCFF, 0x1E8C1E, 0x0080FF, 0x800080,
                                            0x202080, 0x808080, 0x2E1A0E, 0xA0D8F0};
    for (uint32_t colour : named)
        m_database.Colours().Append(colour);
    while (m_database.Colours().Count() < 100) {
        const uint32_t colour = static_cast<uint32_t>(m_random.Range(0, 0xFFFFFF));
        if (m_database.Colours().IndexOfColour(colour) < 0)
            m_database.Colours().Append(colour);
    }
}

void CSampleGameBuilder::AddStadiums() {
    const int countries = static_cast<int>(CSampleNames::Countries().size());
    int32_t id = 1;
    for (int i = 0; i < 80; ++i, ++id) {
        const bool training = i >= 64;
        const int country = i % countries;
        CStadium stadium;
        stadium.id = id;
        stadium.name = m_names.StadiumName(country, training);
        stadium.columns = {training ? m_random.Range(500, 3000) : m_random.Range(8000, 95000),
                           training ? 1 : 0, CSampleNames::Countries()[country].countryId,
                           m_random.Range(0, 1023)};
        m_database.InsertStadium(stadium);
        (training ? m_trainingStadiums : m_matchStadiums).push_back(id);
    }
}

void CSampleGameBuilder::AddFormations() {
    int32_t id = 0;
    for (const char* shape : kShapeNames)
        for (const char* variant : kVariantNames)
            m_database.InsertFormation({std::string(shape) + variant, id++});
}

void CSampleGameBuilder::AddLeaguesAndTeams() {
    const auto& countries = CSampleNames::Countries();
    int leagueCount = 0;
    for (const auto& country : countries)
        leagueCount += country.divisions;
    int32_t leagueId = 1;
    int32_t teamId = 1;
    int teamsLeft = kTeamCount;
    for (size_t c = 0; c < countries.size(); ++c) {
        for (int division = 0; division < countries[c].divisions; ++division, ++leagueId) {
            CLeague league;
            league.id = leagueId;
            league.recordNames = {"league" + std::to_string(leagueId), "", ""};
            league.columns = {countries[c].countryId, division + 1};
            league.name = m_names.LeagueName(static_cast<int>(c), division);
            league.shortName = m_names.LeagueShortName(static_cast<int>(c), division);
            league.mediumName = league.shortName;
            m_database.InsertLeague(league);
            const int size = (teamsLeft + leagueCount - 1) / leagueCount;
            teamsLeft -= size;
            --leagueCount;
            m_leagueTeams.emplace_back();
            for (int t = 0; t < size; ++t, ++teamId) {
                AddTeam(teamId, leagueId, static_cast<int>(c), division + 1);
                m_leagueTeams.back().push_back(teamId);
            }
        }
    }
}

void CSampleGameBuilder::AddTeam(int32_t teamId, int32_t leagueId, int country, int level) {
    CTeam team(teamId);
    std::string town;
    team.SetName(m_names.TeamName(country, town));
    team.SetShortName(CSampleNames::ShortName(town));
    team.SetMediumName(town);
    team.SetRecordName(0, "team" + std::to_string(teamId));
    team.SetRecordName(2, "TEAM_" + std::to_string(teamId));
    const int prestige = std::clamp(21 - 4 * level + m_random.Range(-2, 3), 0, 20);
    using T = ETeamColumn;
    team.SetValue(T::AdboardId, m_random.Range(1, 245));
    team.SetValue(T::Attack, m_random.Range(30, 80));
    team.SetValue(T::BallType, m_random.Range(1, 7));
    team.SetValue(T::EliteTeam, prestige >= 17 ? 1 : 0);
    team.SetValue(T::Column4, m_random.Range(0, 255));
    team.SetValue(T::FormationId, m_random.Range(0, kFormationShapes * kFormationVariants - 1));
    team.SetValue(T::GenericBanner, m_random.Chance(30) ? 1 : 0);
    team.SetValue(T::Column7, m_random.Range(0, 255));
    team.SetValue(T::OffsideTrap, m_random.Chance(40) ? 1 : 0);
    team.SetValue(T::OpponentTeamId, m_random.Range(1, kTeamCount));
    team.SetValue(T::PitchRepair, m_random.Range(0, 3));
    team.SetValue(T::SpeechCountryId, CSampleNames::Countries()[country].speechId);
    team.SetValue(T::StadiumId, m_random.Pick<int32_t>(m_matchStadiums));
    team.SetValue(T::Streamers, m_random.Chance(50) ? 1 : 0);
    team.SetValue(T::Column14, m_random.Range(0, 15));
    team.SetValue(T::Column15, m_random.Range(0, 255));
    team.SetValue(T::Column16, m_random.Range(0, 255));
    team.SetValue(T::Prestige, prestige);
    team.SetValue(T::TrainingStadiumId, m_random.Pick<int32_t>(m_trainingStadiums));
    team.SetValue(T::WetKit, m_random.Chance(20) ? 1 : 0);
    team.SetValue(T::WithoutBall, m_random.Range(30, 80));
    AddKits(team);
    AddSquad(team, country);
    CTeam& stored = m_database.InsertTeam(std::move(team));
    m_database.AddLeagueTeamLink({leagueId, stored.Id()});
}

void CSampleGameBuilder::AddKits(CTeam& team) {
    const int32_t colours = m_database.Colours().Count();
    const int32_t main = m_random.Range(1, colours);
    const int32_t second = m_random.Range(1, colours);
    for (int32_t slot = 0; slot < CTeamKit::kSlotCount; ++slot) {
        // Home, away and both goalkeeper kits always; the others most of the time.
        const bool always = slot <= 2 || slot == 10;
        if (!always && !m_random.Chance(75))
            continue;
        CTeamKit kit;
        kit.SetTeamId(team.Id());
        const bool home = slot == 0 || slot == 2;
        const int32_t jersey = home ? main : slot == 1 ? second : m_random.Range(1, colours);
        const int32_t trim = home ? second : main;
        using K = EKitColumn;
        for (int c = 0; c < CTeamKit::kColumnCount; ++c) {
            const auto range = CGameRanges::Find("teamkits", CTeamKit::Columns()[c].name);
            // Colour columns are drawn too (and set below), so the game stays what the seed
            // made it.
            kit.SetColumnValue(c, range ? m_random.Range(range->low, range->high)
                                        : m_random.Range(0, 7));
        }
        for (K k : {K::JerseyColour1, K::ShortsColour2, K::SocksColour1})
            kit.SetValue(k, jersey);
        for (K k :
             {K::JerseyColour2, K::ShortsColour1, K::SocksColour2, K::NumberColour, K::NameColour})
            kit.SetValue(k, trim);
        for (K k : {K::JerseyColour3, K::ShortsColour3, K::SocksColour3, K::ShortsNumberColour})
            kit.SetValue(k, m_random.Range(1, colours));
        kit.SetValue(K::WetKit, 0);
        kit.SetShortsNumberX(static_cast<float>(m_random.Range(-200, 200)) / 1000.0f);
        kit.SetShortsNumberY(static_cast<float>(m_random.Range(-200, 200)) / 1000.0f);
        team.SetKit(slot, kit);
    }
}

void CSampleGameBuilder::AddSquad(CTeam& team, int country) {
    const int prestige = team.Value(ETeamColumn::Prestige);
    const auto& shape = kShapes[team.Value(ETeamColumn::FormationId) / kFormationVariants];
    int size = 18 + m_random.Range(0, 6);
    if (m_random.Chance(8))
        size = m_random.Range(25, 32);
    std::vector<int32_t> jerseys;
    for (int32_t n = 12; n <= 40; ++n)
        jerseys.push_back(n);
    for (int i = 0; i < size; ++i) {
        int32_t position = 0;
        int32_t place = 0;
        if (i < 11) {
            position = shape[i];
            place = position;
        } else {
            // A second keeper, then cover for the outfield places.
            position = i == 11 ? 0 : shape[static_cast<size_t>(m_random.Range(1, 10))];
            const int bench = i - 11;
            place = bench < 5 ? 32 : bench < 13 ? 33 : 34;
        }
        const int32_t playerId = AddPlayer(country, position, prestige);
        int32_t jersey = i + 1;
        if (i >= 11) {
            const auto pick =
                static_cast<size_t>(m_random.Range(0, static_cast<int32_t>(jerseys.size()) - 1));
            jersey = jerseys[pick];
            jerseys.erase(jerseys.begin() + static_cast<std::ptrdiff_t>(pick));
        }
        team.AddOrUpdateLink({jersey, playerId, place, team.Id()});
        m_database.FindPlayer(playerId)->AddTeam(team.Id());
    }
    const auto& links = team.Links();
    team.SetTaker(ETaker::Captain, links[static_cast<size_t>(m_random.Range(1, 10))].playerId);
    for (ETaker taker :
         {ETaker::FreeKick, ETaker::LeftCorner, ETaker::Penalty, ETaker::RightCorner})
        team.SetTaker(taker, links[static_cast<size_t>(m_random.Range(5, 10))].playerId);
}

int32_t CSampleGameBuilder::AddPlayer(int country, int32_t position, int prestige) {
    const int32_t id = m_nextPlayerId;
    m_nextPlayerId += m_random.Chance(25) ? m_random.Range(2, 6) : 1;
    CPlayer player(id);
    player.SetFirstName(m_names.FirstName(country));
    player.SetLastName(m_names.LastName(country));
    if (m_random.Chance(3)) {
        player.SetCommonName(player.LastName());
        player.SetFirstName("");
    }
    const int base = 38 + 2 * prestige;
    const bool keeper = position == 0;
    for (C attribute : kAttributes) {
        int value = base + m_random.Range(-10, 10);
        if (IsKeeperSkill(attribute))
            value = keeper ? value + 10 : m_random.Range(5, 25);
        else if (keeper && (IsAttacking(attribute) || IsCreative(attribute)))
            value -= 25;
        else if (position >= 1 && position <= 8 && IsDefensive(attribute))
            value += 10;
        else if (position >= 9 && position <= 25 && IsCreative(attribute))
            value += 10;
        else if (position >= 26 && IsAttacking(attribute))
            value += 10;
        player.SetValue(attribute, std::clamp(value, 1, 99));
    }
    // Traits on the game's small scales; the better teams have more of the gifted.
    player.SetValue(C::Consistency, m_random.Range(1, 4));
    player.SetValue(C::Leadership, m_random.Range(0, 4));
    player.SetValue(C::Talent, std::clamp(prestige / 4 + m_random.Range(-1, 1), 0, 5));
    for (C flag : {C::BallWinner, C::Calm, C::ClinicalFinisher, C::Greed, C::HotTemper,
                   C::InjuryProne, C::PrimaDonna, C::Reckless, C::SpeedKing, C::WorkRate})
        player.SetValue(flag, m_random.Chance(10) ? 1 : 0);
    player.SetValue(C::Flag25, 0);
    player.SetValue(C::StarPlayer, base + 10 >= 80 && m_random.Chance(30) ? 1 : 0);
    for (C colour : {C::AccessoryColour1, C::AccessoryColour2, C::AccessoryColour3,
                     C::AccessoryColour4, C::AccessoryColour5})
        player.SetValue(colour, m_random.Range(1, 5));
    for (C accessory : {C::Accessory1, C::Accessory2, C::Accessory3, C::Accessory4, C::Accessory5})
        player.SetValue(accessory, m_random.Chance(85) ? 15 : m_random.Range(1, 14));
    player.SetValue(C::ShoeColour, m_random.Range(1, 5));
    const CDate birth(m_random.Range(1966, 1987), m_random.Range(1, 12), m_random.Range(1, 28));
    player.SetBirthDate(birth);
    player.SetValue(C::AgeRate1, m_random.Range(1, 7));
    player.SetValue(C::AgeRate2, m_random.Range(1, 5));
    player.SetValue(C::FaceType, m_random.Range(1, 25));
    // Style 1 is a clean shave.
    player.SetValue(C::FacialHairStyle, m_random.Chance(70) ? 1 : m_random.Range(2, 6));
    player.SetValue(C::HairColour, m_random.Range(1, 5));
    player.SetValue(C::HairType, m_random.Range(1, 11));
    player.SetValue(C::LegType, m_random.Range(1, 3));
    player.SetValue(C::SleeveLength, m_random.Range(0, 1));
    player.SetValue(C::SpecificFace, m_random.Chance(5) ? m_random.Range(1, 650) : 0);
    player.SetValue(C::Footed, m_random.Chance(70) ? 0 : m_random.Range(1, 2));
    player.SetValue(C::Height, keeper ? m_random.Range(183, 200) : m_random.Range(165, 195));
    player.SetValue(C::Weight, player.Value(C::Height) - 100 + m_random.Range(-8, 8));
    player.SetValue(C::PreferredPosition1, position);
    player.SetValue(C::PreferredPosition2,
                    m_random.Chance(50) ? NearbyPosition(m_random, position) : -1);
    player.SetValue(C::PreferredPosition3,
                    player.Value(C::PreferredPosition2) >= 0 && m_random.Chance(30)
                        ? NearbyPosition(m_random, position)
                        : -1);
    for (C icon : {C::TacticalIconId1, C::TacticalIconId2, C::TacticalIconId3, C::TacticalIconId4})
        player.SetValue(icon, m_random.Range(0, 13));
    m_database.InsertPlayer(std::move(player));
    return id;
}

void CSampleGameBuilder::AddRivals() {
    for (const std::vector<int32_t>& teams : m_leagueTeams) {
        for (int32_t teamId : teams) {
            const int rivals = m_random.Range(0, 2);
            CTeam* team = m_database.FindTeam(teamId);
            for (int r = 0; r < rivals; ++r) {
                const int32_t rival = m_random.Pick<int32_t>(teams);
                const auto& current = team->Rivals();
                if (rival != teamId &&
                    std::find(current.begin(), current.end(), rival) == current.end())
                    team->AddRival(rival);
            }
        }
    }
}

void CSampleGameBuilder::AddFreeAgents() {
    const int countries = static_cast<int>(CSampleNames::Countries().size());
    const size_t squads = m_database.Players().size();
    const size_t count =
        std::max<size_t>(kFreeAgents, m_playerCount > squads ? m_playerCount - squads : 0);
    for (size_t i = 0; i < count; ++i)
        AddPlayer(m_random.Range(0, countries - 1), m_random.Range(0, 31), 5);
}
