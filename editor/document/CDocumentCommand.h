#pragma once

#include "editor/document/SChange.h"

#include <QUndoCommand>

class CDatabaseDocument;
class CGameDatabase;

// One step of the document's history. A kind writes the database in Apply and says what it
// touched; this class marks the writes as the history's own and tells the views.
class CDocumentCommand : public QUndoCommand {
public:
    CDocumentCommand(CDatabaseDocument& document, const QString& text);

    void redo() final;
    void undo() final;

protected:
    // Does (undo false) or takes back (undo true) the step; returns what it touched, or nothing
    // (what == 0) when nothing changed: a first do that changes nothing drops the step.
    virtual SChange Apply(CGameDatabase& database, bool undo) = 0;
    CDatabaseDocument& Document() { return m_document; }

private:
    void Run(bool undo);

    CDatabaseDocument& m_document;
    bool m_done = false;
};
