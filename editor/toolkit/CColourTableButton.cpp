#include "CColourTableButton.h"

#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QPixmap>

#include <algorithm>

CColourTableButton::CColourTableButton(QList<CColourSwatchGrid::SSwatch> swatches,
                                       CColourTableDialog::STexts texts, QWidget* parent)
    : QPushButton(parent), m_swatches(std::move(swatches)), m_texts(std::move(texts)) {
    setStyleSheet(QStringLiteral("text-align: left; padding-left: 4px;"));
    connect(this, &QPushButton::clicked, this, &CColourTableButton::Choose);
}

void CColourTableButton::SetValue(int id) {
    m_value = id;
    const auto found = std::find_if(m_swatches.begin(), m_swatches.end(),
                                    [id](const auto& swatch) { return swatch.id == id; });
    if (found == m_swatches.end()) {
        // An id the table lacks shows as no colour rather than a near one.
        setIcon(QIcon());
        setText(QStringLiteral("%1: ?").arg(id));
        return;
    }
    QPixmap swatch(14, 14);
    swatch.fill(found->colour);
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 13, 13);
    painter.end();
    setIcon(QIcon(swatch));
    setText(CColourSwatchGrid::Description(*found));
}

bool CColourTableButton::eventFilter(QObject* watched, QEvent* event) {
    // Installed last, so it sees the focus leaving for the grid before an item view does:
    // the view would otherwise close this editor, and the grid with it, mid-choice.
    if (watched == this && event->type() == QEvent::FocusOut) {
        return true;
    }
    return QPushButton::eventFilter(watched, event);
}

void CColourTableButton::Choose() {
    QPointer<CColourTableButton> self(this);
    installEventFilter(this);
    auto* dialog = new CColourTableDialog(m_swatches, m_value, m_texts, this);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!self) {
        return;
    }
    removeEventFilter(this);
    const std::optional<int> chosen = accepted ? dialog->ChosenId() : std::nullopt;
    delete dialog;
    if (chosen) {
        SetValue(*chosen);
        emit Picked(*chosen);
    }
}
