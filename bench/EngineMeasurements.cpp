#include "EngineMeasurements.h"

#include "LibpqBaseline.h"
#include "SqliteBaseline.h"
#include "Timing.h"
#include "archive/TableSchemas.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "engine/Values.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <optional>
#include <stdexcept>

namespace quillio::bench {

namespace {

const QString Alias = QStringLiteral("Archivio");
const QString Milliseconds = QStringLiteral("ms");
constexpr int OpenRounds = 21;
constexpr int PostRounds = 200;
constexpr quint32 PostSeed = 1999;

// Targets on the reference machine: opening under 1 ms (5 ms on a server, where it takes round
// trips), a scan at most one and a half times the direct one, a post at most 1.2 times a plain
// insert.
constexpr Target OpenTarget{Target::Of::Value, 1, false};
constexpr Target ServerOpenTarget{Target::Of::Value, 5, false};
constexpr Target ScanTarget{Target::Of::Ratio, 1.5, true};
constexpr Target PostTarget{Target::Of::Ratio, 1.2, true};
// The copies of the invoices the direct inserts go to.
const QString SqliteCopy = QStringLiteral("Fatture-sqlite.DB");
const QString LibpqCopy = QStringLiteral("Fatture-libpq.DB");

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

double EngineMeasurements::directOpenMs(const QString& fileName)
{
    LibpqBaseline direct(m_archive.directory);
    QList<double> samples;
    for (int round = 0; round < OpenRounds; ++round) {
        QString firstName;
        samples.append(Timing::milliseconds([&] { firstName = direct.firstName(fileName); }));
        require(!firstName.isEmpty(),
                QStringLiteral("%1 read directly without its first record").arg(fileName));
    }
    return Timing::median(samples);
}

Figure EngineMeasurements::open()
{
    const double slowest = std::max(openMs(GeneratedArchive::Customers), openMs(GeneratedArchive::Invoices));
    if (!m_archive.isOnServer())
        return {QStringLiteral("open"), m_archive.records, slowest, Milliseconds, std::nullopt, OpenTarget};
    const double direct =
        std::max(directOpenMs(GeneratedArchive::Customers), directOpenMs(GeneratedArchive::Invoices));
    return {QStringLiteral("open"), m_archive.records, slowest, Milliseconds, direct, ServerOpenTarget};
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
    std::function<ScanTotals()> directScan;
    std::unique_ptr<SqliteBaseline> sqlite;
    std::unique_ptr<LibpqBaseline> libpq;
    if (m_archive.isOnServer()) {
        libpq = std::make_unique<LibpqBaseline>(m_archive.directory);
        directScan = [&] { return libpq->scanInvoices(); };
    } else {
        sqlite = std::make_unique<SqliteBaseline>(m_archive.path(GeneratedArchive::Invoices));
        directScan = [&] { return sqlite->scanInvoices(); };
    }
    QList<double> ours;
    QList<double> theirs;
    for (int round = 0; round < Timing::repetitionsFor(m_archive.records); ++round) {
        ScanTotals engineTotals;
        ScanTotals directTotals;
        ours.append(Timing::milliseconds([&] { engineTotals = scanInvoices(*invoices); }));
        theirs.append(Timing::milliseconds([&] { directTotals = directScan(); }));
        require(engineTotals.records == m_archive.records && engineTotals == directTotals,
                QStringLiteral("the engine's scan read %1 records, the direct one %2, with different values")
                    .arg(engineTotals.records)
                    .arg(directTotals.records));
    }
    return {QStringLiteral("scan"), m_archive.records,      Timing::median(ours),
            Milliseconds,           Timing::median(theirs), ScanTarget};
}

int EngineMeasurements::stepThroughCustomerList(QStringList* names)
{
    engine::Query list(m_session);
    list.setDatabaseName(Alias);
    list.addSql(QStringLiteral("SELECT * FROM Rubrica.DB ORDER BY Ragione_Sociale ASC"));
    list.open();
    int rows = 0;
    for (; !list.eof(); list.next()) {
        // A list shows each name it passes.
        const QString name = list.fieldValue(QStringLiteral("Ragione_Sociale")).toString();
        if (!name.isEmpty())
            ++rows;
        if (names)
            names->append(name);
    }
    return rows;
}

Figure EngineMeasurements::listQuery()
{
    std::unique_ptr<LibpqBaseline> direct;
    if (m_archive.isOnServer()) {
        direct = std::make_unique<LibpqBaseline>(m_archive.directory);
        QStringList ours;
        stepThroughCustomerList(&ours);
        require(ours == direct->customerList(),
                QStringLiteral("the engine's customer list and the direct one differ in their order"));
    }
    QList<double> samples;
    QList<double> theirs;
    for (int round = 0; round < Timing::repetitionsFor(m_archive.records); ++round) {
        int rows = 0;
        samples.append(Timing::milliseconds([&] { rows = stepThroughCustomerList(); }));
        require(rows == m_archive.records,
                QStringLiteral("the customer list showed %1 of %2 names").arg(rows).arg(m_archive.records));
        if (direct)
            theirs.append(Timing::milliseconds([&] { rows = int(direct->customerList().size()); }));
    }
    return {QStringLiteral("list_query"),
            m_archive.records,
            Timing::median(samples),
            Milliseconds,
            direct ? std::optional<double>(Timing::median(theirs)) : std::nullopt,
            std::nullopt};
}

Figure EngineMeasurements::post(const std::function<void(const SampleRecord&)>& directInsert)
{
    QList<double> ours;
    QList<double> theirs;
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
        theirs.append(Timing::milliseconds([&] { directInsert(record); }));
    }
    require(invoices->recordCount() == before + PostRounds,
            QStringLiteral("%1 of %2 posts reached the invoice table")
                .arg(invoices->recordCount() - before)
                .arg(PostRounds));
    return {QStringLiteral("post"), m_archive.records,      Timing::median(ours),
            Milliseconds,           Timing::median(theirs), PostTarget};
}

Figure EngineMeasurements::post()
{
    // The plain inserts go to a copy of the invoice table, so both sides write a table of the same
    // size and neither waits for the other's locks.
    if (m_archive.isOnServer()) {
        LibpqBaseline direct(m_archive.directory);
        direct.copyTable(GeneratedArchive::Invoices, LibpqCopy);
        Figure figure =
            post([&](const SampleRecord& record) { direct.insertInOwnTransaction(LibpqCopy, record); });
        direct.dropTable(LibpqCopy);
        return figure;
    }
    const QString copyPath = m_archive.path(SqliteCopy);
    QFile::remove(copyPath);
    require(QFile::copy(m_archive.path(GeneratedArchive::Invoices), copyPath),
            QStringLiteral("cannot copy the invoice table to %1").arg(copyPath));
    std::optional<Figure> figure;
    {
        SqliteBaseline direct(copyPath);
        figure = post([&](const SampleRecord& record) { direct.insertInOwnTransaction(record); });
    }
    QFile::remove(copyPath);
    return *figure;
}

} // namespace quillio::bench
