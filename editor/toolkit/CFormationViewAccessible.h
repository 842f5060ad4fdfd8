#pragma once

#include <QAccessibleWidget>
#include <QHash>

class CFormationView;

// The formation view as screen readers and GUI automation see it: a list whose items are the
// markers, each named by the description its owner gave it.
class CFormationViewAccessible : public QAccessibleWidget {
public:
    explicit CFormationViewAccessible(CFormationView* view);
    ~CFormationViewAccessible() override;

    // Registers the factory once; called by every view's constructor.
    static void Install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    CFormationView* View() const;

    // Item interfaces live in Qt's registry; this keeps their ids to remove them again.
    mutable QHash<int, QAccessible::Id> m_children;
};
