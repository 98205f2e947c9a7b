#include "workingyear/YearText.h"

#include <QRegularExpression>
#include <QStringList>

namespace quillio::workingyear {

namespace {

bool isRooted(const QString& text)
{
    const bool separatorFirst = text.startsWith(u'/') || text.startsWith(u'\\');
    const bool drivePrefix = text.size() >= 2 && text.at(1) == u':' && text.at(0).isLetter();
    return separatorFirst || drivePrefix;
}

} // namespace

bool YearText::staysInDataDirectory(const QString& text)
{
    if (text.isEmpty() || isRooted(text))
        return false;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    bool namesALevel = false;
    for (const QString& level : text.split(separators)) {
        if (level == QLatin1String(".."))
            return false;
        if (!level.isEmpty() && level != QLatin1String("."))
            namesALevel = true;
    }
    // Only "." and empty levels would name the data directory itself.
    return namesALevel;
}

} // namespace quillio::workingyear
