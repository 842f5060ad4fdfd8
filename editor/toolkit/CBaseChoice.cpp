#include "CBaseChoice.h"

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

CBaseChoice::CBaseChoice(const STexts& texts, QWidget* parent)
    : QWidget(parent), m_folderCaption(Plain(texts.folder)) {
    m_original = new QRadioButton(texts.original, this);
    m_original->setObjectName(QStringLiteral("baseOriginal"));
    m_original->setAccessibleName(Plain(texts.original));
    m_original->setChecked(true);
    m_installation = new QRadioButton(texts.installation, this);
    m_installation->setObjectName(QStringLiteral("baseInstallation"));
    m_installation->setAccessibleName(Plain(texts.installation));
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("baseFolder"));
    m_folder->setAccessibleName(m_folderCaption);
    m_folder->setMinimumWidth(320);
    m_browse = new QPushButton(texts.browse, this);
    m_browse->setObjectName(QStringLiteral("baseBrowse"));
    m_browse->setAccessibleName(Plain(texts.browse));
    // Return in the folder's box is the dialog's button, not Browse.
    m_browse->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_original);
    layout->addWidget(m_installation);
    auto* folderRow = new QHBoxLayout;
    folderRow->setContentsMargins(20, 0, 0, 0);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);
    layout->addLayout(folderRow);

    connect(m_installation, &QRadioButton::toggled, this, [this] {
        UpdateState();
        emit Changed();
    });
    connect(m_folder, &QLineEdit::textChanged, this, &CBaseChoice::Changed);
    connect(m_browse, &QPushButton::clicked, this, &CBaseChoice::Browse);
    UpdateState();
}

bool CBaseChoice::Original() const {
    return m_original->isChecked();
}

QString CBaseChoice::Folder() const {
    return Original() ? QString() : QDir::fromNativeSeparators(m_folder->text().trimmed());
}

void CBaseChoice::ChooseInstallation(const QString& folder) {
    m_folder->setText(QDir::toNativeSeparators(folder));
    m_installation->setChecked(true);
}

bool CBaseChoice::IsComplete() const {
    return Original() || !m_folder->text().trimmed().isEmpty();
}

void CBaseChoice::Browse() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, m_folderCaption, m_folder->text().trimmed());
    if (!chosen.isEmpty()) {
        ChooseInstallation(chosen);
    }
}

void CBaseChoice::UpdateState() {
    const bool installation = m_installation->isChecked();
    m_folder->setEnabled(installation);
    m_browse->setEnabled(installation);
}
