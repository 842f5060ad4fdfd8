#include "CFindDialog.h"

#include "editor/dialogs/CUserPrompts.h"
#include "editor/localisation/CLocalisationTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CFindDialog::CFindDialog(const CLocalisationTable& texts, const CFindSettings& settings,
                         QWidget* parent)
    : QDialog(parent), m_texts(texts) {
    auto tr = [&](const char* key) { return QString::fromStdString(m_texts.Lookup(key)); };
    setWindowTitle(tr("Caption_Find"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_text = new QLineEdit(settings.text, this);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setMinimumWidth(260);
    form->addRow(tr("Caption_Find"), m_text);
    layout->addLayout(form);

    auto* group = new QGroupBox(tr("Caption_FindIn"), this);
    auto* groupLayout = new QVBoxLayout(group);
    m_leagues = new QCheckBox(tr("Caption_Comps"), group);
    m_teams = new QCheckBox(tr("Caption_Teams"), group);
    m_players = new QCheckBox(tr("Caption_Players"), group);
    m_leagues->setChecked(settings.leagues);
    m_teams->setChecked(settings.teams);
    m_players->setChecked(settings.players);
    groupLayout->addWidget(m_leagues);
    groupLayout->addWidget(m_teams);
    groupLayout->addWidget(m_players);
    layout->addWidget(group);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Caption_OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Caption_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CFindDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFindDialog::reject);
    layout->addWidget(buttons);
    m_text->selectAll();
    m_text->setFocus();
}

CFindSettings CFindDialog::Settings() const {
    CFindSettings s;
    s.text = m_text->text();
    s.leagues = m_leagues->isChecked();
    s.teams = m_teams->isChecked();
    s.players = m_players->isChecked();
    return s;
}

void CFindDialog::accept() {
    const CFindSettings s = Settings();
    if (s.text.isEmpty()) {
        CUserPrompts::Inform(this, QString::fromStdString(m_texts.Lookup("Message_NothingToFind")));
        m_text->setFocus();
        return;
    }
    if (!s.leagues && !s.teams && !s.players) {
        CUserPrompts::Inform(
            this, QString::fromStdString(m_texts.Lookup("Message_SelectSearchInOption")));
        return;
    }
    QDialog::accept();
}
