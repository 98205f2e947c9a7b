#pragma once

#include "DirectSqlite.h"
#include "SampleRecords.h"
#include "ScanTotals.h"

namespace quillio::bench {

// The work of a measurement done directly on SQLite, on a table file of the same shape: what the
// engine's figures are compared with.
class SqliteBaseline
{
public:
    explicit SqliteBaseline(const QString& path);

    // Reads name, town and total of every record in file order, as text and number values.
    ScanTotals scanInvoices();
    // Stores `record` with a single-row insert in a transaction of its own.
    void insertInOwnTransaction(const SampleRecord& record);

private:
    DirectSqlite m_file;
    DirectSqlite::Statement m_insert;
};

} // namespace quillio::bench
