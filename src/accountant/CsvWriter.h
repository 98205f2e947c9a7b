#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillio::accountant {

// A CSV file in the form Italian spreadsheets open with a double-click: UTF-8 with a byte-order
// mark, ';' between fields, CR LF between rows, and RFC 4180 quoting: a field holding the
// separator, a quote, CR or LF is written between quotes, its quotes doubled.
class CsvWriter
{
public:
    static constexpr char separator = ';';

    void addRow(const QStringList& fields);
    // The whole file, mark included.
    QByteArray bytes() const;

    static QString quoted(const QString& field);

private:
    QByteArray m_body;
};

} // namespace quillio::accountant
