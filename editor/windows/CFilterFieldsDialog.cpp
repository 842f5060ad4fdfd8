#include "CFilterFieldsDialog.h"

#include "editor/model/CPlayerField.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

CFilterFieldsDialog::CFilterFieldsDialog(const CFieldCaptions::Lookup& text, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FilterFieldsDialog"));
    setWindowTitle(text("Caption_FilterFields"));
    auto* layout = new QVBoxLayout(this);
    auto* help = new QLabel(text("Caption_FilterHelp"), this);
    help->setWordWrap(true);
    layout->addWidget(help);

    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("FilterFieldsTable"));
    m_table->setAccessibleName(text("Caption_FilterFields"));
    m_table->setHorizontalHeaderLabels({text("Caption_Field"), text("Caption_FilterName")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (const CPlayerField& field : CPlayerField::All()) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, new QTableWidgetItem(CFieldCaptions::Of(field, text)));
        m_table->setItem(row, 1, new QTableWidgetItem(QString::fromLatin1(field.Name())));
    }
    m_table->sortItems(0);
    m_table->resizeColumnsToContents();
    m_table->setCurrentCell(0, 0);
    layout->addWidget(m_table, 1);
    connect(m_table, &QTableWidget::cellActivated, this, [this] { ChooseCurrent(); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* insert =
        buttons->addButton(text("Caption_InsertField"), QDialogButtonBox::AcceptRole);
    insert->setObjectName(QStringLiteral("InsertField"));
    buttons->addButton(QDialogButtonBox::Close)->setText(text("Caption_Close"));
    connect(insert, &QPushButton::clicked, this, [this] { ChooseCurrent(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    const int width = m_table->horizontalHeader()->length() + m_table->frameWidth() * 2 +
                      m_table->verticalScrollBar()->sizeHint().width() + 40;
    resize(std::max(width, 420), 520);
}

void CFilterFieldsDialog::ChooseCurrent() {
    const int row = m_table->currentRow();
    if (row < 0)
        return;
    emit FieldChosen(m_table->item(row, 1)->text());
    accept();
}
