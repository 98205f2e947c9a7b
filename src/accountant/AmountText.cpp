#include "accountant/AmountText.h"

namespace quillio::accountant {

namespace {

quint64 magnitudeOf(qint64 cents)
{
    return cents < 0 ? 0 - quint64(cents) : quint64(cents);
}

QString withGroups(quint64 whole)
{
    QString digits = QString::number(whole);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u'.');
    return digits;
}

QString written(qint64 cents, bool group)
{
    const quint64 magnitude = magnitudeOf(cents);
    const QString whole = group ? withGroups(magnitude / 100) : QString::number(magnitude / 100);
    return QStringLiteral("%1%2,%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString(), whole)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

QString AmountText::plain(qint64 cents)
{
    return written(cents, false);
}

QString AmountText::grouped(qint64 cents)
{
    return written(cents, true);
}

QString AmountText::rate(std::optional<qint64> hundredths)
{
    if (!hundredths)
        return {};
    const quint64 magnitude = magnitudeOf(*hundredths);
    QString fraction = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    const QString sign = *hundredths < 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(magnitude / 100) + (fraction.isEmpty() ? QString() : u',' + fraction);
}

} // namespace quillio::accountant
