#include "dbcontrols/FieldFormat.h"

#include "platform/ConversionError.h"
#include "platform/Platform.h"

#include <QRegularExpression>
#include <cmath>

namespace quillio::dbcontrols {

using engine::FieldType;

namespace {

QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

// The order in which day, month and year stand in the locale's short date format.
QString fieldOrder(const QString& format)
{
    QString order;
    for (const QChar c : format) {
        const QChar key = c.toLower();
        if ((key == u'd' || key == u'm' || key == u'y') && !order.contains(key))
            order += key;
    }
    return order.size() == 3 ? order : QStringLiteral("dmy");
}

int fullYear(int typed, int digits, const QDate& today)
{
    if (digits > 2)
        return typed;
    // The year within fifty years of today that ends in the two digits typed.
    const int century = today.year() - today.year() % 100;
    int year = century + typed;
    if (year > today.year() + 50)
        year -= 100;
    else if (year <= today.year() - 50)
        year += 100;
    return year;
}

} // namespace

QString FieldFormat::shortDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression year(QStringLiteral("y+"));
    format.replace(year, QStringLiteral("yyyy"));
    return format;
}

QString FieldFormat::formatNumber(double value)
{
    return numberLocale().toString(value, 'g', 15);
}

double FieldFormat::parseNumber(const QString& text, bool* ok)
{
    const double value = numberLocale().toDouble(text.trimmed(), ok);
    if (*ok && !std::isfinite(value))
        *ok = false;
    return value;
}

QString FieldFormat::formatDate(const QDate& date)
{
    return QLocale().toString(date, shortDateFormat());
}

QDate FieldFormat::parseDate(const QString& text, const QDate& today)
{
    static const QRegularExpression shape(QStringLiteral("^\\s*(\\d{1,4})\\D(\\d{1,2})\\D(\\d{1,4})\\s*$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch())
        return {};
    const QString order = fieldOrder(QLocale().dateFormat(QLocale::ShortFormat));
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString part = match.captured(i + 1);
        const int number = part.toInt();
        switch (order.at(i).unicode()) {
        case u'd':
            day = part.size() <= 2 ? number : 0;
            break;
        case u'm':
            month = part.size() <= 2 ? number : 0;
            break;
        default:
            if (part.size() == 1 || part.size() == 3)
                return {};
            year = fullYear(number, int(part.size()), today);
        }
    }
    return QDate(year, month, day);
}

QString FieldFormat::display(const QVariant& value, FieldType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Numeric:
        return formatNumber(value.toDouble());
    case FieldType::Date:
        return formatDate(value.toDate());
    case FieldType::AutoInc:
        return QString::number(value.toLongLong());
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

QVariant FieldFormat::parse(const QString& text, FieldType type)
{
    if (type == FieldType::Numeric || type == FieldType::AutoInc) {
        if (text.trimmed().isEmpty())
            return {};
        bool ok = false;
        const double value = parseNumber(text, &ok);
        if (!ok)
            throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        return value;
    }
    if (type == FieldType::Date) {
        if (text.trimmed().isEmpty())
            return {};
        const QDate date = parseDate(text, Platform::clock().today());
        if (!date.isValid())
            throw ConversionError(QStringLiteral("'%1' is not a valid date").arg(text));
        return date;
    }
    if (text.isEmpty())
        return {};
    return text;
}

} // namespace quillio::dbcontrols
