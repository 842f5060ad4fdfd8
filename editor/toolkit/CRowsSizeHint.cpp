#include "CRowsSizeHint.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTreeView>

#include <algorithm>

namespace {

// The widths of the columns shown: the wider of the heading and the rows laid out so far.
int ColumnsWidth(const QAbstractItemView& view, const QHeaderView* header) {
    const QAbstractItemModel* model = view.model();
    if (!model) {
        return 0;
    }
    int width = 0;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (header && header->isSectionHidden(column)) {
            continue;
        }
        const int heading = header && !header->isHidden() ? header->sectionSizeHint(column) : 0;
        // A width the program set stays; a stretched one follows the view, not its content.
        const bool set = header && header->sectionResizeMode(column) != QHeaderView::Stretch &&
                         !(header->stretchLastSection() && column == model->columnCount() - 1);
        width += std::max(
            {heading, view.sizeHintForColumn(column), set ? header->sectionSize(column) : 0});
    }
    return width;
}

} // namespace

QSize CRowsSizeHint::Of(const QAbstractItemView& view, int rows) {
    const QAbstractItemModel* model = view.model();
    int rowHeight = model && model->rowCount() > 0 ? view.sizeHintForRow(0) : 0;
    if (rowHeight <= 0) {
        rowHeight = view.fontMetrics().height() + 6;
    }
    const QHeaderView* top = nullptr;
    int left = 0;
    if (const auto* tree = qobject_cast<const QTreeView*>(&view)) {
        top = tree->header();
    } else if (const auto* table = qobject_cast<const QTableView*>(&view)) {
        top = table->horizontalHeader();
        if (!table->verticalHeader()->isHidden()) {
            left = table->verticalHeader()->sizeHint().width();
        }
    }
    const int headerHeight = top && !top->isHidden() ? top->sizeHint().height() : 0;
    const int frame = 2 * view.frameWidth();
    const int scrollBar = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
    return {frame + left + ColumnsWidth(view, top) + scrollBar,
            frame + headerHeight + rows * rowHeight};
}
