#include "CArrowRangeSpinBox.h"

#include <algorithm>
#include <limits>

CArrowRangeSpinBox::CArrowRangeSpinBox(int arrowMinimum, int arrowMaximum, QWidget* parent)
    : QSpinBox(parent), m_arrowMinimum(arrowMinimum), m_arrowMaximum(arrowMaximum) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

void CArrowRangeSpinBox::stepBy(int steps) {
    // A value outside the range steps to the range's nearer end first.
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, m_arrowMinimum, m_arrowMaximum)));
    selectAll();
}

QAbstractSpinBox::StepEnabled CArrowRangeSpinBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() < m_arrowMaximum) {
        enabled |= StepUpEnabled;
    }
    if (value() > m_arrowMinimum) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}
