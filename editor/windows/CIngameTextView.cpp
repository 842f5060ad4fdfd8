#include "CIngameTextView.h"

#include "editor/toolkit/CRowsSizeHint.h"

#include <QHeaderView>
#include <QPalette>

#include <algorithm>

CIngameTextView::CIngameTextView(QWidget* parent) : QTableView(parent) {
    setShowGrid(true);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    // The found or edited row stays visible while the find dialog has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

void CIngameTextView::CommitOpenEditor() {
    if (!IsEditing()) {
        return;
    }
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QSize CIngameTextView::sizeHint() const {
    // The first rows in text order are short names; the texts further down are sentences.
    constexpr int kShownChars = 48;
    QSize hint = CRowsSizeHint::Of(*this, 20);
    hint.setWidth(
        std::max(hint.width(), fontMetrics().horizontalAdvance(QString(kShownChars, u'n'))));
    return hint;
}
