#include "recordbody/KeyRules.h"

namespace quillio::recordbody {

QChar KeyRules::decimalPoint(QChar typed, const QLocale& locale)
{
    if (typed != u'.')
        return typed;
    const QString separator = locale.decimalPoint();
    return separator.isEmpty() ? typed : separator.at(0);
}

bool KeyRules::acceptsInNumber(QChar typed, const QLocale& locale)
{
    if (typed.isDigit() || typed == u'+' || typed == u'-' || typed == u'E' || typed == u'e')
        return true;
    return QString(typed) == locale.decimalPoint();
}

} // namespace quillio::recordbody
