#pragma once

#include <QAccessibleWidget>

class QComboBox;

// Every drop-down as screen readers hear it: named by its label (its accessible name, else
// the label that has it as buddy), its current entry as the value. Qt's own interface names a
// drop-down by its current entry on Linux, so a reader announced "Goalkeeper" instead of
// "Position 1".
class CComboBoxAccessible : public QAccessibleWidget {
public:
    explicit CComboBoxAccessible(QComboBox* box);

    // Registers the factory once, for every QComboBox and class derived from it.
    static void Install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* Box() const;
};
