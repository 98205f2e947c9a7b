#pragma once

#include "DirectLibpq.h"
#include "SampleRecords.h"
#include "ScanTotals.h"

#include <QStringList>

namespace quillio::bench {

// The work of a measurement done directly through the server's client library, on the tables of a
// year on a server: what the engine's figures on a server are compared with. Each reads whole
// records, every column, as the engine's server storage does, in one statement where the engine
// may take several.
class LibpqBaseline
{
public:
    explicit LibpqBaseline(const QString& yearAddress);

    // What opening a table needs: its first page of records (every column, as many rows as the
    // engine's first page) in record order; the first record's name.
    QString firstName(const QString& fileName);
    // Reads every invoice, every column, in record order, taking name, town and total as text and
    // number values.
    ScanTotals scanInvoices();
    // The address book's list: every column of the customers in the order of the engine's sorted
    // query (blank names first, then the names as a person's list sorts them, ties in record
    // order), stepped to the end; the names it passed.
    QStringList customerList();
    // A copy of `fileName` under `copyName`, records, numbers and indexes included.
    void copyTable(const QString& fileName, const QString& copyName);
    void dropTable(const QString& fileName);
    // Stores `record` in `fileName` with a single-row insert, committed on its own.
    void insertInOwnTransaction(const QString& fileName, const SampleRecord& record);

private:
    DirectLibpq m_server;
    QString m_insertInto;
};

} // namespace quillio::bench
