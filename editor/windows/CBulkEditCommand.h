#pragma once

#include "editor/model/CBulkChange.h"

#include <QUndoCommand>

class CFrameHost;

// A bulk edit of many players as one step of the main window's history. Doing and undoing
// writes the planned values and refreshes the open windows of the players and their teams.
class CBulkEditCommand : public QUndoCommand {
public:
    CBulkEditCommand(CFrameHost& host, SBulkPlan plan, const QString& text);

    void redo() override;
    void undo() override;

    const SBulkPlan& Plan() const { return m_plan; }

private:
    void Write(bool undo);

    CFrameHost& m_host;
    SBulkPlan m_plan;
};
