#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QSlider;

// One attribute: its name, a number box and a bar from 0 to 100 that follow each other. The
// box refuses anything but a number from 0 to 100 and says why in the status bar and a tool
// tip, until the next accepted edit or the bar is hidden (its page left). A read-only bar (the
// overall rating) has its own look and cannot be dragged.
class CAttributeBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaximum = 100;

    // `labelText` may be a localisation key (the form localises it); `refusal` is the message
    // shown for a refused keystroke.
    CAttributeBar(const QString& labelText, const QString& refusal, QWidget* parent = nullptr);

    // Fill: a value outside 0 to 100 is shown clamped.
    void SetValue(int value);
    int Value() const;
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_readOnly; }

    QLabel* Label() const { return m_label; }
    QLineEdit* Box() const { return m_box; }
    QSlider* Bar() const { return m_bar; }
    QString LastRefusal() const { return m_lastRefusal; }

signals:
    // The user typed a number or dragged the bar.
    void ValueEdited(int value);
    void InputRefused(const QString& message);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void OnTextEdited(const QString& text);
    void OnBarMoved(int value);
    void Refuse();
    void ClearStatus();

    QLabel* m_label;
    QLineEdit* m_box;
    QSlider* m_bar;
    QString m_refusal;
    QString m_lastRefusal;
    bool m_readOnly = false;
    bool m_statusShown = false;
};
