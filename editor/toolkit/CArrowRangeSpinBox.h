#pragma once

#include <QSpinBox>

#include <limits>

// A number box for a field with a fixed range: typing and the arrows keep to it, while a stored
// value outside it still shows as it is and stays unless changed (Fill widens the range to take
// it). The arrows may keep to a narrower usual range within it.
class CArrowRangeSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit CArrowRangeSpinBox(int arrowMinimum = std::numeric_limits<int>::min(),
                                int arrowMaximum = std::numeric_limits<int>::max(),
                                QWidget* parent = nullptr);

    // Shows value, limiting what can be typed to low..high and the value itself.
    void Fill(int value, int low, int high);

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    // The arrow range within the limits (the limits alone when the two do not meet).
    int ArrowLow() const;
    int ArrowHigh() const;

    int m_arrowMinimum;
    int m_arrowMaximum;
};
