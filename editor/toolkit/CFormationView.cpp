#include "editor/toolkit/CFormationView.h"

#include "editor/toolkit/CFormationViewAccessible.h"
#include "editor/toolkit/CPitchPainter.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor kNumberBox(92, 0, 0);
const QColor kSetPieceBox(128, 0, 128);
const QColor kHeldName(255, 255, 64);

// Marker proportions were laid out for 36-pixel-high slots; scale within readable limits.
qreal ScaleOf(const QRect& rect) {
    return std::clamp(rect.height() / 36.0, 0.7, 2.4);
}

QFont Sized(QFont font, int pixels, bool bold) {
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Text drawn twice, black shadow then colour, centred in its rectangle.
void DrawShadowed(QPainter& p, const QRectF& rect, const QString& text, const QColor& colour,
                  qreal shadow) {
    p.setPen(Qt::black);
    p.drawText(rect.translated(shadow, shadow), Qt::AlignHCenter | Qt::AlignVCenter, text);
    p.setPen(colour);
    p.drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, text);
}

} // namespace

CFormationView::CFormationView(QWidget* parent) : QWidget(parent) {
    CFormationViewAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFormationView::SetMarkers(QList<SFormationMarker> markers) {
    m_markers = std::move(markers);
    m_dragging = false;
    m_picked = false;
    if (m_selected >= m_markers.size())
        m_selected = -1;
    QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
    update();
}

void CFormationView::SetFonts(const QFont& boxFont, const QFont& nameFont) {
    m_boxFont = boxFont;
    m_nameFont = nameFont;
    update();
}

void CFormationView::SetSelectedMarker(int index) {
    m_picked = false;
    m_selected = index >= 0 && index < m_markers.size() ? index : -1;
    update();
}

void CFormationView::SetDropCells(QList<int> cells) {
    m_dropCells = std::move(cells);
}

void CFormationView::SetCellNamer(std::function<QString(int cell)> namer) {
    m_cellNamer = std::move(namer);
}

QString CFormationView::PickedCellName() const {
    if (!m_picked)
        return {};
    return m_cellNamer ? m_cellNamer(m_pickCell) : QString::number(m_pickCell);
}

bool CFormationView::IsDropCell(int cell) const {
    return cell >= 0 && cell < kColumns * kRows &&
           (m_dropCells.isEmpty() || m_dropCells.contains(cell));
}

int CFormationView::CellAt(const QPoint& point) const {
    const int cellWidth = CellWidth();
    const int cellHeight = CellHeight();
    if (cellWidth <= 0 || cellHeight <= 0 || point.x() < 0 || point.y() < 0)
        return -1;
    const int column = point.x() / cellWidth;
    const int row = point.y() / cellHeight;
    if (column >= kColumns || row >= kRows)
        return -1;
    return row * kColumns + column;
}

QRect CFormationView::CellRect(int cell) const {
    if (cell < 0 || cell >= kColumns * kRows)
        return {};
    return QRect((cell % kColumns) * CellWidth(), (cell / kColumns) * CellHeight(), CellWidth(),
                 CellHeight());
}

QRect CFormationView::MarkerRect(int index) const {
    if (index < 0 || index >= m_markers.size())
        return {};
    if (m_picked && index == m_selected)
        return CellRect(m_pickCell).adjusted(2, 2, -2, -2);
    QRect rect = CellRect(m_markers[index].cell).adjusted(2, 2, -2, -2);
    if (m_dragging && index == m_selected) {
        rect.moveCenter(m_dragPoint);
        return rect;
    }
    // A second marker in one place sits lower right, so both names stay legible.
    const int level = std::min(m_markers[index].stackLevel, 3);
    rect.translate(level * CellWidth() / 3, level * CellHeight() / 2);
    return rect;
}

int CFormationView::MarkerAt(const QPoint& point) const {
    // Top first: the held marker, then the others from last drawn to first.
    if (m_selected >= 0 && MarkerRect(m_selected).contains(point))
        return m_selected;
    for (int i = static_cast<int>(m_markers.size()) - 1; i >= 0; --i)
        if (MarkerRect(i).contains(point))
            return i;
    return -1;
}

int CFormationView::MarkerInCell(int cell) const {
    if (cell < 0)
        return -1;
    for (int i = 0; i < m_markers.size(); ++i)
        if (m_markers[i].cell == cell)
            return i;
    return -1;
}

QSize CFormationView::sizeHint() const {
    return {546, 360};
}

QSize CFormationView::minimumSizeHint() const {
    return {400, 270};
}

void CFormationView::resizeEvent(QResizeEvent* event) {
    m_ground = QPixmap();
    QWidget::resizeEvent(event);
}

void CFormationView::paintEvent(QPaintEvent*) {
    if (m_ground.size() != size()) {
        m_ground = QPixmap(size());
        QPainter ground(&m_ground);
        CPitchPainter::Paint(ground, rect(), CellWidth(), CellHeight());
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_ground);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < m_markers.size(); ++i)
        if (i != m_selected)
            PaintMarker(p, i, false);
    if (m_picked) {
        // Where the marker came from stays outlined; the cell it is over is framed.
        p.setPen(QPen(kHeldName, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(CellRect(m_markers[m_selected].cell).adjusted(1, 1, -2, -2));
        p.setPen(QPen(kHeldName, 3));
        p.drawRect(CellRect(m_pickCell).adjusted(1, 1, -2, -2));
    }
    if (m_selected >= 0)
        PaintMarker(p, m_selected, true);
}

void CFormationView::PaintMarker(QPainter& p, int index, bool held) const {
    const SFormationMarker& marker = m_markers[index];
    const QRect rect = MarkerRect(index);
    const qreal scale = ScaleOf(rect);
    const int boxHeight = std::min(qRound(20 * scale), rect.height() * 3 / 5);
    const qreal shadow = std::max(1.0, std::round(1.5 * scale));

    QRect box(rect.left(), rect.top(), rect.width(), boxHeight);
    if (!marker.setPiece) {
        const int iconSize = std::min(qRound(16 * scale), boxHeight);
        const int inset = std::max(1, qRound(2 * scale));
        if (!marker.icon.isNull())
            p.drawImage(QRect(rect.left() + inset, rect.top() + inset, iconSize, iconSize),
                        marker.icon);
        box.setLeft(rect.left() + iconSize + 2 * inset);
    }
    p.fillRect(box, marker.setPiece ? kSetPieceBox : kNumberBox);
    if (held) {
        p.setPen(QPen(kHeldName, std::max(1.0, scale)));
        p.drawRect(box.adjusted(0, 0, -1, -1));
    }
    p.setFont(Sized(m_boxFont, std::clamp(qRound(boxHeight * 0.7), 8, 26), true));
    DrawShadowed(p, box, marker.boxText, Qt::white, shadow);

    const QFont nameFont = Sized(m_nameFont, std::clamp(qRound(rect.height() * 0.3), 9, 20), false);
    p.setFont(nameFont);
    // Names keep to their own cell, so neighbours in a column never run into each other.
    const QRect nameRect(rect.left() - 1, rect.top() + boxHeight, rect.width() + 2,
                         rect.height() - boxHeight);
    const QString name =
        QFontMetrics(nameFont).elidedText(marker.name, Qt::ElideRight, nameRect.width());
    DrawShadowed(p, nameRect, name, held ? kHeldName : QColor(Qt::white), shadow);

    if (held && hasFocus()) {
        p.setPen(QPen(kHeldName, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect.adjusted(-1, -1, 0, 0));
    }
}

void CFormationView::Select(int index) {
    if (index < 0 || index >= m_markers.size())
        index = -1;
    const bool changed = index != m_selected;
    m_selected = index;
    update();
    if (!changed)
        return;
    if (index >= 0 && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
    emit MarkerSelected(index);
}

void CFormationView::mousePressEvent(QMouseEvent* event) {
    if (m_picked)
        PutDown(false);
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const int index = MarkerAt(point);
        Select(index);
        m_dragPoint = MarkerRect(index).center();
        m_dragging = index >= 0;
        update();
    } else if (event->button() == Qt::RightButton) {
        m_dragging = false;
        Select(MarkerInCell(CellAt(point)));
    }
    QWidget::mousePressEvent(event);
}

void CFormationView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_dragPoint = event->position().toPoint();
        update();
    }
}

void CFormationView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    update();
    // The owner answers with new markers; until then the marker is back in its place.
    emit MarkerDropped(m_selected, CellAt(event->position().toPoint()));
}

void CFormationView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    const int index = MarkerInCell(CellAt(event->position().toPoint()));
    if (index >= 0)
        emit MarkerActivated(index);
}

int CFormationView::Neighbour(int dx, int dy) const {
    const QPoint from = MarkerRect(m_selected).center();
    int best = -1;
    qint64 bestScore = std::numeric_limits<qint64>::max();
    for (int i = 0; i < m_markers.size(); ++i) {
        if (i == m_selected)
            continue;
        const QPoint delta = MarkerRect(i).center() - from;
        const int along = delta.x() * dx + delta.y() * dy;
        const int across = std::abs(delta.x() * dy) + std::abs(delta.y() * dx);
        if (along <= 0)
            continue;
        const qint64 score = qint64(along) + 2 * qint64(across);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

int CFormationView::NeighbourCell(int dx, int dy) const {
    const int column = m_pickCell % kColumns;
    const int row = m_pickCell / kColumns;
    int best = -1;
    int bestScore = std::numeric_limits<int>::max();
    for (int cell = 0; cell < kColumns * kRows; ++cell) {
        if (!IsDropCell(cell))
            continue;
        const int x = cell % kColumns - column;
        const int y = cell / kColumns - row;
        const int along = x * dx + y * dy;
        if (along <= 0)
            continue;
        // Straight on first; a cell off the line only when none lies on it.
        const int score = along + 3 * (std::abs(x * dy) + std::abs(y * dx));
        if (score < bestScore) {
            bestScore = score;
            best = cell;
        }
    }
    return best;
}

void CFormationView::PickUp() {
    if (m_selected < 0 || m_dragging)
        return;
    m_picked = true;
    m_pickCell = m_markers[m_selected].cell;
    update();
    AnnouncePick();
}

void CFormationView::PutDown(bool drop) {
    if (!m_picked)
        return;
    const int index = m_selected;
    const int cell = m_pickCell;
    m_picked = false;
    update();
    AnnouncePick();
    if (drop)
        emit MarkerDropped(index, cell);
}

void CFormationView::AnnouncePick() {
    if (m_selected < 0)
        return;
    QAccessible::State pressed;
    pressed.pressed = true;
    QAccessibleStateChangeEvent state(this, pressed);
    state.setChild(m_selected);
    QAccessible::updateAccessibility(&state);
    QAccessibleEvent where(this, QAccessible::DescriptionChanged);
    where.setChild(m_selected);
    QAccessible::updateAccessibility(&where);
}

void CFormationView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (m_picked)
            PutDown(true);
        else
            PickUp();
        return;
    }
    if (event->key() == Qt::Key_Escape && m_picked) {
        PutDown(false);
        return;
    }
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_picked)
            return;
        if (m_selected >= 0) {
            emit MarkerActivated(m_selected);
            return;
        }
        break;
    default:
        break;
    }
    if (dx == 0 && dy == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_picked) {
        const int cell = NeighbourCell(dx, dy);
        if (cell >= 0) {
            m_pickCell = cell;
            update();
            AnnouncePick();
        }
        return;
    }
    if (m_selected < 0) {
        Select(m_markers.isEmpty() ? -1 : 0);
        return;
    }
    const int next = Neighbour(dx, dy);
    if (next >= 0)
        Select(next);
}

void CFormationView::focusOutEvent(QFocusEvent* event) {
    PutDown(false);
    QWidget::focusOutEvent(event);
    update();
}

void CFormationView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    if (m_selected >= 0) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(m_selected);
        QAccessible::updateAccessibility(&focus);
    }
}

bool CFormationView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = MarkerAt(help->pos());
        if (index >= 0 && !m_markers[index].toolTip.isEmpty())
            QToolTip::showText(help->globalPos(), m_markers[index].toolTip, this,
                               MarkerRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
