#include "editor/toolkit/CFormationMarkerAccessible.h"

#include "editor/toolkit/CFormationView.h"

CFormationMarkerAccessible::CFormationMarkerAccessible(CFormationView* view, int index)
    : m_view(view), m_index(index) {}

bool CFormationMarkerAccessible::isValid() const {
    return m_view && m_index >= 0 && m_index < m_view->Markers().size();
}

QWindow* CFormationMarkerAccessible::window() const {
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CFormationMarkerAccessible::parent() const {
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QString CFormationMarkerAccessible::text(QAccessible::Text t) const {
    if (!isValid())
        return {};
    const SFormationMarker& marker = m_view->Markers()[m_index];
    switch (t) {
    case QAccessible::Name:
        return marker.description;
    case QAccessible::Value:
        return marker.boxText;
    case QAccessible::Description:
        return m_view->PickedMarker() == m_index ? m_view->PickedCellName() : QString();
    default:
        return {};
    }
}

QRect CFormationMarkerAccessible::rect() const {
    if (!isValid())
        return {};
    const QRect local = m_view->MarkerRect(m_index);
    return QRect(m_view->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State CFormationMarkerAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = m_view->SelectedMarker() == m_index;
    state.focused = state.selected && m_view->hasFocus();
    state.movable = true;
    state.pressed = m_view->PickedMarker() == m_index;
    return state;
}
