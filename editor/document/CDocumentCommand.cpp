#include "CDocumentCommand.h"

#include "editor/document/CDatabaseDocument.h"

CDocumentCommand::CDocumentCommand(CDatabaseDocument& document, const QString& text)
    : m_document(document) {
    setText(text);
}

void CDocumentCommand::redo() {
    Run(false);
}

void CDocumentCommand::undo() {
    Run(true);
}

void CDocumentCommand::Run(bool undo) {
    CGameDatabase* database = m_document.Database();
    if (!database) {
        setObsolete(true);
        return;
    }
    m_document.BeginCommand();
    SChange change = Apply(*database, undo);
    m_document.EndCommand();
    // A first do that changed nothing leaves no step behind.
    if (!m_done && change.what == 0) {
        setObsolete(true);
        return;
    }
    m_done = true;
    if (change.what != 0) {
        m_document.NotifyChanged(std::move(change));
    }
}
