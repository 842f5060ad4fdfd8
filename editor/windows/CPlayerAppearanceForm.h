#pragma once

#include "editor/windows/CPlayerPage.h"

class CPictureView;
class CPropertyList;

// The appearance page: face, hair, legs and accessories in a property list, and the face, hair,
// facial hair and specific face pictures, which follow the list as the user edits it.
class CPlayerAppearanceForm : public CPlayerPage {
    Q_OBJECT
public:
    // The pictures' scale in the frames.
    static constexpr double kPictureScale = 0.65;
    static constexpr double kSpecificFaceScale = 2.0;

    explicit CPlayerAppearanceForm(CPlayerFrame& frame);

    const char* TabKey() const override { return "Tab_PlayerAppearance"; }
    QIcon TabIcon() const override;
    void Fill(const CPlayer& player) override;
    static void CopyFields(CPlayer& into, const CPlayer& from);

    CPropertyList* Properties() const { return m_properties; }
    CPictureView* Face() const { return m_face; }
    CPictureView* Hair() const { return m_hair; }
    CPictureView* FacialHair() const { return m_facialHair; }
    CPictureView* SpecificFace() const { return m_specificFace; }

protected:
    bool WriteChanges(CPlayer& player) override;
    void CopyPageFields(CPlayer& into, const CPlayer& from) const override;

private:
    // The value a row stands for: the stored value the row was filled from, or the user's choice.
    int RowValue(int row) const;
    void OnValueEdited(int row);
    void DrawArtsPicture(CPictureView* view, const QString& name);
    void DrawFace();
    void DrawHair();
    void DrawFacialHair();
    void DrawSpecificFace();

    CPropertyList* m_properties;
    CPictureView* m_face;
    CPictureView* m_hair;
    CPictureView* m_facialHair;
    CPictureView* m_specificFace;
    std::vector<int> m_filled;
};
