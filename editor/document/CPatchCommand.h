#pragma once

#include "editor/document/CDocumentCommand.h"
#include "editor/model/CDatabaseSlice.h"
#include "editor/model/CPatchApply.h"

#include <memory>

class CPatch;

// A patch applied as one step of the document's history. The first do applies it (the database
// check included); undo puts back every record it touched as it was, so records it added go
// again; redo puts them back as the patch left them.
class CPatchCommand : public CDocumentCommand {
public:
    // `result` receives what the first do found, for the caller to read after the push: a
    // refused patch changes nothing and leaves no step.
    CPatchCommand(CDatabaseDocument& document, std::shared_ptr<const CPatch> patch,
                  CPatchApply::SOptions options, std::shared_ptr<CPatchApply::SResult> result,
                  const QString& text);

protected:
    SChange Apply(CGameDatabase& database, bool undo) override;

private:
    SChange Touched(const CGameDatabase& database) const;

    std::shared_ptr<const CPatch> m_patch;
    CPatchApply::SOptions m_options;
    std::shared_ptr<CPatchApply::SResult> m_result;
    CDatabaseSlice m_before;
    CDatabaseSlice m_after;
};
