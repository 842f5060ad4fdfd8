#pragma once

#include <QSpinBox>

// A number box whose arrows stay within a range while typing takes any 32-bit number, for
// fields whose usual range is known but whose stored values may lie outside it.
class CArrowRangeSpinBox : public QSpinBox {
    Q_OBJECT
public:
    CArrowRangeSpinBox(int arrowMinimum, int arrowMaximum, QWidget* parent = nullptr);

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_arrowMinimum;
    int m_arrowMaximum;
};
