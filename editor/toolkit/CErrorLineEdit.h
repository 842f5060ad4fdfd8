#pragma once

#include <QLineEdit>

// A line edit that marks a fault in its text without a message box: a red wavy underline from
// the fault's character on, the message as tool tip and accessible description.
class CErrorLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CErrorLineEdit(QWidget* parent = nullptr);

    // column: the fault's character, counted from 1 as messages count (one past the end for a
    // fault at the end of the text).
    void ShowError(int column, const QString& message);
    void ClearError();
    const QString& ErrorMessage() const { return m_error; }
    // The underlined range of the text, as (start, length); length 0 when there is none.
    QPair<int, int> ErrorRange() const { return m_range; }

    void SetHint(const QString& hint);

private:
    void ApplyFormat();

    QString m_error;
    QString m_hint;
    QPair<int, int> m_range{0, 0};
};
