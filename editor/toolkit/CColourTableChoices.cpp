#include "CColourTableChoices.h"

#include "editor/toolkit/CColourTableButton.h"

CColourTableChoices::CColourTableChoices(QList<SColour> colours, CColourTableDialog::STexts texts)
    : CPropertyColours(colours), m_texts(std::move(texts)) {
    for (const SColour& colour : colours) {
        m_swatches.append({colour.value, colour.colour});
    }
}

QWidget* CColourTableChoices::CreateEditor(QWidget* parent) const {
    return new CColourTableButton(m_swatches, m_texts, parent);
}

void CColourTableChoices::SetEditorValue(QWidget* editor, int value) const {
    static_cast<CColourTableButton*>(editor)->SetValue(value);
}

int CColourTableChoices::EditorValue(QWidget* editor) const {
    return static_cast<CColourTableButton*>(editor)->Value();
}

void CColourTableChoices::OnEditorPicked(QWidget* editor,
                                         const std::function<void()>& picked) const {
    QObject::connect(static_cast<CColourTableButton*>(editor), &CColourTableButton::Picked, editor,
                     [picked](int) { picked(); });
}
