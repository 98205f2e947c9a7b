#pragma once

#include "Figure.h"
#include "GeneratedArchive.h"
#include "SampleRecords.h"
#include "ScanTotals.h"
#include "engine/Session.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace quillio::engine {
class Table;
}

namespace quillio::bench {

// The engine's figures on one generated archive, each with the same work done directly on SQLite,
// or through the server's client library for an archive on a server, where there is something to
// compare with. The archive is reached the way the program reaches it: through an alias of a
// session that knows the archive's password.
class EngineMeasurements
{
public:
    explicit EngineMeasurements(const GeneratedArchive& archive);
    ~EngineMeasurements();

    // Opening a table until its first record is read; the slower of the archive's tables.
    Figure open();
    // A full scan of the invoices, first to end, reading three fields per record.
    Figure scan();
    // The address book's list: the customers in name order, opened and stepped to the end.
    Figure listQuery();
    // Appending and posting one invoice, committed to disk.
    Figure post();

    // One full scan of the invoice table through the engine.
    ScanTotals scanInvoices();

private:
    std::unique_ptr<engine::Table> table(const QString& fileName);
    double openMs(const QString& fileName);
    double directOpenMs(const QString& fileName);
    ScanTotals scanInvoices(engine::Table& invoices);
    // The names the list passes are kept in `names` when it is given.
    int stepThroughCustomerList(QStringList* names = nullptr);
    // The median of posting one invoice through the engine, and of `directInsert` storing the same
    // record, in turns.
    Figure post(const std::function<void(const SampleRecord&)>& directInsert);

    GeneratedArchive m_archive;
    engine::Session m_session;
};

} // namespace quillio::bench
