#pragma once

#include "editor/toolkit/SFormationMarker.h"

#include <QFont>
#include <QList>
#include <QPixmap>
#include <QWidget>

#include <functional>

// The formation grid: ten columns by nine rows of cells laid over the whole widget, a drawn
// pitch beneath, and markers the owner hands in. It knows nothing of players or rules: it
// reports drops, selections and activations by marker index and cell, and the owner answers
// with new markers. Left drag moves a marker, right click selects, double click or Enter
// activates; the arrow keys move the selection. Without a mouse, Space picks the selected
// marker up, the arrows carry it from cell to cell, Space drops it there (the same drop a drag
// reports) and Escape puts it back.
class CFormationView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 9;

    explicit CFormationView(QWidget* parent = nullptr);

    // Keeps the selection when it still names a marker.
    void SetMarkers(QList<SFormationMarker> markers);
    const QList<SFormationMarker>& Markers() const { return m_markers; }
    // The first font draws the box texts, the second the names; both are scaled with the cells.
    void SetFonts(const QFont& boxFont, const QFont& nameFont);

    int SelectedMarker() const { return m_selected; }
    void SetSelectedMarker(int index);

    int CellWidth() const { return width() / kColumns; }
    int CellHeight() const { return height() / kRows; }
    // The cell under a point, or -1 outside the grid.
    int CellAt(const QPoint& point) const;
    QRect CellRect(int cell) const;
    // Where the marker is drawn (its cell shrunk by 2 pixels, offset by its stack level, or
    // under the mouse while dragged); empty for an index outside the list.
    QRect MarkerRect(int index) const;
    // The marker drawn on top at a point, or -1.
    int MarkerAt(const QPoint& point) const;
    // The first marker standing in the cell, or -1.
    int MarkerInCell(int cell) const;

    // The cells a picked-up marker can be carried to; all cells when empty.
    void SetDropCells(QList<int> cells);
    // What screen readers hear of a cell a picked-up marker is over.
    void SetCellNamer(std::function<QString(int cell)> namer);
    // The marker carried by keyboard and the cell it is over; -1 when nothing is picked up.
    int PickedMarker() const { return m_picked ? m_selected : -1; }
    int PickedCell() const { return m_picked ? m_pickCell : -1; }
    // The carried marker's cell as screen readers hear it.
    QString PickedCellName() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A left drag ended over a cell (-1: outside the grid).
    void MarkerDropped(int index, int cell);
    void MarkerSelected(int index);
    // Double click or Enter.
    void MarkerActivated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void PaintMarker(QPainter& painter, int index, bool held) const;
    void Select(int index);
    // The nearest marker from the selection in the direction of an arrow key.
    int Neighbour(int dx, int dy) const;
    // The nearest drop cell from the carried marker's cell in the direction of an arrow key.
    int NeighbourCell(int dx, int dy) const;
    bool IsDropCell(int cell) const;
    void PickUp();
    void PutDown(bool drop);
    void AnnouncePick();

    QList<SFormationMarker> m_markers;
    QFont m_boxFont;
    QFont m_nameFont;
    QPixmap m_ground; // the pitch, redrawn only when the size changes
    int m_selected = -1;
    bool m_dragging = false;
    QPoint m_dragPoint;
    bool m_picked = false;
    int m_pickCell = -1;
    QList<int> m_dropCells;
    std::function<QString(int)> m_cellNamer;
};
