#pragma once

#include <QTreeView>

class QAbstractItemModel;
class QSortFilterProxyModel;

// The base of the editor's record lists: a report list with full-row selection over a sorting
// proxy of the list's own model. Players lists drag rows; teams lists take drops.
class CDragDropView : public QTreeView {
    Q_OBJECT
public:
    CDragDropView(QAbstractItemModel* source, QWidget* parent = nullptr);

    QSortFilterProxyModel* Proxy() const { return m_proxy; }
    // How many rows the list asks room for in its window's first size.
    void SetShownRows(int rows);
    QSize sizeHint() const override;

private:
    QSortFilterProxyModel* m_proxy = nullptr;
    int m_shownRows = 12;
};
