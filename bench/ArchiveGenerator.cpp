#include "ArchiveGenerator.h"

#include "DirectLibpq.h"
#include "DirectSqlite.h"
#include "archive/TableSchemas.h"
#include "engine/DataPlace.h"
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
    const QString name = QString::number(records);
    archive.directory = engine::DataPlace::isServerAddress(m_root) ? engine::DataPlace::child(m_root, name)
                                                                   : QDir(m_root).filePath(name);
    if (!engine::DataPlace::create(archive.directory))
        throw std::runtime_error(QStringLiteral("cannot create %1: %2")
                                     .arg(archive.directory, engine::DataPlace::lastError())
                                     .toStdString());

    createTable(archive.directory, GeneratedArchive::Customers, archive::TableSchemas::customers());
    createTable(archive.directory, GeneratedArchive::Drafts, archive::TableSchemas::drafts());
    createTable(archive.directory, GeneratedArchive::Invoices, archive::TableSchemas::invoices());

    SampleRecords customers(CustomerSeed);
    fill(archive, GeneratedArchive::Customers, [&](int) { return customers.customer(); });
    SampleRecords invoices(InvoiceSeed);
    fill(archive, GeneratedArchive::Invoices, [&](int i) { return invoices.invoice(i + 1); });
    SampleRecords drafts(DraftSeed);
    fill(archive, GeneratedArchive::Drafts, [&](int i) { return asDraft(drafts.invoice(i + 1)); });
    return archive;
}

void ArchiveGenerator::remove(const GeneratedArchive& archive)
{
    if (!archive.isOnServer()) {
        QDir(archive.directory).removeRecursively();
        return;
    }
    DirectLibpq server(archive.directory);
    server.exec("DROP SCHEMA " + server.quoted(server.schema()) + " CASCADE");
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

void ArchiveGenerator::fill(const GeneratedArchive& archive, const QString& fileName,
                            const RecordMaker& makeRecord)
{
    if (archive.isOnServer())
        fillServerTable(archive.directory, fileName, archive.records, makeRecord);
    else
        fillFile(archive.path(fileName), archive.records, makeRecord);
}

void ArchiveGenerator::fillFile(const QString& path, int records, const RecordMaker& makeRecord)
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

void ArchiveGenerator::fillServerTable(const QString& yearAddress, const QString& fileName, int records,
                                       const RecordMaker& makeRecord)
{
    DirectLibpq server(yearAddress);
    server.exec("BEGIN");
    const SampleRecord first = makeRecord(0);
    server.prepareInsert("fill", fileName, first);
    server.insert("fill", first);
    for (int i = 1; i < records; ++i)
        server.insert("fill", makeRecord(i));
    server.exec("COMMIT");
    // What the server's own maintenance does soon after a load this size, done now so that it
    // neither runs in the middle of a measurement nor leaves the planner without statistics.
    server.exec("VACUUM ANALYZE " + server.table(fileName));
}

} // namespace quillio::bench
