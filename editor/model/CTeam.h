#pragma once

#include "editor/model/CTeamKit.h"
#include "editor/model/CTeamPlayerLink.h"
#include "editor/model/SColumnInfo.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The packed columns of table teams, by position.
enum class ETeamColumn : int {
    AdboardId,
    Attack,
    BallType,
    EliteTeam,
    Column4,
    FormationId,
    GenericBanner,
    Column7,
    OffsideTrap,
    OpponentTeamId,
    PitchRepair,
    SpeechCountryId,
    StadiumId,
    Streamers,
    Column14,
    Column15,
    Column16,
    Prestige,
    TrainingStadiumId,
    WetKit,
    WithoutBall
};

// The set-piece takers of table specialteamplayers, by column.
enum class ETaker : int { Captain, FreeKick, LeftCorner, Penalty, RightCorner };

// One row of table teams together with what other tables attach to it: in-game names,
// set-piece takers, rivals, leagues, kits and the squad links. Copies are deep and exact.
class CTeam {
public:
    static constexpr int kColumnCount = 21;
    static constexpr int kTakerCount = 5;
    static std::span<const SColumnInfo, kColumnCount> Columns();
    static int ColumnOfName(std::string_view name);
    static std::span<const char* const, kTakerCount> TakerNames();

    explicit CTeam(int32_t id = 0) : m_id(id) {}

    int32_t Id() const { return m_id; }
    void SetId(int32_t id);

    // The three strings of the teams record, carried through unchanged (index 0-2).
    const std::string& RecordName(int index) const { return m_recordNames[index]; }
    void SetRecordName(int index, std::string name) { m_recordNames[index] = std::move(name); }

    const std::string& Name() const { return m_name; }
    const std::string& ShortName() const { return m_shortName; }
    const std::string& MediumName() const { return m_mediumName; }
    void SetName(std::string name) { m_name = std::move(name); }
    void SetShortName(std::string name) { m_shortName = std::move(name); }
    void SetMediumName(std::string name) { m_mediumName = std::move(name); }

    int32_t Value(ETeamColumn column) const { return m_columns[static_cast<int>(column)]; }
    void SetValue(ETeamColumn column, int32_t value) {
        m_columns[static_cast<int>(column)] = value;
    }
    int32_t ColumnValue(int column) const { return m_columns[column]; }
    void SetColumnValue(int column, int32_t value);

    int32_t Taker(ETaker taker) const { return m_takers[static_cast<int>(taker)]; }
    void SetTaker(ETaker taker, int32_t playerId) { m_takers[static_cast<int>(taker)] = playerId; }

    const std::vector<int32_t>& Rivals() const { return m_rivals; }
    void AddRival(int32_t teamId) { m_rivals.push_back(teamId); }
    void SetRivals(std::vector<int32_t> rivals) { m_rivals = std::move(rivals); }

    const std::vector<int32_t>& Leagues() const { return m_leagues; }
    bool AddLeague(int32_t leagueId);
    void RemoveLeague(int32_t leagueId) { std::erase(m_leagues, leagueId); }

    // Kit slots 0-10; false for any other type.
    bool SetKit(int32_t kitType, const CTeamKit& kit);
    void ClearKit(int32_t kitType);
    const CTeamKit* FindKit(int32_t kitType) const;
    CTeamKit* FindKit(int32_t kitType);

    const std::vector<CTeamPlayerLink>& Links() const { return m_links; }
    const CTeamPlayerLink* FindLink(int32_t playerId) const;
    CTeamPlayerLink* FindLink(int32_t playerId);
    // Updates the link of the same player or appends one; either way it belongs to this team.
    // True when appended.
    bool AddOrUpdateLink(const CTeamPlayerLink& link);
    // Removes the player's link; the removed link or nothing.
    std::optional<CTeamPlayerLink> RemoveLink(int32_t playerId);
    // The whole squad at once (undoing a squad change).
    void SetLinks(std::vector<CTeamPlayerLink> links) { m_links = std::move(links); }

    bool operator==(const CTeam&) const = default;

private:
    int32_t m_id = 0;
    std::array<std::string, 3> m_recordNames;
    std::string m_name;
    std::string m_mediumName;
    std::string m_shortName;
    std::array<int32_t, kColumnCount> m_columns{};
    std::array<int32_t, kTakerCount> m_takers{};
    std::vector<int32_t> m_rivals;
    std::vector<int32_t> m_leagues;
    std::array<std::optional<CTeamKit>, CTeamKit::kSlotCount> m_kits;
    std::vector<CTeamPlayerLink> m_links;
};
