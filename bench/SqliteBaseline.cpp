#include "SqliteBaseline.h"

#include <QString>

namespace quillio::bench {

SqliteBaseline::SqliteBaseline(const QString& path) : m_file(path) {}

ScanTotals SqliteBaseline::scanInvoices()
{
    const DirectSqlite::Statement select =
        m_file.prepare("SELECT Ragione_Sociale, Citta, Totale FROM records ORDER BY rowid");
    ScanTotals totals;
    while (sqlite3_step(select.get()) == SQLITE_ROW) {
        // Texts become QStrings, as the engine's values are.
        for (int column : {0, 1}) {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select.get(), column)),
                                  sqlite3_column_bytes(select.get(), column));
            totals.textLength += text.size();
        }
        totals.amount += sqlite3_column_double(select.get(), 2);
        ++totals.records;
    }
    return totals;
}

void SqliteBaseline::insertInOwnTransaction(const SampleRecord& record)
{
    if (!m_insert)
        m_insert = m_file.prepareInsert(record);
    m_file.exec("BEGIN");
    m_file.insert(m_insert.get(), record);
    m_file.exec("COMMIT");
}

} // namespace quillio::bench
