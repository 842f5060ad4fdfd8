#include "CColourFormView.h"

#include "editor/toolkit/CPropertyList.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// The label's text as a screen reader should say it: no mnemonic ampersand, no colon.
QString SpokenText(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (text.endsWith(u':')) {
        text.chop(1);
    }
    return text.trimmed();
}

} // namespace

CColourFormView::CColourFormView(TextLookup lookup, QWidget* parent)
    : QWidget(parent), m_lookup(std::move(lookup)) {
    auto* layout = new QVBoxLayout(this);
    m_body = new QWidget(this);
    layout->addWidget(m_body, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_apply = new QPushButton(QStringLiteral("Caption_Apply"), this);
    m_reset = new QPushButton(QStringLiteral("Caption_Reset"), this);
    // Keys for the page that holds the focus, so several open windows do not compete for them.
    const auto addShortcut = [this](QKeySequence keys, QPushButton* button) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled()) {
                button->click();
            }
        });
    };
    addShortcut(QKeySequence(Qt::ALT | Qt::Key_A), m_apply);
    addShortcut(QKeySequence(Qt::ALT | Qt::Key_R), m_reset);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_reset);
    layout->addLayout(buttons);
    connect(m_apply, &QPushButton::clicked, this, &CColourFormView::ApplyClicked);
    connect(m_reset, &QPushButton::clicked, this, &CColourFormView::ResetClicked);
    // Once the page's own constructor has built its controls: pages not yet shown are read
    // by screen readers too, and must not offer them keys.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_localised) {
                Localise();
            }
        },
        Qt::QueuedConnection);
}

QString CColourFormView::Text(const QString& key) const {
    return m_lookup ? m_lookup(key) : key;
}

void CColourFormView::Localise() {
    m_localised = true;
    // A key without text comes back unchanged, so the control keeps what it shows.
    const auto localised = [this](const QString& text) { return Text(text); };
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setText(localised(label->text()));
        if (QWidget* buddy = label->buddy()) {
            buddy->setAccessibleName(SpokenText(label->text()));
        }
    }
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        button->setText(localised(button->text()));
        if (button->accessibleName().isEmpty()) {
            button->setAccessibleName(SpokenText(button->text()));
        }
    }
    for (QGroupBox* box : findChildren<QGroupBox*>()) {
        box->setTitle(localised(box->title()));
    }
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        for (int i = 0; i < combo->count(); ++i) {
            combo->setItemText(i, localised(combo->itemText(i)));
        }
    }
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (!widget->accessibleName().isEmpty()) {
            widget->setAccessibleName(localised(widget->accessibleName()));
        }
    }
    for (CPropertyList* list : findChildren<CPropertyList*>()) {
        list->SetTextLookup(m_lookup);
    }
}

void CColourFormView::showEvent(QShowEvent* event) {
    if (!m_localised) {
        Localise();
    }
    QWidget::showEvent(event);
}
