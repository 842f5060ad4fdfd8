#pragma once

#include <QSortFilterProxyModel>

// The Compare window's filter: a row shows when it or a row under it has the text, or a row
// above it has; with no text every row shows.
class CCompareFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit CCompareFilter(QObject* parent = nullptr);

    // Unfiltered, the rows are the source's: asking saves mapping each of tens of thousands
    // of records when the view lays them out.
    bool hasChildren(const QModelIndex& parent = {}) const override;
};
