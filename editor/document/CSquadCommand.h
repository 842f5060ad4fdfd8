#pragma once

#include "editor/document/CDocumentCommand.h"
#include "editor/model/CPlayer.h"
#include "editor/model/CSquadStep.h"
#include "editor/model/CTeamPlayerLink.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

// A squad operation as one step: moves, copies, drops of many players, cut and paste, jersey
// numbers, new and deleted players. It keeps the squads of the teams it names and the named
// players' team lists (and the players themselves, when the step makes or deletes them) as they
// were before and after, so undo and redo put back exactly what the step changed: a record
// window's edits in between (other fields, places on the pitch) are kept.
class CSquadCommand : public CDocumentCommand {
public:
    // Changes the database; returns the ids of the players it made (they did not exist before).
    using Operation = std::function<std::vector<int32_t>(CGameDatabase& database)>;

    CSquadCommand(CDatabaseDocument& document, const QString& text, std::vector<int32_t> teams,
                  std::vector<int32_t> players, Operation operation);

    // The players the first do made.
    const std::vector<int32_t>& Created() const { return m_created; }

protected:
    SChange Apply(CGameDatabase& database, bool undo) override;

private:
    struct SState {
        std::map<int32_t, std::vector<CTeamPlayerLink>> squads;
        // Nothing: the player does not exist in this state.
        std::map<int32_t, std::optional<CPlayer>> players;
        bool operator==(const SState&) const = default;
    };

    SState Capture(const CGameDatabase& database) const;
    // Puts `state` into the database; `leaving` (the other state) takes the present record of
    // each player the change removes, so going back brings him back as he was.
    SChange Restore(CGameDatabase& database, const SState& state, SState& leaving, bool undo) const;
    SChange Touched(const CGameDatabase& database, bool records) const;

    std::vector<int32_t> m_teams;
    std::vector<int32_t> m_players;
    Operation m_operation;
    std::vector<int32_t> m_created;
    SState m_before;
    SState m_after;
    std::map<int32_t, CSquadStep> m_squadSteps;
    bool m_captured = false;
};
