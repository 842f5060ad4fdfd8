#pragma once

#include "editor/document/CDocumentCommand.h"
#include "editor/model/CBulkChange.h"

// A bulk edit of many players as one step of the document's history: doing and undoing writes
// the planned values; the windows of the players and their teams hear of it.
class CBulkEditCommand : public CDocumentCommand {
public:
    CBulkEditCommand(CDatabaseDocument& document, SBulkPlan plan, const QString& text);

    const SBulkPlan& Plan() const { return m_plan; }

protected:
    SChange Apply(CGameDatabase& database, bool undo) override;

private:
    SBulkPlan m_plan;
};
