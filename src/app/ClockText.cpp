#include "app/ClockText.h"

#include <QRegularExpression>

namespace quillio::app {

QString ClockText::timeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    // "t" (and its longer forms) is the zone; quoted literals are left alone.
    static const QRegularExpression zone(QStringLiteral("('[^']*')|\\s*t+\\s*"));
    QString result;
    qsizetype last = 0;
    for (auto it = zone.globalMatch(format); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += format.mid(last, match.capturedStart() - last);
        if (!match.captured(1).isEmpty())
            result += match.captured(1);
        else if (match.capturedStart() > 0 && match.capturedEnd() < format.size())
            result += QLatin1Char(' ');
        last = match.capturedEnd();
    }
    result += format.mid(last);
    return result.trimmed();
}

QString ClockText::format(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, timeFormat(locale));
}

} // namespace quillio::app
