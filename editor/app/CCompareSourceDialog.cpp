#include "CCompareSourceDialog.h"

#include "editor/toolkit/CBaseChoice.h"
#include "editor/windows/CFrameHost.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CCompareSourceDialog::CCompareSourceDialog(CFrameHost& host, const QString& folder,
                                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CompareSourceDialog"));
    setWindowTitle(QString(host.Text("Caption_CompareWith")).remove(u'&'));
    auto* layout = new QVBoxLayout(this);
    m_base = new CBaseChoice({host.Text("Caption_CompareOriginal"),
                              host.Text("Caption_CompareInstallation"),
                              host.Text("Caption_CompareFolder"), host.Text("Caption_Browse")},
                             this);
    // Comparing with another installation is what the command is mostly for.
    m_base->ChooseInstallation(folder);
    layout->addWidget(m_base);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(host.Text("Caption_CompareRun"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(host.Text("Caption_Cancel"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_base, &CBaseChoice::Changed, this, &CCompareSourceDialog::UpdateButtons);
    UpdateButtons();
    m_base->FolderEdit()->setFocus();
}

bool CCompareSourceDialog::Original() const {
    return m_base->Original();
}

QString CCompareSourceDialog::Folder() const {
    return m_base->Folder();
}

void CCompareSourceDialog::UpdateButtons() {
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_base->IsComplete());
}
