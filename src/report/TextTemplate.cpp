#include "report/TextTemplate.h"

#include "report/ReportParameters.h"

#include <algorithm>

namespace quillio::report {

namespace {

bool isNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'#';
}

bool isValidName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name)
        if (!isNameCharacter(c))
            return false;
    return true;
}

} // namespace

TextTemplate TextTemplate::parse(const QString& text, QString* error)
{
    TextTemplate result;
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype start = text.indexOf(QStringLiteral("${"), position);
        if (start < 0) {
            result.m_segments.append({text.mid(position), false});
            break;
        }
        if (start > position)
            result.m_segments.append({text.mid(position, start - position), false});
        const qsizetype end = text.indexOf(u'}', start + 2);
        if (end < 0) {
            *error = QStringLiteral("the placeholder \"%1\" has no closing \"}\"").arg(text.mid(start, 20));
            return {};
        }
        const QString name = text.mid(start + 2, end - start - 2);
        if (!isValidName(name)) {
            *error = QStringLiteral("\"%1\" is not a valid placeholder name").arg(name);
            return {};
        }
        result.m_segments.append({name, true});
        position = end + 1;
    }
    return result;
}

QString TextTemplate::nameForRow(const QString& name, int row, int digits)
{
    if (row < 0)
        return name;
    QString copy = name;
    return copy.replace(u'#', QStringLiteral("%1").arg(row, digits, 10, QLatin1Char('0')));
}

QString TextTemplate::valueOf(const QString& name, const ReportParameters& parameters,
                              const ReportParameters* page)
{
    return page && page->contains(name) ? page->value(name) : parameters.value(name);
}

QString TextTemplate::fill(const ReportParameters& parameters, int row, int digits,
                           const ReportParameters* page) const
{
    QString text;
    for (const Segment& segment : m_segments)
        text += segment.placeholder ? valueOf(nameForRow(segment.text, row, digits), parameters, page)
                                    : segment.text;
    return text;
}

bool TextTemplate::hasPlaceholders() const
{
    return std::any_of(m_segments.cbegin(), m_segments.cend(),
                       [](const Segment& s) { return s.placeholder; });
}

bool TextTemplate::allPlaceholdersEmpty(const ReportParameters& parameters, int row, int digits,
                                        const ReportParameters* page) const
{
    bool anyPlaceholder = false;
    for (const Segment& segment : m_segments) {
        if (!segment.placeholder)
            continue;
        anyPlaceholder = true;
        if (!valueOf(nameForRow(segment.text, row, digits), parameters, page).isEmpty())
            return false;
    }
    return anyPlaceholder;
}

} // namespace quillio::report
