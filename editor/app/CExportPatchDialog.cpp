#include "CExportPatchDialog.h"

#include "editor/toolkit/CBaseChoice.h"
#include "editor/windows/CFrameHost.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CExportPatchDialog::CExportPatchDialog(CFrameHost& host, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("exportPatchDialog"));
    setWindowTitle(host.Text("Caption_ExportPatch"));

    auto* baseLabel = new QLabel(host.Text("Caption_PatchBase"), this);
    m_base = new CBaseChoice({host.Text("Caption_PatchBaseOriginal"),
                              host.Text("Caption_PatchBaseFolder"), host.Text("Caption_PatchFolder"),
                              host.Text("Caption_PatchBrowse")},
                             this);

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
    layout->addWidget(m_base);
    layout->addSpacing(8);
    layout->addWidget(descriptionLabel);
    layout->addWidget(m_description);
    layout->addStretch(1);
    layout->addWidget(buttons);

    // Another installation needs its folder.
    const auto updateOk = [this] { m_ok->setEnabled(m_base->IsComplete()); };
    connect(m_base, &CBaseChoice::Changed, this, updateOk);
    updateOk();
}

QString CExportPatchDialog::BaseFolder() const {
    return m_base->Folder();
}

QString CExportPatchDialog::Description() const {
    return m_description->text().trimmed();
}
