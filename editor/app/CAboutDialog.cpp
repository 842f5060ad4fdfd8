#include "CAboutDialog.h"

#include "CKestrelApp.h"
#include "CToolBarIcons.h"
#include "editor/localisation/CLocalisationTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

CAboutDialog::CAboutDialog(const CLocalisationTable& texts, const std::function<void()>& showHelp,
                           QWidget* parent)
    : QDialog(parent) {
    const auto text = [&texts](const char* key) {
        return QString::fromStdString(texts.Lookup(key));
    };
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(text("Menu_HelpAbout").remove(u'&'));

    auto* icon = new QLabel(this);
    icon->setPixmap(CToolBarIcons::Application().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    icon->setAccessibleName(QStringLiteral("Kestrel"));

    const QString homepage = QStringLiteral(KESTREL_HOMEPAGE);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("AboutText"));
    m_text->setTextFormat(Qt::RichText);
    m_text->setOpenExternalLinks(true);
    m_text->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_text->setText(QStringLiteral("<h2>Kestrel</h2><p>%1 %2</p><p>%3</p><p>%4</p>"
                                   "<p><a href=\"%5\">%5</a></p>")
                        .arg(text("Caption_Version").toHtmlEscaped(),
                             CKestrelApp::VersionText().toHtmlEscaped(),
                             text("Caption_Tagline").toHtmlEscaped(),
                             text("Caption_Licence").toHtmlEscaped(), homepage.toHtmlEscaped()));
    m_text->setAccessibleName(Text());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(text("Caption_Close"));
    QPushButton* help =
        buttons->addButton(text("Caption_Documentation"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("DocumentationButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this, showHelp] {
        accept();
        showHelp();
    });

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
}

QString CAboutDialog::Text() const {
    QTextDocument document;
    document.setHtml(m_text->text());
    return document.toPlainText().simplified();
}
