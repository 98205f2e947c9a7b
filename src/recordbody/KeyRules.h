#pragma once

#include <QChar>
#include <QLocale>

namespace quillio::recordbody {

// The keyboard rules of the numeric fields of the record body.
class KeyRules
{
public:
    // In amounts and totals a typed "." stands for the locale's decimal separator.
    static QChar decimalPoint(QChar typed, const QLocale& locale = QLocale());
    // Numeric fields take digits, signs, an exponent and the locale's decimal separator.
    static bool acceptsInNumber(QChar typed, const QLocale& locale = QLocale());
};

} // namespace quillio::recordbody
