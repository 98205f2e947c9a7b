#pragma once

#include <QLocale>
#include <QTime>

namespace quillio::app {

// The clock's text: the locale's long time format (with seconds), without a time-zone name.
class ClockText
{
public:
    static QString format(const QTime& time, const QLocale& locale = QLocale());
    // The locale's long time format with any time-zone field taken out.
    static QString timeFormat(const QLocale& locale = QLocale());
};

} // namespace quillio::app
