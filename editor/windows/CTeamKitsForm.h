#pragma once

#include "editor/model/CTeamKit.h"
#include "editor/toolkit/CColourFormView.h"

#include <cstdint>
#include <optional>
#include <vector>

class CFrameHost;
class CPictureView;
class CPropertyList;
class QComboBox;
class QLabel;
class QPushButton;

// The kits page of a team window: the kit type, its picture and the property list of the
// kit's items. Switching to another type with changed items asks whether to apply them.
class CTeamKitsForm : public CColourFormView {
    Q_OBJECT
public:
    static constexpr double kPictureScale = 0.75;
    // The localisation key naming the kit of that slot ("Caption_Home", ...).
    static const char* KitTypeKey(int slot);

    CTeamKitsForm(int32_t teamId, CFrameHost& host, QWidget* parent = nullptr);

    // Loads the kit of the selected type again, dropping unapplied edits.
    void Fill();
    // Writes the changed items into the kit of the shown type; false when nothing could be
    // written (no such kit, an item refused, the team gone).
    bool Apply();
    // The items differ from the stored kit.
    bool HasUnappliedEdits() const;

    int ShownType() const { return m_shownType; }
    QComboBox* KitTypeBox() const { return m_kitType; }
    CPropertyList* Properties() const { return m_properties; }
    CPictureView* Picture() const { return m_picture; }
    QLabel* NoKitLabel() const { return m_noKit; }
    QPushButton* ImportPictureButton() const { return m_importPicture; }
    QPushButton* ExportPictureButton() const { return m_exportPicture; }
    // The property row of an item key, -1 when there is none.
    int RowOf(const char* key) const;

    // Asks the shown kit's picture again (the archive changed).
    void DrawPicture();

signals:
    // Apply (or a Yes to the question on switching types) wrote into the team.
    void Applied();
    // A picture was written into the game's archives for the kit of the shown type.
    void PictureImported();

private:
    struct SItem;
    static const std::vector<SItem>& Items();

    void BuildItems();
    void OnTypeChosen(int type);
    void LoadType(int type);
    // The stored kit with the changed items written in; nothing when an item is refused
    // (which the user is told) or the kit is gone.
    std::optional<CTeamKit> EditedKit(bool tellRefusals) const;
    const CTeamKit* StoredKit() const;

    int32_t m_teamId;
    CFrameHost& m_host;
    int m_shownType = -1;
    int m_pictureType = -1;
    QComboBox* m_kitType = nullptr;
    CPictureView* m_picture = nullptr;
    QPushButton* m_importPicture = nullptr;
    QPushButton* m_exportPicture = nullptr;
    CPropertyList* m_properties = nullptr;
    QLabel* m_noKit = nullptr;
    std::vector<int> m_rows;
};
