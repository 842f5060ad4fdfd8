#pragma once

#include <QStyledItemDelegate>

// The editors of a property list's values: a spinner with the item's range, a drop-down for
// true/false and choices, the colour table's picker, a text box. An editor writes back only
// when the user changed it, so a value it cannot show stays as stored.
class CPropertyDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    void MarkEdited(QWidget* editor) const;
};
