#include "einvoice/Cents.h"

#include <cmath>

namespace quillio::einvoice {

std::optional<qint64> Cents::fromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // "d.dddddddddddddde±x": the fifteen digits the editor shows and their exponent.
    const QString scientific = QString::number(std::fabs(value), 'e', 14);
    const qsizetype e = scientific.indexOf(u'e');
    const qint64 digits = QString(scientific.left(e)).remove(u'.').toLongLong();
    const int shift = scientific.mid(e + 1).toInt() - 14 + 2; // power of ten from the digits to hundredths
    if (shift > 3)
        return std::nullopt;
    qint64 result = digits;
    if (shift >= 0) {
        for (int i = 0; i < shift; ++i)
            result *= 10;
    } else if (shift < -15) {
        result = 0;
    } else {
        qint64 divisor = 1;
        for (int i = 0; i < -shift; ++i)
            divisor *= 10;
        result = digits / divisor + ((digits % divisor) * 2 >= divisor ? 1 : 0);
    }
    return value < 0 ? -result : result;
}

QString Cents::toXml(qint64 cents)
{
    // Unsigned, so that the most negative value has a magnitude too.
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

qint64 Cents::percentOf(qint64 cents, qint64 rateHundredths)
{
    // Wide enough for any qint64 amount times a rate up to 100 %.
    const __int128 product = __int128(cents) * rateHundredths;
    __int128 quotient = product / 10000;
    const __int128 remainder = product % 10000;
    if ((remainder < 0 ? -remainder : remainder) * 2 >= 10000)
        quotient += product < 0 ? -1 : 1;
    return qint64(quotient);
}

} // namespace quillio::einvoice
