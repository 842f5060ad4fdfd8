#include "CPicturePreviewDialog.h"

#include "editor/toolkit/CPictureView.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Small shapes are shown enlarged so their blocks can be judged, large ones fit the screen.
double PreviewScale(const QImage& image) {
    const int side = std::max(image.width(), image.height());
    if (side <= 0)
        return 1.0;
    return std::clamp(256.0 / side, 0.25, 4.0);
}

} // namespace

CPicturePreviewDialog::CPicturePreviewDialog(const QImage& decoded, const QString& details,
                                             const QString& title, const QString& previewName,
                                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_preview = new CPictureView(this);
    m_preview->setAccessibleName(previewName);
    m_preview->setToolTip(previewName);
    m_preview->SetCheckerboard(true);
    m_details = new QLabel(this);
    m_details->setWordWrap(true);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetPicture(decoded, details);
    m_magenta = new QCheckBox(this);
    m_magenta->hide();
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(m_preview, 1, Qt::AlignCenter);
    layout->addWidget(m_details);
    layout->addWidget(m_magenta);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_magenta, &QCheckBox::toggled, this, &CPicturePreviewDialog::magentaKeyToggled);
}

void CPicturePreviewDialog::SetPicture(const QImage& decoded, const QString& details) {
    m_preview->SetScale(PreviewScale(decoded));
    m_preview->SetImage(decoded);
    m_preview->setMinimumSize(m_preview->sizeHint());
    m_details->setText(details);
}

void CPicturePreviewDialog::OfferMagentaKey(const QString& label, const QString& help,
                                            bool available) {
    const QSignalBlocker quiet(m_magenta);
    m_magenta->setText(label);
    m_magenta->setAccessibleName(label);
    m_magenta->setToolTip(help);
    m_magenta->setAccessibleDescription(help);
    m_magenta->setChecked(available);
    m_magenta->setEnabled(available);
    m_magenta->show();
}
