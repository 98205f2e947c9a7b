#pragma once

#include <QString>

namespace quillio::desktop {

// The program's texts mark line breaks with a carriage return; message boxes break on a newline.
class MessageText
{
public:
    static QString forDisplay(QString text)
    {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return text;
    }
};

} // namespace quillio::desktop
