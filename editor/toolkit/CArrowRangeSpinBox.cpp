#include "CArrowRangeSpinBox.h"

#include <algorithm>

CArrowRangeSpinBox::CArrowRangeSpinBox(int arrowMinimum, int arrowMaximum, QWidget* parent)
    : QSpinBox(parent), m_arrowMinimum(arrowMinimum), m_arrowMaximum(arrowMaximum) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

void CArrowRangeSpinBox::Fill(int value, int low, int high) {
    setRange(std::min(low, value), std::max(high, value));
    setValue(value);
}

int CArrowRangeSpinBox::ArrowLow() const {
    const int low = std::max(m_arrowMinimum, minimum());
    return low <= std::min(m_arrowMaximum, maximum()) ? low : minimum();
}

int CArrowRangeSpinBox::ArrowHigh() const {
    const int high = std::min(m_arrowMaximum, maximum());
    return std::max(m_arrowMinimum, minimum()) <= high ? high : maximum();
}

void CArrowRangeSpinBox::stepBy(int steps) {
    // A value outside the range steps to the range's nearer end first.
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, ArrowLow(), ArrowHigh())));
    selectAll();
}

QAbstractSpinBox::StepEnabled CArrowRangeSpinBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < ArrowHigh()) {
        enabled |= StepUpEnabled;
    }
    if (value() > ArrowLow()) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}
