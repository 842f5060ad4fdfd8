#include "CColourSwatchGrid.h"

#include <algorithm>

#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace {

constexpr int kIdRole = Qt::UserRole + 1;
constexpr int kColourRole = Qt::UserRole + 2;
constexpr int kColumns = 12;
constexpr int kSpacing = 3;

// Paints a swatch filled with its colour and its id in an ink that reads on it.
class CSwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QColor colour = index.data(kColourRole).value<QColor>();
        const QRect box = option.rect.adjusted(1, 1, -1, -1);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->fillRect(box, colour);
        const bool selected = option.state & QStyle::State_Selected;
        const bool current = option.state & QStyle::State_HasFocus;
        painter->setPen(QPen(selected ? option.palette.highlight().color() : QColor(90, 90, 90),
                             selected ? 3 : 1));
        painter->drawRect(selected ? box.adjusted(1, 1, -2, -2) : box.adjusted(0, 0, -1, -1));
        if (current && !selected) {
            painter->setPen(QPen(option.palette.highlight().color(), 1, Qt::DotLine));
            painter->drawRect(box.adjusted(2, 2, -3, -3));
        }
        QFont font = option.font;
        font.setPixelSize(9);
        painter->setFont(font);
        painter->setPen(colour.lightnessF() > 0.55 ? Qt::black : Qt::white);
        painter->drawText(box, Qt::AlignCenter, index.data(kIdRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {CColourSwatchGrid::kSwatchSide, CColourSwatchGrid::kSwatchSide};
    }
};

} // namespace

CColourSwatchGrid::CColourSwatchGrid(QWidget* parent) : QListView(parent) {
    m_model = new QStandardItemModel(this);
    setModel(m_model);
    setItemDelegate(new CSwatchDelegate(this));
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSpacing(kSpacing);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListView::activated, this,
            [this](const QModelIndex& index) { emit SwatchChosen(index.data(kIdRole).toInt()); });
}

QString CColourSwatchGrid::Description(const SSwatch& swatch) {
    return QStringLiteral("%1: RGB %2, %3, %4 (%5)")
        .arg(swatch.id)
        .arg(swatch.colour.red())
        .arg(swatch.colour.green())
        .arg(swatch.colour.blue())
        .arg(swatch.colour.name(QColor::HexRgb).toUpper());
}

void CColourSwatchGrid::SetSwatches(const QList<SSwatch>& swatches) {
    m_model->clear();
    for (const SSwatch& swatch : swatches) {
        auto* item = new QStandardItem;
        const QString description = Description(swatch);
        item->setData(swatch.id, kIdRole);
        item->setData(swatch.colour, kColourRole);
        item->setToolTip(description);
        item->setData(description, Qt::AccessibleTextRole);
        item->setData(description, Qt::DisplayRole);
        m_model->appendRow(item);
    }
}

int CColourSwatchGrid::Count() const {
    return m_model->rowCount();
}

void CColourSwatchGrid::SetCurrentId(int id) {
    const QModelIndexList found =
        m_model->match(m_model->index(0, 0), kIdRole, id, 1, Qt::MatchExactly);
    if (found.isEmpty()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentIndex(found.first());
    scrollTo(found.first());
}

std::optional<int> CColourSwatchGrid::CurrentId() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return std::nullopt;
    }
    return current.data(kIdRole).toInt();
}

QSize CColourSwatchGrid::sizeHint() const {
    const int cell = kSwatchSide + 2 * kSpacing;
    const int rows = std::max(1, (Count() + kColumns - 1) / kColumns);
    const int frame = 2 * frameWidth();
    const int scrollBar = rows > 10 ? verticalScrollBar()->sizeHint().width() : 0;
    return {kColumns * cell + kSpacing + frame + scrollBar,
            std::min(rows, 10) * cell + kSpacing + frame};
}
