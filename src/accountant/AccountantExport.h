#pragma once

#include "accountant/SalesRegister.h"

#include <QString>
#include <QStringList>

namespace quillio::accountant {

// What the accountant receives for a period of a working year, written into one folder:
// "Fatture-AAAA.csv", "Registro-IVA-AAAA.pdf" and, when electronic invoices of the period were
// written, "Fatture-elettroniche-AAAA.zip" with their XML files. Reads the year's invoice table
// with a session of its own and the company file of the data directory.
class AccountantExport
{
public:
    // Where the export reads from.
    struct Source
    {
        QString dataDirectory; // a folder or a server address
        QString invoicesFile;  // the table file of the invoices
        QString layoutPath;    // the register's layout

        // What the settings name now; the layout is the program's own.
        static Source ofSettings();
        // The data directory and the invoices' table file given. The layout is the one beside the
        // program of the settings, else beside this executable, else the installed one.
        static Source of(const QString& dataDirectory, const QString& invoicesFile);
    };

    struct Result
    {
        QStringList written; // full paths, in the order above
        QList<RegisterOddity> oddities;
        int invoices = 0;
    };

    static Result run(const RegisterPeriod& period, const QString& folder,
                      const Source& source = Source::ofSettings());

    static QString csvName(int year) { return QStringLiteral("Fatture-%1.csv").arg(year); }
    static QString registerName(int year) { return QStringLiteral("Registro-IVA-%1.pdf").arg(year); }
    static QString electronicName(int year)
    {
        return QStringLiteral("Fatture-elettroniche-%1.zip").arg(year);
    }

    // Every invoice record of the year's table.
    static QList<einvoice::InvoiceRecord> readInvoices(const QString& yearDirectory,
                                                       const QString& tableFile);
};

} // namespace quillio::accountant
