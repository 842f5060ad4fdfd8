#include "CPercentValidator.h"

QValidator::State CPercentValidator::validate(QString& input, int&) const {
    if (input.isEmpty()) {
        return Acceptable;
    }
    for (const QChar c : input) {
        if (c < u'0' || c > u'9') {
            emit Refused();
            return Invalid;
        }
    }
    // Digits only, so a long run of them is simply too large.
    if (input.size() > 3 || input.toInt() > 100) {
        emit Refused();
        return Invalid;
    }
    return Acceptable;
}
