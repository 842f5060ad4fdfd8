#pragma once

#include <QValidator>

// Accepts only decimal digits making a number from 0 to 100 (empty reads as 0); tells why it
// refused a keystroke.
class CPercentValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;

signals:
    void Refused() const;
};
