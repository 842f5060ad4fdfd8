#include "CSquadEdits.h"

#include "editor/document/CDatabaseDocument.h"
#include "editor/document/CSquadCommand.h"
#include "editor/model/CGameDatabase.h"
#include "editor/windows/CFrameHost.h"

#include <QString>

#include <algorithm>

namespace {

// The players of `ids` the team could take, in order, without repeats.
std::vector<int32_t> Newcomers(const CGameDatabase& db, const std::vector<int32_t>& ids,
                               int32_t teamId) {
    const CTeam* team = db.FindTeam(teamId);
    std::vector<int32_t> newcomers;
    for (int32_t id : ids) {
        if (team && db.FindPlayer(id) && !team->FindLink(id) &&
            std::find(newcomers.begin(), newcomers.end(), id) == newcomers.end()) {
            newcomers.push_back(id);
        }
    }
    return newcomers;
}

} // namespace

QString CSquadEdits::TeamName(int32_t teamId) const {
    const CTeam* team = m_host.FindTeam(teamId);
    return team ? QString::fromStdString(team->Name()) : m_host.Text("Caption_NoTeam");
}

QString CSquadEdits::PlayersText(const char* one, const char* many,
                                 const std::vector<int32_t>& ids, const QString& team) const {
    const CGameDatabase* db = m_host.Database();
    QString text = ids.size() == 1 && db
                       ? m_host.Text(one).arg(
                             QString::fromStdString(db->PlayerDisplayName(ids.front())))
                       : m_host.Text(many).arg(static_cast<qulonglong>(ids.size()));
    // Deleting names no team.
    return team.isNull() ? text : text.arg(team);
}

std::vector<int32_t> CSquadEdits::Drop(const std::vector<int32_t>& playerIds, int32_t fromTeamId,
                                       int32_t toTeamId, bool copy) {
    CGameDatabase* db = m_host.Database();
    if (!db) {
        return {};
    }
    const std::vector<int32_t> newcomers = Newcomers(*db, playerIds, toTeamId);
    if (newcomers.empty()) {
        return {};
    }
    std::vector<int32_t> taken;
    const QString text =
        copy ? PlayersText("Caption_StepCopyPlayer", "Caption_StepCopyPlayers", newcomers,
                           TeamName(toTeamId))
             : PlayersText("Caption_StepMovePlayer", "Caption_StepMovePlayers", newcomers,
                           TeamName(toTeamId));
    m_host.Document().Push(new CSquadCommand(
        m_host.Document(), text, {fromTeamId, toTeamId}, newcomers,
        [&](CGameDatabase& database) {
            taken = database.TransferPlayers(newcomers, fromTeamId, toTeamId, copy);
            return std::vector<int32_t>();
        }));
    return taken;
}

bool CSquadEdits::Move(int32_t playerId, int32_t fromTeamId, int32_t toTeamId) {
    bool took = false;
    if (m_host.Database()) {
        m_host.Document().Push(new CSquadCommand(
            m_host.Document(),
            PlayersText("Caption_StepMovePlayer", "Caption_StepMovePlayers", {playerId},
                        TeamName(toTeamId)),
            {fromTeamId, toTeamId}, {playerId}, [&](CGameDatabase& database) {
                took = database.MovePlayer(playerId, fromTeamId, toTeamId);
                return std::vector<int32_t>();
            }));
    }
    return took;
}

bool CSquadEdits::Assign(int32_t playerId, int32_t toTeamId) {
    bool took = false;
    if (m_host.Database()) {
        m_host.Document().Push(new CSquadCommand(
            m_host.Document(),
            PlayersText("Caption_StepAssignPlayer", "Caption_StepAssignPlayers", {playerId},
                        TeamName(toTeamId)),
            {toTeamId}, {playerId}, [&](CGameDatabase& database) {
                took = !database.FindTeamPlayerLink(playerId, toTeamId) &&
                       database.AddPlayerToTeam(playerId, toTeamId, -1, -1);
                return std::vector<int32_t>();
            }));
    }
    return took;
}

bool CSquadEdits::SetJerseyNumber(int32_t playerId, int32_t teamId, int32_t number) {
    const CGameDatabase* db = m_host.Database();
    if (!db) {
        return false;
    }
    bool done = false;
    const QString text = m_host.Text("Caption_StepJerseyNumber")
                             .arg(QString::fromStdString(db->PlayerDisplayName(playerId)))
                             .arg(number);
    m_host.Document().Push(new CSquadCommand(m_host.Document(), text, {teamId}, {playerId},
                                             [&](CGameDatabase& database) {
                                                 done = database.AssignJerseyNumber(
                                                     playerId, teamId, number);
                                                 return std::vector<int32_t>();
                                             }));
    return done;
}

void CSquadEdits::Cut(const std::vector<int32_t>& playerIds, int32_t teamId) {
    if (!m_host.Database() || playerIds.empty()) {
        return;
    }
    m_host.Document().SetClipboard({playerIds, true});
    // The players stay in the database: without another team they are listed with the players
    // without a team until pasted or put in a team.
    m_host.Document().Push(new CSquadCommand(
        m_host.Document(),
        PlayersText("Caption_StepCutPlayer", "Caption_StepCutPlayers", playerIds,
                    TeamName(teamId)),
        {teamId}, playerIds, [&](CGameDatabase& database) {
            for (int32_t id : playerIds) {
                database.RemovePlayerFromTeam(id, teamId);
            }
            return std::vector<int32_t>();
        }));
}

void CSquadEdits::Copy(const std::vector<int32_t>& playerIds) {
    if (m_host.Database() && !playerIds.empty()) {
        m_host.Document().SetClipboard({playerIds, false});
    }
}

bool CSquadEdits::CanPaste() const {
    const CGameDatabase* db = m_host.Database();
    const auto& ids = m_host.Document().Clipboard().playerIds;
    // Players deleted since leave nothing to paste.
    return db && std::any_of(ids.begin(), ids.end(),
                             [db](int32_t id) { return db->FindPlayer(id) != nullptr; });
}

std::vector<int32_t> CSquadEdits::Paste(int32_t teamId) {
    CGameDatabase* db = m_host.Database();
    if (!db || !CanPaste()) {
        return {};
    }
    const CDatabaseDocument::SClipboard clipboard = m_host.Document().Clipboard();
    std::vector<int32_t> taken;
    if (clipboard.cut) {
        const std::vector<int32_t> newcomers = Newcomers(*db, clipboard.playerIds, teamId);
        if (newcomers.empty()) {
            return {};
        }
        m_host.Document().Push(new CSquadCommand(
            m_host.Document(),
            PlayersText("Caption_StepPastePlayer", "Caption_StepPastePlayers", newcomers,
                        TeamName(teamId)),
            {teamId}, newcomers, [&](CGameDatabase& database) {
                for (int32_t id : newcomers) {
                    if (database.AddPlayerToTeam(id, teamId, -1, -1)) {
                        taken.push_back(id);
                    }
                }
                return std::vector<int32_t>();
            }));
        // Cut players are moved once; the clipboard is empty afterwards.
        if (!taken.empty()) {
            m_host.Document().SetClipboard({});
        }
        return taken;
    }
    std::vector<int32_t> sources;
    for (int32_t id : clipboard.playerIds) {
        if (db->FindPlayer(id)) {
            sources.push_back(id);
        }
    }
    m_host.Document().Push(new CSquadCommand(
        m_host.Document(),
        PlayersText("Caption_StepPastePlayer", "Caption_StepPastePlayers", sources,
                    TeamName(teamId)),
        {teamId}, {}, [&](CGameDatabase& database) {
            for (int32_t id : sources) {
                database.SetClipboardPlayerId(id);
                if (const int32_t copy = database.CopyPlayer(teamId); copy >= 0) {
                    taken.push_back(copy);
                }
            }
            database.SetClipboardPlayerId(std::nullopt);
            return taken;
        }));
    return taken;
}

int32_t CSquadEdits::NewPlayer(int32_t teamId) {
    if (!m_host.Database()) {
        return -1;
    }
    int32_t id = -1;
    std::vector<int32_t> teams;
    if (teamId != -1) {
        teams.push_back(teamId);
    }
    m_host.Document().Push(new CSquadCommand(
        m_host.Document(), m_host.Text("Caption_StepNewPlayer"), teams, {},
        [&](CGameDatabase& database) {
            id = database.NewPlayer(teamId);
            return id > 0 ? std::vector<int32_t>{id} : std::vector<int32_t>();
        }));
    return id;
}

bool CSquadEdits::Delete(const std::vector<int32_t>& playerIds) {
    const CGameDatabase* db = m_host.Database();
    if (!db || !db->CanDeletePlayers(playerIds)) {
        return false;
    }
    bool deleted = false;
    m_host.Document().Push(new CSquadCommand(
        m_host.Document(),
        PlayersText("Caption_StepDeletePlayer", "Caption_StepDeletePlayers", playerIds,
                    QString()),
        {}, playerIds, [&](CGameDatabase& database) {
            deleted = database.DeletePlayers(playerIds);
            return std::vector<int32_t>();
        }));
    return deleted;
}
