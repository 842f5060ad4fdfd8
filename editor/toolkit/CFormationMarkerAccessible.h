#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class CFormationView;

// One marker of a formation view, by its index in the view's list.
class CFormationMarkerAccessible : public QAccessibleInterface {
public:
    CFormationMarkerAccessible(CFormationView* view, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QPointer<CFormationView> m_view;
    int m_index;
};
