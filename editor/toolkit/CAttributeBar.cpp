#include "CAttributeBar.h"

#include "editor/toolkit/CPercentValidator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStatusTipEvent>
#include <QToolTip>

#include <algorithm>

CAttributeBar::CAttributeBar(const QString& labelText, const QString& refusal, QWidget* parent)
    : QWidget(parent), m_refusal(refusal) {
    m_label = new QLabel(labelText, this);
    m_box = new QLineEdit(this);
    m_box->setAlignment(Qt::AlignRight);
    m_box->setFixedWidth(m_box->fontMetrics().horizontalAdvance(QStringLiteral("1000")) + 12);
    auto* validator = new CPercentValidator(m_box);
    m_box->setValidator(validator);
    m_bar = new QSlider(Qt::Horizontal, this);
    m_bar->setRange(0, kMaximum);
    m_bar->setPageStep(10);
    m_label->setBuddy(m_box);
    // Localised with the form's other keys.
    m_box->setAccessibleName(labelText);
    m_bar->setAccessibleName(labelText);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    layout->addWidget(m_box);
    layout->addWidget(m_bar, 1);
    setFocusProxy(m_box);
    connect(validator, &CPercentValidator::Refused, this, &CAttributeBar::Refuse);
    connect(m_box, &QLineEdit::textEdited, this, &CAttributeBar::OnTextEdited);
    connect(m_bar, &QSlider::valueChanged, this, &CAttributeBar::OnBarMoved);
    SetValue(0);
}

void CAttributeBar::SetValue(int value) {
    const int clamped = std::clamp(value, 0, kMaximum);
    const QSignalBlocker blockBar(m_bar);
    m_bar->setValue(clamped);
    m_box->setText(QString::number(clamped));
}

int CAttributeBar::Value() const {
    return m_bar->value();
}

void CAttributeBar::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    m_box->setEnabled(!readOnly);
    m_bar->setEnabled(!readOnly);
    m_bar->setStyleSheet(
        readOnly ? QStringLiteral("QSlider::groove:horizontal { height: 8px; background: #3a3a3a;"
                                  " border-radius: 4px; }"
                                  "QSlider::sub-page:horizontal { background: #d8a018;"
                                  " border-radius: 4px; }"
                                  "QSlider::handle:horizontal { width: 0px; }")
                 : QString());
}

void CAttributeBar::OnTextEdited(const QString& text) {
    ClearStatus();
    // The validator lets through only digits up to 100; empty reads as 0.
    const int value = text.isEmpty() ? 0 : text.toInt();
    const QSignalBlocker blockBar(m_bar);
    m_bar->setValue(value);
    emit ValueEdited(value);
}

void CAttributeBar::OnBarMoved(int value) {
    ClearStatus();
    m_box->setText(QString::number(value));
    emit ValueEdited(value);
}

void CAttributeBar::Refuse() {
    m_lastRefusal = m_refusal;
    QToolTip::showText(m_box->mapToGlobal(QPoint(0, m_box->height())), m_refusal, m_box);
    // Reaches the main window's status bar through the parents.
    QStatusTipEvent tip(m_refusal);
    QApplication::sendEvent(this, &tip);
    m_statusShown = true;
    emit InputRefused(m_refusal);
}

void CAttributeBar::ClearStatus() {
    // Only the message this bar put there: another control's stays.
    if (!m_statusShown)
        return;
    m_statusShown = false;
    QStatusTipEvent tip{QString()};
    QApplication::sendEvent(this, &tip);
}

void CAttributeBar::hideEvent(QHideEvent* event) {
    ClearStatus();
    QWidget::hideEvent(event);
}
