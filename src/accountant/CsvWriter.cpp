#include "accountant/CsvWriter.h"

namespace quillio::accountant {

QString CsvWriter::quoted(const QString& field)
{
    const bool needsQuotes = field.contains(QLatin1Char(separator)) || field.contains(u'"') ||
                             field.contains(u'\r') || field.contains(u'\n');
    if (!needsQuotes)
        return field;
    QString doubled = field;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QString CsvWriter::text(const QString& field)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!field.isEmpty() && formulaStarts.contains(field.front()))
        return u'\'' + field;
    return field;
}

void CsvWriter::addRow(const QStringList& fields)
{
    QStringList written;
    for (const QString& field : fields)
        written.append(quoted(field));
    m_body += written.join(QLatin1Char(separator)).toUtf8();
    m_body += "\r\n";
}

QByteArray CsvWriter::bytes() const
{
    return QByteArray("\xEF\xBB\xBF") + m_body;
}

} // namespace quillio::accountant
