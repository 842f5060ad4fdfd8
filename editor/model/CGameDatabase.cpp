#include "CGameDatabase.h"

#include "editor/model/CGameDatabaseLoader.h"
#include "editor/model/CGameDatabaseSaver.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace {

template <typename T> T* FindIn(CIdMap<T>& map, int32_t id) {
    return map.Find(id);
}

template <typename T> const T* FindIn(const CIdMap<T>& map, int32_t id) {
    return map.Find(id);
}

std::string DefaultText(const std::string& key) {
    if (key == "Caption_New")
        return "New";
    if (key == "Caption_Player")
        return "Player";
    if (key == "Caption_CopyOf")
        return "Copy of ";
    return key;
}

} // namespace

CGameDatabase::CGameDatabase() = default;
CGameDatabase::~CGameDatabase() = default;

bool CGameDatabase::LoadGameDatabase(const std::string& path, const std::string& textDbPath,
                                     CMessageSink& sink, const ProgressCallback& progress) {
    return CGameDatabaseLoader(*this, sink).Load(path, textDbPath, progress);
}

bool CGameDatabase::SaveGameDatabase(const std::string& path, const std::string& textDbPath,
                                     CMessageSink& sink) {
    return CGameDatabaseSaver(*this, sink).Save(path, textDbPath);
}

void CGameDatabase::TakeContents(CGameDatabase& other) {
    m_data = std::move(other.m_data);
    other.m_data = SContents();
    m_clipboardPlayerId.reset();
    ClearDirty();
}

void CGameDatabase::Clear() {
    m_data = SContents();
    m_clipboardPlayerId.reset();
}

CPlayer* CGameDatabase::FindPlayer(int32_t id) {
    return FindIn(m_data.players, id);
}
const CPlayer* CGameDatabase::FindPlayer(int32_t id) const {
    return FindIn(m_data.players, id);
}
CTeam* CGameDatabase::FindTeam(int32_t id) {
    return FindIn(m_data.teams, id);
}
const CTeam* CGameDatabase::FindTeam(int32_t id) const {
    return FindIn(m_data.teams, id);
}
CLeague* CGameDatabase::FindLeague(int32_t id) {
    return FindIn(m_data.leagues, id);
}
const CLeague* CGameDatabase::FindLeague(int32_t id) const {
    return FindIn(m_data.leagues, id);
}
CStadium* CGameDatabase::FindStadium(int32_t id) {
    return FindIn(m_data.stadiums, id);
}
const CStadium* CGameDatabase::FindStadium(int32_t id) const {
    return FindIn(m_data.stadiums, id);
}
CFormationName* CGameDatabase::FindFormation(int32_t id) {
    return FindIn(m_data.formations, id);
}
const CFormationName* CGameDatabase::FindFormation(int32_t id) const {
    return FindIn(m_data.formations, id);
}

const CTeamPlayerLink* CGameDatabase::FindTeamPlayerLink(int32_t playerId, int32_t teamId) const {
    const CTeam* team = FindTeam(teamId);
    return team ? team->FindLink(playerId) : nullptr;
}

CPlayer& CGameDatabase::InsertPlayer(CPlayer player) {
    m_data.maxPlayerId = std::max(m_data.maxPlayerId, player.Id());
    return m_data.players.InsertOrAssign(player.Id(), std::move(player));
}

CTeam& CGameDatabase::InsertTeam(CTeam team) {
    m_data.maxTeamId = std::max(m_data.maxTeamId, team.Id());
    return m_data.teams.InsertOrAssign(team.Id(), std::move(team));
}

CLeague& CGameDatabase::InsertLeague(CLeague league) {
    m_data.maxLeagueId = std::max(m_data.maxLeagueId, league.id);
    return m_data.leagues.InsertOrAssign(league.id, std::move(league));
}

CStadium& CGameDatabase::InsertStadium(CStadium stadium) {
    return m_data.stadiums.InsertOrAssign(stadium.id, std::move(stadium));
}

CFormationName& CGameDatabase::InsertFormation(CFormationName formation) {
    return m_data.formations.InsertOrAssign(formation.id, std::move(formation));
}

bool CGameDatabase::ErasePlayer(int32_t id) {
    if (!m_data.players.Erase(id))
        return false;
    if (m_clipboardPlayerId == id)
        m_clipboardPlayerId.reset();
    MarkDirty();
    return true;
}

bool CGameDatabase::EraseTeam(int32_t id) {
    return m_data.teams.Erase(id);
}

void CGameDatabase::SetLeagueTeams(int32_t leagueId, const std::vector<int32_t>& teams) {
    std::erase_if(m_data.leagueTeamLinks, [&](const CLeagueTeamLink& link) {
        if (link.leagueId != leagueId)
            return false;
        if (CTeam* team = FindTeam(link.teamId))
            team->RemoveLeague(leagueId);
        return true;
    });
    for (int32_t teamId : teams)
        AddLeagueTeamLink({leagueId, teamId});
}

void CGameDatabase::AddLeagueTeamLink(const CLeagueTeamLink& link) {
    m_data.leagueTeamLinks.push_back(link);
    if (CTeam* team = FindTeam(link.teamId))
        team->AddLeague(link.leagueId);
}

std::vector<int32_t> CGameDatabase::TeamsOfLeague(int32_t leagueId) const {
    std::vector<int32_t> teams;
    for (const CLeagueTeamLink& link : m_data.leagueTeamLinks)
        if (link.leagueId == leagueId)
            teams.push_back(link.teamId);
    return teams;
}

std::vector<int32_t> CGameDatabase::PlayersOfTeam(int32_t teamId) const {
    std::vector<int32_t> players;
    if (const CTeam* team = FindTeam(teamId))
        for (const CTeamPlayerLink& link : team->Links())
            players.push_back(link.playerId);
    return players;
}

std::string CGameDatabase::PlayerDisplayName(int32_t playerId) const {
    const CPlayer* player = FindPlayer(playerId);
    return player ? player->DisplayName() : std::string();
}

int32_t CGameDatabase::NextPlayerId() {
    if (m_data.maxPlayerId < kFirstNewPlayerId)
        m_data.maxPlayerId = kFirstNewPlayerId;
    if (m_data.maxPlayerId == std::numeric_limits<int32_t>::max())
        return -1;
    return ++m_data.maxPlayerId;
}

int32_t CGameDatabase::NewPlayer(int32_t teamId) {
    const int32_t id = NextPlayerId();
    if (id < 0)
        return -1;
    using C = EPlayerColumn;
    CPlayer player(id);
    player.SetFirstName(Text("Caption_New"));
    player.SetLastName(Text("Caption_Player") + " " + std::to_string(id));
    for (C c : {C::Acceleration, C::Aggression, C::Anticipation, C::Awareness, C::Balance,
                C::BallControl, C::Crossing, C::Determination, C::Dribbling})
        player.SetValue(c, 50);
    for (C c :
         {C::Handling, C::Heading, C::AccessoryColour1, C::AccessoryColour2, C::AccessoryColour3,
          C::AccessoryColour4, C::AccessoryColour5, C::AgeRate1, C::AgeRate2, C::FaceType,
          C::FacialHairStyle, C::HairColour, C::HairType, C::LegType})
        player.SetValue(c, 1);
    for (C c : {C::Accessory1, C::Accessory2, C::Accessory3, C::Accessory4, C::Accessory5})
        player.SetValue(c, 15);
    player.SetValue(C::ShoeColour, 2);
    player.SetValue(C::Height, 180);
    player.SetValue(C::Weight, 80);
    player.SetValue(C::PreferredPosition1, 0);
    player.SetValue(C::PreferredPosition2, -1);
    player.SetValue(C::PreferredPosition3, -1);
    player.SetValue(C::BirthDayNumber, 145080);
    InsertPlayer(std::move(player));
    MarkDirty();
    if (teamId != -1)
        AddPlayerToTeam(id, teamId, -1, -1);
    return id;
}

int32_t CGameDatabase::CopyPlayer(int32_t teamId) {
    if (!m_clipboardPlayerId)
        return -1;
    const CPlayer* source = FindPlayer(*m_clipboardPlayerId);
    if (!source)
        return -1;
    CPlayer copy = *source;
    const int32_t id = NextPlayerId();
    if (id < 0)
        return -1;
    copy.SetId(id);
    // The copy belongs only to the team it is pasted into.
    copy.SetTeams({});
    if (!copy.FirstName().empty())
        copy.SetFirstName(Text("Caption_CopyOf") + copy.FirstName());
    else
        copy.SetCommonName(Text("Caption_CopyOf") + copy.CommonName());
    InsertPlayer(std::move(copy));
    MarkDirty();
    AddPlayerToTeam(id, teamId, -1, -1);
    return id;
}

int32_t CGameDatabase::ChooseBenchPosition(int32_t teamId) const {
    const CTeam* team = FindTeam(teamId);
    if (!team)
        return -1;
    int counts[3] = {0, 0, 0};
    for (const CTeamPlayerLink& link : team->Links())
        if (link.formationPosition >= 32 && link.formationPosition <= 34)
            ++counts[link.formationPosition - 32];
    if (counts[0] < kSubstituteLimit)
        return 32;
    if (counts[1] < kReserveLimit)
        return 33;
    if (counts[2] < kReserveLimit)
        return 34;
    return -1;
}

int32_t CGameDatabase::LowestFreeJerseyNumber(int32_t teamId) const {
    const CTeam* team = FindTeam(teamId);
    if (!team)
        return 0;
    bool taken[100] = {};
    for (const CTeamPlayerLink& link : team->Links())
        if (link.jerseyNumber >= 1 && link.jerseyNumber <= 99)
            taken[link.jerseyNumber] = true;
    for (int n = 1; n <= 99; ++n)
        if (!taken[n])
            return n;
    return 0;
}

bool CGameDatabase::AddPlayerToTeam(int32_t playerId, int32_t teamId, int32_t position,
                                    int32_t jersey) {
    if (position == -1)
        position = ChooseBenchPosition(teamId);
    if (position == -1)
        return false;
    if (jersey == -1)
        jersey = LowestFreeJerseyNumber(teamId);
    CTeam* team = FindTeam(teamId);
    if (!team)
        return false;
    if (CPlayer* player = FindPlayer(playerId))
        player->AddTeam(teamId);
    team->AddOrUpdateLink(CTeamPlayerLink{jersey, playerId, position, teamId});
    MarkDirty();
    return true;
}

void CGameDatabase::RemovePlayerFromTeam(int32_t playerId, int32_t teamId) {
    std::optional<CTeamPlayerLink> removed;
    if (CTeam* team = FindTeam(teamId))
        removed = team->RemoveLink(playerId);
    CPlayer* player = FindPlayer(playerId);
    const bool wasListed = player && player->IsInTeam(teamId);
    if (player)
        player->RemoveTeam(teamId);
    if (removed)
        FillFormationPosition(removed->formationPosition, teamId);
    if (removed || wasListed) {
        MarkDirty();
    }
}

std::unordered_set<int32_t> CGameDatabase::PlayersInTeams() const {
    std::unordered_set<int32_t> ids;
    for (const auto& [id, player] : m_data.players)
        if (!player.Teams().empty())
            ids.insert(id);
    for (const auto& [id, team] : m_data.teams) {
        for (const CTeamPlayerLink& link : team.Links())
            ids.insert(link.playerId);
        for (int taker = 0; taker < CTeam::kTakerCount; ++taker)
            ids.insert(team.Taker(static_cast<ETaker>(taker)));
    }
    return ids;
}

bool CGameDatabase::CanDeletePlayers(std::span<const int32_t> playerIds) const {
    if (playerIds.empty())
        return false;
    const std::unordered_set<int32_t> inTeams = PlayersInTeams();
    return std::all_of(playerIds.begin(), playerIds.end(), [&](int32_t id) {
        return FindPlayer(id) && !inTeams.contains(id);
    });
}

bool CGameDatabase::DeletePlayers(std::span<const int32_t> playerIds) {
    // A player a team still lists, links or names as a taker would leave a reference to nobody
    // behind: all or none go.
    if (!CanDeletePlayers(playerIds))
        return false;
    const std::unordered_set<int32_t> doomed(playerIds.begin(), playerIds.end());
    m_data.players.EraseIf([&](int32_t id) { return doomed.contains(id); });
    if (m_clipboardPlayerId && doomed.contains(*m_clipboardPlayerId))
        m_clipboardPlayerId.reset();
    MarkDirty();
    return true;
}

bool CGameDatabase::FillFormationPosition(int32_t position, int32_t teamId) {
    CTeam* team = FindTeam(teamId);
    if (!team)
        return false;
    auto fill = [&](auto matches) {
        for (const CTeamPlayerLink& link : team->Links()) {
            if (link.formationPosition < 32)
                continue;
            const CPlayer* player = FindPlayer(link.playerId);
            if (!matches(player))
                continue;
            team->FindLink(link.playerId)->formationPosition = position;
            MarkDirty();
            return true;
        }
        return false;
    };
    using C = EPlayerColumn;
    for (C preferred : {C::PreferredPosition1, C::PreferredPosition2, C::PreferredPosition3}) {
        if (fill([&](const CPlayer* p) { return p && p->Value(preferred) == position; }))
            return true;
    }
    if (position >= 0 && position < 32) {
        const int low = position <= 8 ? 0 : position <= 25 ? 9 : 26;
        const int high = position <= 8 ? 8 : position <= 25 ? 25 : 31;
        auto inGroup = [&](const CPlayer* p) {
            if (!p)
                return false;
            for (C c : {C::PreferredPosition1, C::PreferredPosition2, C::PreferredPosition3})
                if (p->Value(c) >= low && p->Value(c) <= high)
                    return true;
            return false;
        };
        if (fill(inGroup))
            return true;
    }
    return fill([](const CPlayer*) { return true; });
}

bool CGameDatabase::AssignJerseyNumber(int32_t playerId, int32_t teamId, int32_t number) {
    CTeam* team = FindTeam(teamId);
    CTeamPlayerLink* link = team ? team->FindLink(playerId) : nullptr;
    if (!link)
        return false;
    for (const CTeamPlayerLink& other : team->Links()) {
        if (other.playerId != playerId && other.jerseyNumber == number) {
            const int32_t free = LowestFreeJerseyNumber(teamId);
            team->FindLink(other.playerId)->jerseyNumber = free;
            break;
        }
    }
    link->jerseyNumber = number;
    MarkDirty();
    return true;
}

bool CGameDatabase::MovePlayer(int32_t playerId, int32_t fromTeamId, int32_t toTeamId) {
    // Moving into the same team would add and then drop the only link; into a team he is in
    // already, it would send him to that team's bench.
    if (fromTeamId == toTeamId || FindTeamPlayerLink(playerId, toTeamId))
        return false;
    if (!AddPlayerToTeam(playerId, toTeamId, -1, -1))
        return false;
    RemovePlayerFromTeam(playerId, fromTeamId);
    return true;
}

std::vector<int32_t> CGameDatabase::TransferPlayers(const std::vector<int32_t>& playerIds,
                                                   int32_t fromTeamId, int32_t toTeamId,
                                                   bool copy) {
    std::vector<int32_t> taken;
    for (int32_t playerId : playerIds) {
        const CTeam* target = FindTeam(toTeamId);
        // Adding again would move him to the bench under a new number.
        if (!target || target->FindLink(playerId) ||
            std::find(taken.begin(), taken.end(), playerId) != taken.end())
            continue;
        if (AddPlayerToTeam(playerId, toTeamId, -1, -1))
            taken.push_back(playerId);
    }
    if (!copy)
        for (int32_t playerId : taken)
            RemovePlayerFromTeam(playerId, fromTeamId);
    return taken;
}

void CGameDatabase::MarkDirty() {
    if (m_dirty)
        return;
    m_dirty = true;
    if (m_dirtyCallback)
        m_dirtyCallback(true);
}

void CGameDatabase::ClearDirty() {
    if (!m_dirty)
        return;
    m_dirty = false;
    if (m_dirtyCallback)
        m_dirtyCallback(false);
}

std::string CGameDatabase::Text(const std::string& key) const {
    if (m_textLookup) {
        std::string text = m_textLookup(key);
        if (!text.empty() && text != key)
            return text;
    }
    return DefaultText(key);
}
