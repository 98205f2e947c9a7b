#include "ArchiveGenerator.h"

#include "DirectSqlite.h"
#include "archive/TableSchemas.h"
#include "engine/Engine.h"
#include "engine/Query.h"
#include "engine/Session.h"

#include <QDir>
#include <stdexcept>

namespace quillio::bench {

namespace {

const QString Alias = QStringLiteral("Generatore");
constexpr quint32 CustomerSeed = 2009;
constexpr quint32 InvoiceSeed = 1909;
constexpr quint32 DraftSeed = 1809;

// A draft is an invoice without its head: no number, state or date yet.
SampleRecord asDraft(SampleRecord invoice)
{
    invoice.removeIf([](const auto& field) {
        return field.first == QLatin1String("Numero") || field.first == QLatin1String("Stato") ||
               field.first == QLatin1String("Data");
    });
    return invoice;
}

} // namespace

ArchiveGenerator::ArchiveGenerator(const QString& root) : m_root(root) {}

GeneratedArchive ArchiveGenerator::generate(int records)
{
    GeneratedArchive archive;
    archive.records = records;
    archive.directory = QDir(m_root).filePath(QString::number(records));
    if (!QDir().mkpath(archive.directory))
        throw std::runtime_error("cannot create " + archive.directory.toStdString());

    createTable(archive.directory, GeneratedArchive::Customers, archive::TableSchemas::customers());
    createTable(archive.directory, GeneratedArchive::Drafts, archive::TableSchemas::drafts());
    createTable(archive.directory, GeneratedArchive::Invoices, archive::TableSchemas::invoices());

    SampleRecords customers(CustomerSeed);
    fill(archive.path(GeneratedArchive::Customers), records, [&](int) { return customers.customer(); });
    SampleRecords invoices(InvoiceSeed);
    fill(archive.path(GeneratedArchive::Invoices), records, [&](int i) { return invoices.invoice(i + 1); });
    SampleRecords drafts(DraftSeed);
    fill(archive.path(GeneratedArchive::Drafts), records,
         [&](int i) { return asDraft(drafts.invoice(i + 1)); });
    return archive;
}

void ArchiveGenerator::createTable(const QString& directory, const QString& fileName, const QString& columns)
{
    // Created through the engine's own statement, so the file carries the engine's declarations.
    engine::Session session(QStringLiteral("Generatore"));
    session.addStandardAlias(Alias, directory);
    session.activate();
    engine::Query create(session);
    create.setDatabaseName(Alias);
    create.addSql(QStringLiteral("CREATE TABLE \"%1\" %2").arg(fileName, columns));
    create.execSql();
    engine::Engine::protectTable(directory, fileName, archive::masterPassword);
}

void ArchiveGenerator::fill(const QString& path, int records, const RecordMaker& makeRecord)
{
    DirectSqlite file(path);
    file.exec("BEGIN");
    const SampleRecord first = makeRecord(0);
    const DirectSqlite::Statement insert = file.prepareInsert(first);
    file.insert(insert.get(), first);
    for (int i = 1; i < records; ++i)
        file.insert(insert.get(), makeRecord(i));
    file.exec("COMMIT");
}

} // namespace quillio::bench
