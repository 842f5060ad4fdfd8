#pragma once

#include "editor/document/CDocumentCommand.h"
#include "editor/model/CDatabaseCopy.h"

#include <cstdint>
#include <memory>
#include <optional>

// A team copied from another game database (with its kits, missing stadiums and optionally its
// squad) as one step: the first do copies, undo and redo put back the records the copy touched
// as they were before and after it.
class CCopyTeamCommand : public CDocumentCommand {
public:
    CCopyTeamCommand(CDatabaseDocument& document, const QString& text,
                     std::shared_ptr<const CGameDatabase> from, int32_t teamId,
                     std::optional<int32_t> leagueId, bool withPlayers);

    // What the first do did: ok false with the reason when nothing was copied. Shared, as the
    // history deletes a step that copied nothing as soon as it is pushed.
    std::shared_ptr<const CDatabaseCopy::SResult> Result() const { return m_result; }

protected:
    SChange Apply(CGameDatabase& database, bool undo) override;

private:
    SChange Touched() const;

    std::shared_ptr<const CGameDatabase> m_from;
    int32_t m_teamId;
    std::optional<int32_t> m_leagueId;
    bool m_withPlayers;
    bool m_copied = false;
    std::shared_ptr<CDatabaseCopy::SResult> m_result;
};
