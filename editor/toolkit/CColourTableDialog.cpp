#include "CColourTableDialog.h"

#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CColourTableDialog::CColourTableDialog(const QList<CColourSwatchGrid::SSwatch>& swatches,
                                       int currentId, const STexts& texts, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(texts.title);
    m_grid = new CColourSwatchGrid(this);
    m_grid->setObjectName(QStringLiteral("ColourSwatches"));
    m_grid->setAccessibleName(texts.title);
    m_grid->SetSwatches(swatches);
    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("CurrentColour"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(texts.ok);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_grid, &CColourSwatchGrid::SwatchChosen, this, [this] { accept(); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ShowCurrent(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_current);
    layout->addWidget(buttons);
    m_grid->SetCurrentId(currentId);
    m_grid->setFocus();
    ShowCurrent();
}

std::optional<int> CColourTableDialog::Choose(const QList<CColourSwatchGrid::SSwatch>& swatches,
                                              int currentId, const STexts& texts, QWidget* parent) {
    CColourTableDialog dialog(swatches, currentId, texts, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.ChosenId();
}

void CColourTableDialog::ShowCurrent() {
    const QModelIndex current = m_grid->currentIndex();
    m_current->setText(current.isValid() ? current.data(Qt::ToolTipRole).toString() : QString());
    m_ok->setEnabled(current.isValid());
}

void CColourTableDialog::accept() {
    m_chosen = m_grid->CurrentId();
    if (!m_chosen) {
        return;
    }
    QDialog::accept();
}
