#include "editor/toolkit/CComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        return new CComboBoxAccessible(static_cast<QComboBox*>(object));
    return nullptr;
}

} // namespace

CComboBoxAccessible::CComboBoxAccessible(QComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

void CComboBoxAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

QComboBox* CComboBoxAccessible::Box() const {
    return static_cast<QComboBox*>(widget());
}

QString CComboBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return Box()->isEditable() && Box()->lineEdit() ? Box()->lineEdit()->text()
                                                        : Box()->currentText();
    // The name: the accessible name or the buddy label's text, never the entry.
    return QAccessibleWidget::text(t);
}

QAccessible::State CComboBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Box()->view() && Box()->view()->isVisible();
    state.collapsed = !state.expanded;
    state.editable = Box()->isEditable();
    return state;
}

int CComboBoxAccessible::childCount() const {
    return Box()->view() ? 1 : 0;
}

QAccessibleInterface* CComboBoxAccessible::child(int index) const {
    return index == 0 && Box()->view() ? QAccessible::queryAccessibleInterface(Box()->view())
                                       : nullptr;
}

int CComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && Box()->view() && child->object() == Box()->view() ? 0 : -1;
}

QStringList CComboBoxAccessible::actionNames() const {
    return {showMenuAction(), pressAction()};
}

void CComboBoxAccessible::doAction(const QString& actionName) {
    if (actionName != showMenuAction() && actionName != pressAction())
        return;
    if (Box()->view() && Box()->view()->isVisible())
        Box()->hidePopup();
    else
        Box()->showPopup();
}
