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
    // A text cell as a spreadsheet must show it: one that starts like a formula (= + - @) or with
    // a tab or a carriage return gets a leading apostrophe, so it is shown as text and never run.
    // Only for cells that hold text: a number column keeps its sign ("-12,50" stays a number).
    static QString text(const QString& field);

private:
    QByteArray m_body;
};

} // namespace quillio::accountant
