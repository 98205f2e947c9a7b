#include "business/FileBusinessStorage.h"

#include "engine/EngineError.h"
#include "engine/SqliteStatement.h"
#include "engine/SqliteTransaction.h"

#include <QDir>

namespace quillio::business {

namespace {

const QString readAction = QStringLiteral("Impossibile leggere il file dei dati dell'azienda");
const QString writeAction = QStringLiteral("Impossibile memorizzare nel file dei dati dell'azienda");

} // namespace

FileBusinessStorage::FileBusinessStorage(const QString& path)
    : m_path(path),
      m_connection(std::make_unique<engine::SqliteConnection>(path, engine::SqliteConnection::Mode::CreateNew,
                                                              QString(),
                                                              engine::SqliteConnection::Wording::Italian))
{
    const QString action = QStringLiteral("Impossibile aprire il file dei dati dell'azienda");
    m_connection->exec("PRAGMA journal_mode=DELETE", action);
    m_connection->exec("PRAGMA synchronous=FULL", action);
    // The program never writes a trigger or a view; one that is there was planted, and would run
    // with every register entry stored.
    if (m_connection->carriesTriggersOrViews())
        throw engine::EngineError(
            QStringLiteral("Il file dei dati dell'azienda %1 contiene trigger o viste, che il programma non "
                           "scrive mai: non viene aperto. Ripristinare una copia di sicurezza.")
                .arg(QDir::toNativeSeparators(path)));
    createTables();
}

void FileBusinessStorage::createTables()
{
    engine::SqliteTransaction transaction(
        *m_connection, QStringLiteral("Impossibile preparare il file dei dati dell'azienda"));
    m_connection->exec("CREATE TABLE IF NOT EXISTS documents (name TEXT PRIMARY KEY, body TEXT NOT NULL)");
    // One row per progressive ever given out, so none is given twice; `exports` has one row per file written.
    m_connection->exec("CREATE TABLE IF NOT EXISTS progressives (sequence INTEGER PRIMARY KEY, "
                       "progressive TEXT NOT NULL UNIQUE, year INTEGER NOT NULL, number INTEGER NOT NULL, "
                       "assigned TEXT NOT NULL)");
    m_connection->exec("CREATE TABLE IF NOT EXISTS exports (id INTEGER PRIMARY KEY, year INTEGER NOT NULL, "
                       "number INTEGER NOT NULL, progressive TEXT NOT NULL, file_name TEXT NOT NULL, "
                       "exported TEXT NOT NULL, sha256 TEXT NOT NULL, content BLOB)");
    transaction.commit();
}

std::optional<QString> FileBusinessStorage::document(const QString& name)
{
    engine::SqliteStatement read = m_connection->prepare("SELECT body FROM documents WHERE name = ?1");
    read.bindText(1, name);
    if (!read.step(readAction))
        return std::nullopt;
    return read.columnText(0);
}

void FileBusinessStorage::setDocument(const QString& name, const QString& body)
{
    engine::SqliteTransaction transaction(*m_connection, writeAction);
    engine::SqliteStatement write =
        m_connection->prepare("INSERT INTO documents (name, body) VALUES (?1, ?2) "
                              "ON CONFLICT (name) DO UPDATE SET body = excluded.body");
    write.bindText(1, name);
    write.bindText(2, body);
    write.step(writeAction);
    transaction.commit();
}

std::optional<QString> FileBusinessStorage::lastProgressive(int year, qint64 number)
{
    engine::SqliteStatement read =
        m_connection->prepare("SELECT progressive FROM progressives WHERE year = ?1 AND number = ?2 "
                              "ORDER BY sequence DESC LIMIT 1");
    read.bindInt64(1, year);
    read.bindInt64(2, number);
    if (!read.step(BusinessStorage::registerReadAction))
        return std::nullopt;
    return read.columnText(0);
}

QString FileBusinessStorage::addProgressive(int year, qint64 number, const ProgressiveNamer& name)
{
    // BEGIN IMMEDIATE takes the write lock first, so two desks cannot read the same last sequence.
    engine::SqliteTransaction transaction(*m_connection, BusinessStorage::registerWriteAction);
    engine::SqliteStatement last =
        m_connection->prepare("SELECT COALESCE(MAX(sequence), 0) FROM progressives");
    last.step(BusinessStorage::registerReadAction);
    const qint64 sequence = last.columnInt64(0) + 1;
    last.reset();
    QString progressive = name(sequence);
    insertProgressive(
        {sequence, progressive, year, number, QDateTime::currentDateTimeUtc().toString(Qt::ISODate)});
    transaction.commit();
    return progressive;
}

void FileBusinessStorage::insertProgressive(const BusinessData::Progressive& row)
{
    engine::SqliteStatement insert =
        m_connection->prepare("INSERT INTO progressives (sequence, progressive, year, number, assigned) "
                              "VALUES (?1, ?2, ?3, ?4, ?5)");
    insert.bindInt64(1, row.sequence);
    insert.bindText(2, row.progressive);
    insert.bindInt64(3, row.year);
    insert.bindInt64(4, row.number);
    insert.bindText(5, row.assigned);
    insert.step(BusinessStorage::registerWriteAction);
}

void FileBusinessStorage::addExport(const ExportEntry& entry)
{
    engine::SqliteTransaction transaction(*m_connection, BusinessStorage::registerWriteAction);
    insertExport(entry);
    transaction.commit();
}

void FileBusinessStorage::insertExport(const ExportEntry& entry)
{
    engine::SqliteStatement insert = m_connection->prepare(
        "INSERT INTO exports (year, number, progressive, file_name, exported, sha256, content) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    insert.bindInt64(1, entry.year);
    insert.bindInt64(2, entry.number);
    insert.bindText(3, entry.progressive);
    insert.bindText(4, entry.fileName);
    insert.bindText(5, entry.exported.toUTC().toString(Qt::ISODateWithMs));
    insert.bindText(6, QString::fromLatin1(entry.sha256));
    insert.bindBlob(7, entry.content);
    insert.step(BusinessStorage::registerWriteAction);
}

QList<ExportEntry> FileBusinessStorage::exports(int year, bool withContent)
{
    return readExports(year, withContent);
}

QList<ExportEntry> FileBusinessStorage::readExports(std::optional<int> year, bool withContent)
{
    const QByteArray columns = withContent ? "year, number, progressive, file_name, exported, sha256, content"
                                           : "year, number, progressive, file_name, exported, sha256";
    engine::SqliteStatement read = m_connection->prepare("SELECT " + columns + " FROM exports" +
                                                         (year ? " WHERE year = ?1" : "") + " ORDER BY id");
    if (year)
        read.bindInt64(1, *year);
    QList<ExportEntry> list;
    while (read.step(BusinessStorage::registerReadAction))
        list.append({int(read.columnInt64(0)), read.columnInt64(1), read.columnText(2), read.columnText(3),
                     QDateTime::fromString(read.columnText(4), Qt::ISODateWithMs),
                     read.columnText(5).toLatin1(), withContent ? read.columnBlob(6) : QByteArray()});
    return list;
}

BusinessData FileBusinessStorage::everything()
{
    BusinessData data;
    engine::SqliteStatement documents =
        m_connection->prepare("SELECT name, body FROM documents ORDER BY name");
    while (documents.step(readAction))
        data.documents.append({documents.columnText(0), documents.columnText(1)});
    engine::SqliteStatement progressives = m_connection->prepare(
        "SELECT sequence, progressive, year, number, assigned FROM progressives ORDER BY sequence");
    while (progressives.step(BusinessStorage::registerReadAction))
        data.progressives.append({progressives.columnInt64(0), progressives.columnText(1),
                                  int(progressives.columnInt64(2)), progressives.columnInt64(3),
                                  progressives.columnText(4)});
    data.exports = readExports(std::nullopt, true);
    return data;
}

void FileBusinessStorage::takeOver(const BusinessData& data)
{
    engine::SqliteTransaction transaction(*m_connection, writeAction);
    if (!everything().isEmpty())
        throw engine::EngineError(
            QStringLiteral("Impossibile copiare i dati dell'azienda in %1: ci sono già dati dell'azienda.")
                .arg(QDir::toNativeSeparators(m_path)));
    engine::SqliteStatement document =
        m_connection->prepare("INSERT INTO documents (name, body) VALUES (?1, ?2)");
    for (const auto& [name, body] : data.documents) {
        document.bindText(1, name);
        document.bindText(2, body);
        document.step(writeAction);
        document.reset();
    }
    for (const BusinessData::Progressive& row : data.progressives)
        insertProgressive(row);
    for (const ExportEntry& entry : data.exports)
        insertExport(entry);
    transaction.commit();
}

} // namespace quillio::business
