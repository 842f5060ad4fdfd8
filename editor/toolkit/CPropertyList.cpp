#include "CPropertyList.h"

#include "editor/toolkit/CPropertyDelegate.h"
#include "editor/toolkit/CRowsSizeHint.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Every edit goes to the value column, whichever cell holds the focus; Return opens the editor
// as F2 does.
class CPropertyView : public QTreeView {
public:
    using QTreeView::QTreeView;

    // Up and down only: a narrow list moving to a value cell would push the names out of view.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override {
        const int left = horizontalScrollBar()->value();
        QTreeView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(left);
    }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        if (index.isValid() && index.column() == 0) {
            return QTreeView::edit(index.siblingAtColumn(1), trigger, event);
        }
        return QTreeView::edit(index, trigger, event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            state() != EditingState && currentIndex().isValid()) {
            if (edit(currentIndex(), EditKeyPressed, event)) {
                return;
            }
        }
        QTreeView::keyPressEvent(event);
    }
};

} // namespace

CPropertyList::CPropertyList(QWidget* parent) : QWidget(parent) {
    m_model = new CPropertyModel(this);
    m_view = new CPropertyView(this);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new CPropertyDelegate(m_view));
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setAlternatingRowColors(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->header()->hide();
    m_view->header()->setStretchLastSection(true);
    m_help = new QLabel(this);
    m_help->setWordWrap(true);
    m_help->setFrameShape(QFrame::StyledPanel);
    m_help->setMinimumHeight(m_help->fontMetrics().lineSpacing() * 3);
    m_help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_help->setMargin(4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_help);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first,
                                                                    int last) {
        for (int row = first; row <= last; ++row) {
            m_view->setFirstColumnSpanned(row, {},
                                          m_model->KindOf(row) == CPropertyModel::Kind::Heading);
        }
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CPropertyList::ShowHelp);
}

void CPropertyList::SetTextLookup(const TextLookup& lookup) {
    m_model->SetTextLookup(lookup);
    // The names' width and a gap, so values do not run into them.
    m_view->resizeColumnToContents(0);
    m_view->setColumnWidth(0, m_view->columnWidth(0) + 16);
    ShowHelp();
}

void CPropertyList::SelectRow(int row) {
    // The value column holds the current cell, so moving away closes its editor.
    m_view->setCurrentIndex(m_model->index(row, 1));
}

int CPropertyList::SelectedRow() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CPropertyList::ShowHelp() {
    const int row = SelectedRow();
    m_help->setText(row < 0 ? QString()
                            : m_model->Text(m_model->index(row, 0)
                                                .data(CPropertyModel::HelpRole)
                                                .toString()));
}

QSize CPropertyList::sizeHint() const {
    const QSize rows = CRowsSizeHint::Of(*m_view, std::max(m_model->rowCount(), 8));
    return {rows.width(), rows.height() + layout()->spacing() + m_help->sizeHint().height()};
}
