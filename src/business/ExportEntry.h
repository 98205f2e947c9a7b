#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace quillio::business {

// One electronic-invoice file written for an invoice.
struct ExportEntry
{
    int year = 0;
    qint64 number = 0;
    QString progressive;
    QString fileName;
    QDateTime exported;
    QByteArray sha256;  // hex
    QByteArray content; // the file as written: the legal invoice, kept with the books
};

} // namespace quillio::business
