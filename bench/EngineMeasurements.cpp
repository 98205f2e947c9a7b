#include "EngineMeasurements.h"

#include "SqliteBaseline.h"
#include "Timing.h"
#include "archive/TableSchemas.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "engine/Values.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <stdexcept>

namespace quillio::bench {

namespace {

const QString Alias = QStringLiteral("Archivio");
const QString Milliseconds = QStringLiteral("ms");
constexpr int OpenRounds = 21;
constexpr int PostRounds = 200;
constexpr quint32 PostSeed = 1999;

// Targets on the reference machine: opening under 1 ms, a scan at most one and a half times
// SQLite's own, a post at most 1.2 times a plain insert.
constexpr Target OpenTarget{Target::Of::Value, 1, false};
constexpr Target ScanTarget{Target::Of::Ratio, 1.5, true};
constexpr Target PostTarget{Target::Of::Ratio, 1.2, true};

void require(bool condition, const QString& what)
{
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

} // namespace

EngineMeasurements::EngineMeasurements(const GeneratedArchive& archive)
    : m_archive(archive), m_session(QStringLiteral("Bench"))
{
    m_session.addStandardAlias(Alias, archive.directory);
    m_session.addPassword(archive::masterPassword);
    m_session.activate();
}

EngineMeasurements::~EngineMeasurements() = default;

std::unique_ptr<engine::Table> EngineMeasurements::table(const QString& fileName)
{
    auto table = std::make_unique<engine::Table>(m_session);
    table->setDatabaseName(Alias);
    table->setTableName(fileName);
    return table;
}

double EngineMeasurements::openMs(const QString& fileName)
{
    QList<double> samples;
    for (int round = 0; round < OpenRounds; ++round) {
        auto opened = table(fileName);
        QString firstName;
        samples.append(Timing::milliseconds([&] {
            opened->open();
            firstName = opened->fieldValue(QStringLiteral("Ragione_Sociale")).toString();
        }));
        require(!firstName.isEmpty(), QStringLiteral("%1 opened without its first record").arg(fileName));
    }
    return Timing::median(samples);
}

Figure EngineMeasurements::open()
{
    const double slowest = std::max(openMs(GeneratedArchive::Customers), openMs(GeneratedArchive::Invoices));
    return {QStringLiteral("open"), m_archive.records, slowest, Milliseconds, std::nullopt, OpenTarget};
}

ScanTotals EngineMeasurements::scanInvoices(engine::Table& invoices)
{
    ScanTotals totals;
    for (invoices.first(); !invoices.eof(); invoices.next()) {
        totals.textLength += invoices.fieldValue(QStringLiteral("Ragione_Sociale")).toString().size();
        totals.textLength += invoices.fieldValue(QStringLiteral("Citta")).toString().size();
        totals.amount += engine::Values::toDouble(invoices.fieldValue(QStringLiteral("Totale")));
        ++totals.records;
    }
    return totals;
}

ScanTotals EngineMeasurements::scanInvoices()
{
    auto invoices = table(GeneratedArchive::Invoices);
    invoices->open();
    return scanInvoices(*invoices);
}

Figure EngineMeasurements::scan()
{
    auto invoices = table(GeneratedArchive::Invoices);
    invoices->open();
    SqliteBaseline direct(m_archive.path(GeneratedArchive::Invoices));
    QList<double> ours;
    QList<double> theirs;
    for (int round = 0; round < Timing::repetitionsFor(m_archive.records); ++round) {
        ScanTotals engineTotals;
        ScanTotals directTotals;
        ours.append(Timing::milliseconds([&] { engineTotals = scanInvoices(*invoices); }));
        theirs.append(Timing::milliseconds([&] { directTotals = direct.scanInvoices(); }));
        require(engineTotals.records == m_archive.records && engineTotals == directTotals,
                QStringLiteral("the engine's scan read %1 records, SQLite's %2, with different values")
                    .arg(engineTotals.records)
                    .arg(directTotals.records));
    }
    return {QStringLiteral("scan"), m_archive.records,      Timing::median(ours),
            Milliseconds,           Timing::median(theirs), ScanTarget};
}

int EngineMeasurements::stepThroughCustomerList()
{
    engine::Query list(m_session);
    list.setDatabaseName(Alias);
    list.addSql(QStringLiteral("SELECT * FROM Rubrica.DB ORDER BY Ragione_Sociale ASC"));
    list.open();
    int rows = 0;
    for (; !list.eof(); list.next()) {
        // A list shows each name it passes.
        if (!list.fieldValue(QStringLiteral("Ragione_Sociale")).toString().isEmpty())
            ++rows;
    }
    return rows;
}

Figure EngineMeasurements::listQuery()
{
    QList<double> samples;
    for (int round = 0; round < Timing::repetitionsFor(m_archive.records); ++round) {
        int rows = 0;
        samples.append(Timing::milliseconds([&] { rows = stepThroughCustomerList(); }));
        require(rows == m_archive.records,
                QStringLiteral("the customer list showed %1 of %2 names").arg(rows).arg(m_archive.records));
    }
    return {QStringLiteral("list_query"),
            m_archive.records,
            Timing::median(samples),
            Milliseconds,
            std::nullopt,
            std::nullopt};
}

Figure EngineMeasurements::post()
{
    // The plain inserts go to a copy of the invoice table, so both sides write a file of the same
    // size and neither waits for the other's locks.
    const QString copyPath = m_archive.path(QStringLiteral("Fatture-sqlite.DB"));
    QFile::remove(copyPath);
    require(QFile::copy(m_archive.path(GeneratedArchive::Invoices), copyPath),
            QStringLiteral("cannot copy the invoice table to %1").arg(copyPath));
    QList<double> ours;
    QList<double> theirs;
    {
        SqliteBaseline direct(copyPath);
        auto invoices = table(GeneratedArchive::Invoices);
        invoices->open();
        const int before = invoices->recordCount();
        SampleRecords samples(PostSeed);
        for (int round = 0; round < PostRounds; ++round) {
            const SampleRecord record = samples.invoice(m_archive.records + round + 1);
            ours.append(Timing::milliseconds([&] {
                invoices->append();
                for (const auto& [name, value] : record)
                    invoices->setFieldValue(name, value);
                invoices->post();
            }));
            // Between two records the program is back in its event loop, where reading locks are let go.
            QCoreApplication::processEvents();
            theirs.append(Timing::milliseconds([&] { direct.insertInOwnTransaction(record); }));
        }
        require(invoices->recordCount() == before + PostRounds,
                QStringLiteral("%1 of %2 posts reached the invoice table")
                    .arg(invoices->recordCount() - before)
                    .arg(PostRounds));
    }
    QFile::remove(copyPath);
    return {QStringLiteral("post"), m_archive.records,      Timing::median(ours),
            Milliseconds,           Timing::median(theirs), PostTarget};
}

} // namespace quillio::bench
