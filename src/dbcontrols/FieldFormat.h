#pragma once

#include "engine/FieldDef.h"

#include <QDate>
#include <QLocale>
#include <QVariant>

namespace quillio::dbcontrols {

// How field values are shown in data-bound controls and how typed text becomes a value again,
// following the default locale. Numbers use the general format: up to 15 significant digits, the
// locale's decimal separator, no group separator. Dates use the locale's short format with a
// four-digit year. An empty text is a null value.
class FieldFormat
{
public:
    static QString display(const QVariant& value, engine::FieldType type);
    // Raises ConversionError "'%s' is not a valid floating point value" or "'%s' is not a valid date".
    static QVariant parse(const QString& text, engine::FieldType type);

    static QString formatNumber(double value);
    static double parseNumber(const QString& text, bool* ok);
    // d/M/yyyy as well as dd/MM/yyyy (in the locale's order and separator); a two-digit year is
    // the year within fifty years of `today`. An invalid QDate when the text is not a date.
    static QDate parseDate(const QString& text, const QDate& today);
    static QString formatDate(const QDate& date);
    // The locale's short date format, widened to a four-digit year.
    static QString shortDateFormat(const QLocale& locale = QLocale());
};

} // namespace quillio::dbcontrols
