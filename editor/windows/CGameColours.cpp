#include "CGameColours.h"

#include "editor/model/CColourTable.h"
#include "editor/windows/CFrameHost.h"

QColor CGameColours::ToColor(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QColor CGameColours::ColourOfId(const CColourTable& table, int32_t id) {
    if (id < 1 || id > table.Count()) {
        return {};
    }
    return ToColor(table.ColourOfIndex(id - 1));
}

std::shared_ptr<CColourTableChoices> CGameColours::Choices(const CColourTable& table,
                                                           CFrameHost& host) {
    QList<CPropertyColours::SColour> colours;
    for (int index = 0; index < table.Count(); ++index) {
        const int id = index + 1;
        const QColor colour = ToColor(table.ColourOfIndex(index));
        colours.append({id, colour, CColourSwatchGrid::Description({id, colour})});
    }
    return std::make_shared<CColourTableChoices>(
        colours, CColourTableDialog::STexts{host.Text("Caption_ChooseColour"),
                                            host.Text("Caption_OK"), host.Text("Caption_Cancel")});
}
