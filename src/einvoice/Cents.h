#pragma once

#include <QString>
#include <optional>

namespace quillio::einvoice {

// Amounts in whole hundredths, the way the printed invoice and the electronic one show them.
class Cents
{
public:
    // The value in hundredths, rounded half away from zero on its 15-significant-digit decimal
    // form (the digits the editor shows); nothing when it is not finite or too large to count.
    static std::optional<qint64> fromDouble(double value);
    // "1234.50": always a point and two decimals, '-' before a negative amount.
    static QString toXml(qint64 cents);
    // a × b / 10000 rounded half away from zero: cents times a rate in hundredths of a percent.
    static qint64 percentOf(qint64 cents, qint64 rateHundredths);
};

} // namespace quillio::einvoice
