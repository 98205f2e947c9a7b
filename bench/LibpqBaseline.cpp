#include "LibpqBaseline.h"

#include "GeneratedArchive.h"
#include "engine/ClientLibrary.h"

// Loaded as the program loads it: at the first use of a server.
using quillio::engine::pq;

namespace quillio::bench {

namespace {

// The record number of every table of the archive, in the order the records were stored.
const QByteArray RecordNumber = "\"OrdNum\"";
// The rows of the engine's first page of a table.
constexpr int FirstPageRows = 64;
// The collation the engine makes in each year's schema for sorting texts.
const QByteArray TextCollation = "quillio_text";
const QByteArray InsertStatement = "bench_insert";

QString text(pg_result* result, int row, int column)
{
    return QString::fromUtf8(pq().getvalue(result, row, column), pq().getlength(result, row, column));
}

} // namespace

LibpqBaseline::LibpqBaseline(const QString& yearAddress) : m_server(yearAddress) {}

QString LibpqBaseline::firstName(const QString& fileName)
{
    const DirectLibpq::Result page =
        m_server.exec("SELECT * FROM " + m_server.table(fileName) + " ORDER BY " + RecordNumber + " LIMIT " +
                      QByteArray::number(FirstPageRows));
    const int name = pq().fnumber(page.get(), "\"Ragione_Sociale\"");
    return pq().ntuples(page.get()) > 0 && name >= 0 ? text(page.get(), 0, name) : QString();
}

ScanTotals LibpqBaseline::scanInvoices()
{
    const DirectLibpq::Result rows = m_server.exec(
        "SELECT * FROM " + m_server.table(GeneratedArchive::Invoices) + " ORDER BY " + RecordNumber);
    const int name = pq().fnumber(rows.get(), "\"Ragione_Sociale\"");
    const int town = pq().fnumber(rows.get(), "\"Citta\"");
    const int total = pq().fnumber(rows.get(), "\"Totale\"");
    ScanTotals totals;
    const int count = pq().ntuples(rows.get());
    for (int row = 0; row < count; ++row) {
        // Texts become QStrings, as the engine's values are.
        totals.textLength += text(rows.get(), row, name).size() + text(rows.get(), row, town).size();
        if (!pq().getisnull(rows.get(), row, total))
            totals.amount += QByteArray(pq().getvalue(rows.get(), row, total)).toDouble();
        ++totals.records;
    }
    return totals;
}

QStringList LibpqBaseline::customerList()
{
    const QByteArray name = "\"Ragione_Sociale\"";
    const DirectLibpq::Result rows =
        m_server.exec("SELECT * FROM " + m_server.table(GeneratedArchive::Customers) + " ORDER BY (" + name +
                      " IS NULL OR " + name + " = '') DESC, " + name + " COLLATE " +
                      m_server.quoted(m_server.schema()) + '.' + TextCollation + ", " + RecordNumber);
    const int column = pq().fnumber(rows.get(), name.constData());
    QStringList names;
    const int count = pq().ntuples(rows.get());
    names.reserve(count);
    for (int row = 0; row < count; ++row)
        names.append(text(rows.get(), row, column));
    return names;
}

void LibpqBaseline::copyTable(const QString& fileName, const QString& copyName)
{
    const QByteArray from = m_server.table(fileName);
    const QByteArray to = m_server.table(copyName);
    m_server.exec("CREATE TABLE " + to + " (LIKE " + from + " INCLUDING ALL)");
    m_server.exec("INSERT INTO " + to + " OVERRIDING SYSTEM VALUE SELECT * FROM " + from);
    // New records of the copy are numbered on from the last copied one, as in the original.
    m_server.exec("SELECT setval(pg_get_serial_sequence('" + to + "', 'OrdNum'), (SELECT max(" +
                  RecordNumber + ") FROM " + to + "))");
}

void LibpqBaseline::dropTable(const QString& fileName)
{
    m_server.exec("DROP TABLE " + m_server.table(fileName));
}

void LibpqBaseline::insertInOwnTransaction(const QString& fileName, const SampleRecord& record)
{
    if (m_insertInto != fileName) {
        if (!m_insertInto.isEmpty())
            m_server.exec("DEALLOCATE " + InsertStatement);
        m_server.prepareInsert(InsertStatement, fileName, record);
        m_insertInto = fileName;
    }
    m_server.insert(InsertStatement, record);
}

} // namespace quillio::bench
