#include "CExportPatchDialog.h"

#include "editor/windows/CFrameHost.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CExportPatchDialog::CExportPatchDialog(CFrameHost& host, QWidget* parent)
    : QDialog(parent), m_host(host) {
    setObjectName(QStringLiteral("exportPatchDialog"));
    setWindowTitle(host.Text("Caption_ExportPatch"));

    auto* baseLabel = new QLabel(host.Text("Caption_PatchBase"), this);
    m_original = new QRadioButton(host.Text("Caption_PatchBaseOriginal"), this);
    m_original->setObjectName(QStringLiteral("patchBaseOriginal"));
    m_original->setAccessibleName(host.Text("Caption_PatchBaseOriginal"));
    m_original->setChecked(true);
    m_other = new QRadioButton(host.Text("Caption_PatchBaseFolder"), this);
    m_other->setObjectName(QStringLiteral("patchBaseFolder"));
    m_other->setAccessibleName(host.Text("Caption_PatchBaseFolder"));
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("patchBaseFolderEdit"));
    m_folder->setAccessibleName(host.Text("Caption_PatchFolder"));
    m_folder->setMinimumWidth(320);
    m_browse = new QPushButton(host.Text("Caption_PatchBrowse"), this);
    m_browse->setObjectName(QStringLiteral("patchBrowse"));
    m_browse->setAccessibleName(host.Text("Caption_PatchBrowse"));
    m_browse->setAutoDefault(false);
    auto* folderRow = new QHBoxLayout;
    folderRow->setContentsMargins(20, 0, 0, 0);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);

    auto* descriptionLabel = new QLabel(host.Text("Caption_PatchDescription"), this);
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("patchDescription"));
    m_description->setAccessibleName(descriptionLabel->text().remove(u'&').remove(u':').trimmed());
    descriptionLabel->setBuddy(m_description);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(host.Text("Caption_PatchExportButton"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("patchExportButton"));
    m_ok->setAccessibleName(QString(m_ok->text()).remove(u'&').remove(QStringLiteral("...")));
    m_ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(host.Text("Caption_Cancel"), QDialogButtonBox::RejectRole);
    cancel->setAccessibleName(host.Text("Caption_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(baseLabel);
    layout->addWidget(m_original);
    layout->addWidget(m_other);
    layout->addLayout(folderRow);
    layout->addSpacing(8);
    layout->addWidget(descriptionLabel);
    layout->addWidget(m_description);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(m_other, &QRadioButton::toggled, this, &CExportPatchDialog::UpdateState);
    connect(m_folder, &QLineEdit::textChanged, this, &CExportPatchDialog::UpdateState);
    connect(m_browse, &QPushButton::clicked, this, &CExportPatchDialog::Browse);
    UpdateState();
}

QString CExportPatchDialog::BaseFolder() const {
    return m_other->isChecked() ? m_folder->text().trimmed() : QString();
}

QString CExportPatchDialog::Description() const {
    return m_description->text().trimmed();
}

void CExportPatchDialog::Browse() {
    const QString folder = QFileDialog::getExistingDirectory(this, m_host.Text("Caption_PatchFolder"),
                                                             m_folder->text());
    if (!folder.isEmpty()) {
        m_folder->setText(folder);
        m_other->setChecked(true);
    }
}

void CExportPatchDialog::UpdateState() {
    const bool other = m_other->isChecked();
    m_folder->setEnabled(other);
    m_browse->setEnabled(other);
    // Another installation needs its folder.
    m_ok->setEnabled(!other || !m_folder->text().trimmed().isEmpty());
}
