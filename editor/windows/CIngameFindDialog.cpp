#include "CIngameFindDialog.h"

#include "editor/windows/CFrameHost.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Plain(QString text) {
    return text.remove(u'&');
}

} // namespace

CIngameFindDialog::CIngameFindDialog(CFrameHost& host, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IngameFindDialog"));
    setWindowTitle(Plain(host.Text("Caption_Find")));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setMinimumWidth(280);
    auto* label = new QLabel(host.Text("Caption_FindWhat"), this);
    label->setBuddy(m_text);
    m_text->setAccessibleName(Plain(label->text()));
    form->addRow(label, m_text);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    m_findNext = buttons->addButton(host.Text("Caption_FindNext"), QDialogButtonBox::ActionRole);
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setAccessibleName(Plain(m_findNext->text()));
    m_findNext->setDefault(true);
    m_findNext->setEnabled(false);
    QPushButton* close =
        buttons->addButton(host.Text("Caption_Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    close->setAccessibleName(Plain(close->text()));
    close->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNext->setEnabled(!text.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, [this] { emit FindNext(m_text->text()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
}
