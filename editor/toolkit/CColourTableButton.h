#pragma once

#include "editor/toolkit/CColourTableDialog.h"

#include <QPushButton>

// The in-place editor of a colour item bound to a colour table: it shows the chosen swatch
// and opens the table's swatch grid when pressed.
class CColourTableButton : public QPushButton {
    Q_OBJECT
public:
    CColourTableButton(QList<CColourSwatchGrid::SSwatch> swatches, CColourTableDialog::STexts texts,
                       QWidget* parent = nullptr);

    int Value() const { return m_value; }
    void SetValue(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The user chose a swatch in the grid.
    void Picked(int id);

private:
    void Choose();

    QList<CColourSwatchGrid::SSwatch> m_swatches;
    CColourTableDialog::STexts m_texts;
    int m_value = 0;
};
