#pragma once

#include "editor/toolkit/CColourTableDialog.h"
#include "editor/toolkit/CPropertyColours.h"

// The colour items of a property list bound to a fixed colour table: the editor opens the
// table's swatch grid, so only colours of the table can be chosen.
class CColourTableChoices : public CPropertyColours {
public:
    CColourTableChoices(QList<SColour> colours, CColourTableDialog::STexts texts);

    QWidget* CreateEditor(QWidget* parent) const override;
    void SetEditorValue(QWidget* editor, int value) const override;
    int EditorValue(QWidget* editor) const override;
    void OnEditorPicked(QWidget* editor, const std::function<void()>& picked) const override;

private:
    QList<CColourSwatchGrid::SSwatch> m_swatches;
    CColourTableDialog::STexts m_texts;
};
