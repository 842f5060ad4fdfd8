#include "CCompareFilter.h"

CCompareFilter::CCompareFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setFilterKeyColumn(-1);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    // A matching field keeps its record and kind in view; a matching record or kind shows all
    // that is under it.
    setRecursiveFilteringEnabled(true);
    setAutoAcceptChildRows(true);
}

bool CCompareFilter::hasChildren(const QModelIndex& parent) const {
    if (filterRegularExpression().pattern().isEmpty() && sourceModel()) {
        return sourceModel()->hasChildren(mapToSource(parent));
    }
    return QSortFilterProxyModel::hasChildren(parent);
}
