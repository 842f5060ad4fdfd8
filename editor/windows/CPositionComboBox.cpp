#include "CPositionComboBox.h"

#include "editor/localisation/CLocalisationTable.h"
#include "editor/model/CPlayer.h"
#include "editor/windows/CPositionIcon.h"
#include "editor/windows/CFrameHost.h"

#include <QIcon>
#include <QPixmap>

CPositionComboBox::CPositionComboBox(CFrameHost& host, QWidget* parent) : QComboBox(parent) {
    CPlayer probe;
    for (int code = 0; code < kPitchPositions; ++code) {
        const QString name =
            host.Text(std::string(CLocalisationTable::PositionKey(code)).c_str());
        if (name.isEmpty()) {
            break;
        }
        probe.SetValue(EPlayerColumn::PreferredPosition1, code);
        addItem(QIcon(QPixmap::fromImage(CPositionIcon::Of(probe.PositionGroup(), false))), name);
    }
}

void CPositionComboBox::SetCode(int code) {
    setCurrentIndex(code >= 0 && code < count() ? code : -1);
}
