#include "CPositionComboBox.h"

#include "editor/localisation/CLocalisationTable.h"
#include "editor/model/CPlayer.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPositionIcon.h"

#include <QIcon>
#include <QPixmap>

CPositionComboBox::CPositionComboBox(CFrameHost& host, bool offerNone, QWidget* parent)
    : QComboBox(parent) {
    if (offerNone) {
        addItem(QString(), kNone);
    }
    CPlayer probe;
    for (int code = 0; code < kPitchPositions; ++code) {
        const QString name =
            host.Text(std::string(CLocalisationTable::PositionKey(code)).c_str());
        if (name.isEmpty()) {
            break;
        }
        probe.SetValue(EPlayerColumn::PreferredPosition1, code);
        addItem(QIcon(QPixmap::fromImage(CPositionIcon::Of(probe.PositionGroup(), false))), name,
                code);
    }
}

void CPositionComboBox::SetCode(int code) {
    m_unlisted = code;
    setCurrentIndex(findData(code));
}

int CPositionComboBox::Code() const {
    return currentIndex() < 0 ? m_unlisted : currentData().toInt();
}
