#pragma once

#include "editor/toolkit/TextLookup.h"

#include <QWidget>

class QPushButton;
class QVBoxLayout;

// The base of every form page: a body the page fills with its controls and, at the bottom
// right, "Caption_Apply" and "Caption_Reset". As soon as the page is built (or at its first
// show, if that comes first), every child control whose text is a localisation key gets the
// key's text; a label's text also becomes the accessible name of its buddy.
class CColourFormView : public QWidget {
    Q_OBJECT
public:
    explicit CColourFormView(TextLookup lookup, QWidget* parent = nullptr);

    // The page lays its controls out in this widget.
    QWidget* Body() const { return m_body; }
    QPushButton* ApplyButton() const { return m_apply; }
    QPushButton* ResetButton() const { return m_reset; }

    QString Text(const QString& key) const;
    const TextLookup& Lookup() const { return m_lookup; }
    // Replaces keys by their texts now (done once, when the page is built or first shown).
    void Localise();
    bool IsLocalised() const { return m_localised; }

signals:
    void ApplyClicked();
    void ResetClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TextLookup m_lookup;
    QWidget* m_body;
    QPushButton* m_apply;
    QPushButton* m_reset;
    bool m_localised = false;
};
