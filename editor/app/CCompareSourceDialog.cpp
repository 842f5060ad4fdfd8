#include "CCompareSourceDialog.h"

#include "editor/windows/CFrameHost.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString Plain(const QString& caption) {
    return QString(caption).remove(u'&');
}

} // namespace

CCompareSourceDialog::CCompareSourceDialog(CFrameHost& host, const QString& folder,
                                           QWidget* parent)
    : QDialog(parent), m_host(host) {
    setObjectName(QStringLiteral("CompareSourceDialog"));
    setWindowTitle(Plain(host.Text("Caption_CompareWith")));
    auto* layout = new QVBoxLayout(this);
    m_installation = new QRadioButton(host.Text("Caption_CompareInstallation"), this);
    m_installation->setObjectName(QStringLiteral("CompareInstallation"));
    m_installation->setAccessibleName(Plain(m_installation->text()));
    layout->addWidget(m_installation);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(24, 0, 0, 0);
    m_folder = new QLineEdit(QDir::toNativeSeparators(folder), this);
    m_folder->setObjectName(QStringLiteral("CompareFolder"));
    m_folder->setAccessibleName(Plain(host.Text("Caption_CompareFolder")));
    m_folder->setMinimumWidth(320);
    m_browse = new QPushButton(host.Text("Caption_Browse"), this);
    m_browse->setObjectName(QStringLiteral("CompareBrowse"));
    m_browse->setAccessibleName(Plain(m_browse->text()));
    row->addWidget(m_folder, 1);
    row->addWidget(m_browse);
    layout->addLayout(row);
    m_original = new QRadioButton(host.Text("Caption_CompareOriginal"), this);
    m_original->setObjectName(QStringLiteral("CompareOriginal"));
    m_original->setAccessibleName(Plain(m_original->text()));
    layout->addWidget(m_original);
    m_installation->setChecked(true);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(host.Text("Caption_CompareRun"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(host.Text("Caption_Cancel"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_browse, &QPushButton::clicked, this, &CCompareSourceDialog::Browse);
    connect(m_folder, &QLineEdit::textChanged, this, [this] {
        m_installation->setChecked(true);
        UpdateButtons();
    });
    connect(m_installation, &QRadioButton::toggled, this, &CCompareSourceDialog::UpdateButtons);
    UpdateButtons();
    m_folder->setFocus();
}

bool CCompareSourceDialog::Original() const {
    return m_original->isChecked();
}

QString CCompareSourceDialog::Folder() const {
    return Original() ? QString() : QDir::fromNativeSeparators(m_folder->text().trimmed());
}

void CCompareSourceDialog::Browse() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, Plain(m_host.Text("Caption_CompareFolder")), m_folder->text().trimmed());
    if (!chosen.isEmpty()) {
        m_folder->setText(QDir::toNativeSeparators(chosen));
    }
}

void CCompareSourceDialog::UpdateButtons() {
    m_buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(Original() || !m_folder->text().trimmed().isEmpty());
}
