#include "engine/FieldCodec.h"

#include "engine/SqliteStatement.h"
#include "engine/Values.h"
#include "platform/ConversionError.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <sqlite3.h>

namespace quillio::engine {

namespace {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

QString cutToWidth(QString text, int width)
{
    if (width > 0 && text.size() > width) {
        // Never leave half of a surrogate pair at the end.
        int end = width;
        if (text.at(end - 1).isHighSurrogate())
            --end;
        text.truncate(end);
    }
    return text;
}

double parseNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        number = QLocale().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return number;
}

QDate parseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (!date.isValid())
        date = QLocale().toDate(trimmed, QLocale::ShortFormat);
    if (!date.isValid())
        date = QLocale().toDate(trimmed, QStringLiteral("d/M/yyyy"));
    if (!date.isValid())
        throw ConversionError(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

bool parseBoolean(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || trimmed == QLatin1String("1"))
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || trimmed == QLatin1String("0"))
        return false;
    throw ConversionError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
}

[[noreturn]] void refuse(const QVariant& value, const char* target)
{
    throw ConversionError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                              .arg(FieldCodec::typeName(value), QLatin1String(target)));
}

QString textOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (!value.canConvert<QString>())
        refuse(value, "String");
    return value.toString();
}

} // namespace

QVariant FieldCodec::convert(const FieldDef& field, const QVariant& value)
{
    if (Values::isNull(value))
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    if (isText && value.toString().isEmpty())
        return {};

    switch (field.type) {
    case FieldType::Char: {
        const QString text = cutToWidth(textOf(value), field.width);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Memo: {
        const QString text = textOf(value);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Numeric:
        if (isText)
            return parseNumber(value.toString());
        if (isNumber(value)) {
            const double number = value.toDouble();
            if (!std::isfinite(number))
                refuse(value, "Double");
            return number;
        }
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? 1.0 : 0.0;
        refuse(value, "Double");
    case FieldType::Date:
        if (isText)
            return parseDate(value.toString());
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().isValid() ? value : QVariant();
        if (value.typeId() == QMetaType::QDateTime) {
            const QDate date = value.toDateTime().date();
            return date.isValid() ? QVariant(date) : QVariant();
        }
        refuse(value, "Date");
    case FieldType::Boolean:
        if (isText)
            return parseBoolean(value.toString());
        if (value.typeId() == QMetaType::Bool)
            return value;
        if (isNumber(value))
            return value.toDouble() != 0.0;
        refuse(value, "Boolean");
    case FieldType::AutoInc:
        if (isNumber(value))
            return value.toLongLong();
        refuse(value, "Integer");
    }
    return {};
}

void FieldCodec::bind(SqliteStatement& statement, int index, FieldType type, const QVariant& value)
{
    if (Values::isNull(value)) {
        statement.bindNull(index);
        return;
    }
    switch (type) {
    case FieldType::Char:
    case FieldType::Memo:
        statement.bindText(index, value.toString());
        break;
    case FieldType::Numeric:
        statement.bindDouble(index, value.toDouble());
        break;
    case FieldType::Date:
        statement.bindText(index, value.toDate().toString(Qt::ISODate));
        break;
    case FieldType::Boolean:
        statement.bindInt64(index, value.toBool() ? 1 : 0);
        break;
    case FieldType::AutoInc:
        statement.bindInt64(index, value.toLongLong());
        break;
    }
}

QVariant FieldCodec::read(sqlite3_stmt* statement, int column, FieldType type)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL)
        return blank(type);
    switch (type) {
    case FieldType::Char:
    case FieldType::Memo: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        if (size == 0)
            return blank(type);
        return QString::fromUtf8(text, size);
    }
    case FieldType::Numeric:
        return sqlite3_column_double(statement, column);
    case FieldType::Date: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const QDate date =
            QDate::fromString(QLatin1String(text, sqlite3_column_bytes(statement, column)), Qt::ISODate);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case FieldType::Boolean:
        return sqlite3_column_int64(statement, column) != 0;
    case FieldType::AutoInc: {
        const qint64 number = sqlite3_column_int64(statement, column);
        if (number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
            return int(number);
        return number;
    }
    }
    return {};
}

std::optional<QByteArray> FieldCodec::serverText(FieldType type, const QVariant& value)
{
    if (Values::isNull(value))
        return std::nullopt;
    switch (type) {
    case FieldType::Char:
    case FieldType::Memo:
        return value.toString().toUtf8();
    case FieldType::Numeric:
        return QByteArray::number(value.toDouble(), 'g', 17);
    case FieldType::Date:
        return value.toDate().toString(Qt::ISODate).toLatin1();
    case FieldType::Boolean:
        return QByteArray(value.toBool() ? "t" : "f");
    case FieldType::AutoInc:
        return QByteArray::number(value.toLongLong());
    }
    return std::nullopt;
}

QVariant FieldCodec::fromServerText(FieldType type, const QByteArray& text, bool isNull)
{
    if (isNull)
        return blank(type);
    switch (type) {
    case FieldType::Char:
    case FieldType::Memo:
        return text.isEmpty() ? blank(type) : QVariant(QString::fromUtf8(text));
    case FieldType::Numeric:
        return text.toDouble();
    case FieldType::Date: {
        const QDate date = QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case FieldType::Boolean:
        return text == "t";
    case FieldType::AutoInc: {
        const qint64 number = text.toLongLong();
        if (number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
            return int(number);
        return number;
    }
    }
    return {};
}

QVariant FieldCodec::blank(FieldType type)
{
    if (type == FieldType::Memo)
        return QString(QLatin1String(""));
    return {};
}

QString FieldCodec::typeName(const QVariant& value)
{
    if (Values::isNull(value))
        return QStringLiteral("Null");
    switch (value.typeId()) {
    case QMetaType::QString:
        return QStringLiteral("String");
    case QMetaType::Double:
    case QMetaType::Float:
        return QStringLiteral("Double");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
        return QStringLiteral("Integer");
    case QMetaType::LongLong:
        return QStringLiteral("Int64");
    case QMetaType::Bool:
        return QStringLiteral("Boolean");
    case QMetaType::QDate:
        return QStringLiteral("Date");
    case QMetaType::QDateTime:
        return QStringLiteral("DateTime");
    default:
        return QString::fromLatin1(value.typeName());
    }
}

} // namespace quillio::engine
