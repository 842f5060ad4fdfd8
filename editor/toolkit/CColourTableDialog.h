#pragma once

#include "editor/toolkit/CColourSwatchGrid.h"

#include <QDialog>

#include <optional>

class QLabel;

// Chooses one colour of a fixed table: the swatch grid, a line describing the current swatch,
// OK and Cancel. OK needs a chosen swatch.
class CColourTableDialog : public QDialog {
    Q_OBJECT
public:
    struct STexts {
        QString title;
        QString ok;
        QString cancel;
    };

    CColourTableDialog(const QList<CColourSwatchGrid::SSwatch>& swatches, int currentId,
                       const STexts& texts, QWidget* parent = nullptr);

    // The chosen id, or nothing when cancelled.
    static std::optional<int> Choose(const QList<CColourSwatchGrid::SSwatch>& swatches,
                                     int currentId, const STexts& texts, QWidget* parent);

    CColourSwatchGrid* Grid() { return m_grid; }
    std::optional<int> ChosenId() const { return m_chosen; }

    void accept() override;

private:
    void ShowCurrent();

    CColourSwatchGrid* m_grid = nullptr;
    QLabel* m_current = nullptr;
    QPushButton* m_ok = nullptr;
    std::optional<int> m_chosen;
};
