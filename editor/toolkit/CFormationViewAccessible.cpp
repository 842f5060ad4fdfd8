#include "editor/toolkit/CFormationViewAccessible.h"

#include "editor/toolkit/CFormationMarkerAccessible.h"
#include "editor/toolkit/CFormationView.h"

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("CFormationView") && object && object->isWidgetType())
        return new CFormationViewAccessible(static_cast<CFormationView*>(object));
    return nullptr;
}

} // namespace

CFormationViewAccessible::CFormationViewAccessible(CFormationView* view)
    : QAccessibleWidget(view, QAccessible::List) {}

CFormationViewAccessible::~CFormationViewAccessible() {
    for (QAccessible::Id id : std::as_const(m_children))
        QAccessible::deleteAccessibleInterface(id);
}

void CFormationViewAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

CFormationView* CFormationViewAccessible::View() const {
    return static_cast<CFormationView*>(widget());
}

int CFormationViewAccessible::childCount() const {
    return static_cast<int>(View()->Markers().size());
}

QAccessibleInterface* CFormationViewAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    auto it = m_children.constFind(index);
    if (it != m_children.constEnd())
        return QAccessible::accessibleInterface(*it);
    auto* item = new CFormationMarkerAccessible(View(), index);
    m_children.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int CFormationViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (auto it = m_children.constBegin(); it != m_children.constEnd(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key() < childCount() ? it.key() : -1;
    return -1;
}

QAccessibleInterface* CFormationViewAccessible::childAt(int x, int y) const {
    const int index = View()->MarkerAt(View()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? child(index) : nullptr;
}

QAccessibleInterface* CFormationViewAccessible::focusChild() const {
    const int index = View()->SelectedMarker();
    return View()->hasFocus() && index >= 0 ? child(index) : nullptr;
}
