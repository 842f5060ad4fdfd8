#pragma once

#include <cstdint>
#include <vector>

class CFrameHost;
class QString;

// The squad operations of the lists and the main window, each one step of the document's
// history named for the user ("Move 3 Players to Kingsham Albion").
class CSquadEdits {
public:
    explicit CSquadEdits(CFrameHost& host) : m_host(host) {}

    // A drop of players from one team (or none) onto another: the ids the target took. Unless
    // copying, those leave the source.
    std::vector<int32_t> Drop(const std::vector<int32_t>& playerIds, int32_t fromTeamId,
                              int32_t toTeamId, bool copy);
    // Move To (leaves `fromTeamId`) and Assign To (stays there too); false when the target
    // cannot take him.
    bool Move(int32_t playerId, int32_t fromTeamId, int32_t toTeamId);
    bool Assign(int32_t playerId, int32_t toTeamId);
    bool SetJerseyNumber(int32_t playerId, int32_t teamId, int32_t number);
    // The players leave the team and wait on the clipboard; a paste moves them.
    void Cut(const std::vector<int32_t>& playerIds, int32_t teamId);
    void Copy(const std::vector<int32_t>& playerIds);
    bool CanPaste() const;
    // Cut players join the team (the same records); copied ones are copied into it. The ids of
    // the players it took.
    std::vector<int32_t> Paste(int32_t teamId);
    // A new player in the team (-1: none); his id, or -1.
    int32_t NewPlayer(int32_t teamId);
    // Players no team refers to; false when one is in a team or unknown.
    bool Delete(const std::vector<int32_t>& playerIds);

private:
    QString TeamName(int32_t teamId) const;
    QString PlayersText(const char* one, const char* many, const std::vector<int32_t>& ids,
                        const QString& team) const;

    CFrameHost& m_host;
};
