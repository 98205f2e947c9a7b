#include "platform/PlainName.h"

namespace quillio {

namespace {

constexpr qsizetype LongestSegment = 100;

bool isForbiddenCharacter(QChar c)
{
    return c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7f ||
           c.category() == QChar::Other_Format || c.category() == QChar::Separator_Line ||
           c.category() == QChar::Separator_Paragraph;
}

} // namespace

bool PlainName::isSegment(const QString& name)
{
    if (name.isEmpty() || name.size() > LongestSegment || name == u"." || name == u"..")
        return false;
    if (name.front().isSpace() || name.back().isSpace() || name.back() == u'.')
        return false;
    for (const QChar c : name)
        if (isForbiddenCharacter(c))
            return false;
    return true;
}

bool PlainName::isYear(const QString& name)
{
    return isSegment(name) && !name.startsWith(u'.');
}

} // namespace quillio
