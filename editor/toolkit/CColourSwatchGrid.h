#pragma once

#include <QColor>
#include <QList>
#include <QListView>

#include <optional>

class QStandardItemModel;

// A grid of colour swatches, each with its id: the only colours a caller accepts. The tool
// tip and the accessible text of a swatch give its id and RGB value; Enter or a double click
// chooses the current swatch.
class CColourSwatchGrid : public QListView {
    Q_OBJECT
public:
    struct SSwatch {
        int id = 0;
        QColor colour;
    };

    static constexpr int kSwatchSide = 26;

    explicit CColourSwatchGrid(QWidget* parent = nullptr);

    void SetSwatches(const QList<SSwatch>& swatches);
    int Count() const;
    // Makes the swatch with this id current; nothing is current when no swatch has it.
    void SetCurrentId(int id);
    std::optional<int> CurrentId() const;
    // The text a swatch's tool tip shows, e.g. "12: RGB 255, 128, 0 (#FF8000)".
    static QString Description(const SSwatch& swatch);

    QSize sizeHint() const override;

signals:
    void SwatchChosen(int id);

private:
    QStandardItemModel* m_model = nullptr;
};
