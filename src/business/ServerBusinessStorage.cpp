#include "business/ServerBusinessStorage.h"

#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/PgTransaction.h"
#include "engine/ServerAddress.h"

namespace quillio::business {

namespace {

const QString readAction = QStringLiteral("Impossibile leggere i dati dell'azienda in");
const QString writeAction = QStringLiteral("Impossibile memorizzare i dati dell'azienda in");

engine::ServerAddress addressOf(const QString& address)
{
    const std::optional<engine::ServerAddress> parsed = engine::ServerAddress::parse(address);
    if (!parsed)
        throw engine::EngineError(
            QStringLiteral("L'indirizzo %1 non indica un database.").arg(engine::DataPlace::shown(address)));
    return *parsed;
}

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

// bytea goes both ways as text in the server's hex form, \x0a1b...
QByteArray byteaText(const QByteArray& bytes)
{
    return "\\x" + bytes.toHex();
}

QByteArray byteaBytes(const QByteArray& text)
{
    return text.startsWith("\\x") ? QByteArray::fromHex(text.mid(2)) : text;
}

} // namespace

ServerBusinessStorage::ServerBusinessStorage(const QString& address)
    : ServerBusinessStorage(addressOf(address))
{
}

ServerBusinessStorage::ServerBusinessStorage(const engine::ServerAddress& address) : m_connection(address)
{
    createTables();
}

// Two desks starting together must not both create: the lock makes the second wait and find the
// tables there.
void ServerBusinessStorage::createTables()
{
    const QString action = QStringLiteral("Impossibile preparare i dati dell'azienda in");
    if (!m_connection.exec("SELECT to_regclass('public.exports')", action).isNull(0, 0))
        return;
    engine::PgTransaction transaction(m_connection, action);
    m_connection.exec("SELECT pg_advisory_xact_lock(hashtext('quillio company data'))", action);
    m_connection.exec(
        "CREATE TABLE IF NOT EXISTS public.documents (name text PRIMARY KEY, body text NOT NULL)", action);
    m_connection.exec("CREATE TABLE IF NOT EXISTS public.progressives (sequence bigint PRIMARY KEY, "
                      "progressive text NOT NULL UNIQUE, year integer NOT NULL, number bigint NOT NULL, "
                      "assigned text NOT NULL)",
                      action);
    m_connection.exec(
        "CREATE TABLE IF NOT EXISTS public.exports (id bigint GENERATED ALWAYS AS IDENTITY "
        "PRIMARY KEY, year integer NOT NULL, number bigint NOT NULL, progressive text NOT NULL, "
        "file_name text NOT NULL, exported text NOT NULL, sha256 text NOT NULL, content bytea)",
        action);
    transaction.commit();
}

std::optional<QString> ServerBusinessStorage::document(const QString& name)
{
    const engine::PgResult result = m_connection.exec("SELECT body FROM public.documents WHERE name = $1",
                                                      engine::PgParameters{name.toUtf8()}, readAction);
    if (result.rows() == 0)
        return std::nullopt;
    return result.text(0, 0);
}

void ServerBusinessStorage::setDocument(const QString& name, const QString& body)
{
    m_connection.exec("INSERT INTO public.documents (name, body) VALUES ($1, $2) "
                      "ON CONFLICT (name) DO UPDATE SET body = excluded.body",
                      {name.toUtf8(), body.toUtf8()}, writeAction);
}

std::optional<QString> ServerBusinessStorage::lastProgressive(int year, qint64 invoice)
{
    const engine::PgResult result =
        m_connection.exec("SELECT progressive FROM public.progressives WHERE year = $1 AND number = $2 "
                          "ORDER BY sequence DESC LIMIT 1",
                          {number(year), number(invoice)}, BusinessStorage::registerReadAction);
    if (result.rows() == 0)
        return std::nullopt;
    return result.text(0, 0);
}

QString ServerBusinessStorage::addProgressive(int year, qint64 invoice, const ProgressiveNamer& name)
{
    engine::PgTransaction transaction(m_connection, BusinessStorage::registerWriteAction);
    // Readers go on; a second desk giving a progressive waits here until this one is stored.
    m_connection.exec("LOCK TABLE public.progressives IN EXCLUSIVE MODE",
                      BusinessStorage::registerWriteAction);
    const qint64 sequence = m_connection
                                .exec("SELECT COALESCE(MAX(sequence), 0) FROM public.progressives",
                                      BusinessStorage::registerReadAction)
                                .number(0, 0) +
                            1;
    QString progressive = name(sequence);
    insertProgressive(
        {sequence, progressive, year, invoice, QDateTime::currentDateTimeUtc().toString(Qt::ISODate)});
    transaction.commit();
    return progressive;
}

void ServerBusinessStorage::insertProgressive(const BusinessData::Progressive& row)
{
    m_connection.exec("INSERT INTO public.progressives (sequence, progressive, year, number, assigned) "
                      "VALUES ($1, $2, $3, $4, $5)",
                      {number(row.sequence), row.progressive.toUtf8(), number(row.year), number(row.number),
                       row.assigned.toUtf8()},
                      BusinessStorage::registerWriteAction);
}

void ServerBusinessStorage::addExport(const ExportEntry& entry)
{
    m_connection.exec("INSERT INTO public.exports (year, number, progressive, file_name, exported, sha256, "
                      "content) VALUES ($1, $2, $3, $4, $5, $6, $7::bytea)",
                      {number(entry.year), number(entry.number), entry.progressive.toUtf8(),
                       entry.fileName.toUtf8(), entry.exported.toUTC().toString(Qt::ISODateWithMs).toUtf8(),
                       entry.sha256, byteaText(entry.content)},
                      BusinessStorage::registerWriteAction);
}

QList<ExportEntry> ServerBusinessStorage::exports(int year, bool withContent)
{
    return readExports(year, withContent);
}

QList<ExportEntry> ServerBusinessStorage::readExports(std::optional<int> year, bool withContent)
{
    const QByteArray columns = withContent ? "year, number, progressive, file_name, exported, sha256, content"
                                           : "year, number, progressive, file_name, exported, sha256";
    const engine::PgResult result = m_connection.exec(
        "SELECT " + columns + " FROM public.exports" + (year ? " WHERE year = $1" : "") + " ORDER BY id",
        year ? engine::PgParameters{number(*year)} : engine::PgParameters{},
        BusinessStorage::registerReadAction);
    QList<ExportEntry> list;
    for (int row = 0; row < result.rows(); ++row)
        list.append({int(result.number(row, 0)), result.number(row, 1), result.text(row, 2),
                     result.text(row, 3), QDateTime::fromString(result.text(row, 4), Qt::ISODateWithMs),
                     result.bytes(row, 5), withContent ? byteaBytes(result.bytes(row, 6)) : QByteArray()});
    return list;
}

BusinessData ServerBusinessStorage::everything()
{
    BusinessData data;
    const engine::PgResult documents =
        m_connection.exec("SELECT name, body FROM public.documents ORDER BY name", readAction);
    for (int row = 0; row < documents.rows(); ++row)
        data.documents.append({documents.text(row, 0), documents.text(row, 1)});
    const engine::PgResult progressives = m_connection.exec(
        "SELECT sequence, progressive, year, number, assigned FROM public.progressives ORDER BY sequence",
        BusinessStorage::registerReadAction);
    for (int row = 0; row < progressives.rows(); ++row)
        data.progressives.append({progressives.number(row, 0), progressives.text(row, 1),
                                  int(progressives.number(row, 2)), progressives.number(row, 3),
                                  progressives.text(row, 4)});
    data.exports = readExports(std::nullopt, true);
    return data;
}

void ServerBusinessStorage::takeOver(const BusinessData& data)
{
    engine::PgTransaction transaction(m_connection, writeAction);
    m_connection.exec("LOCK TABLE public.documents, public.progressives, public.exports IN EXCLUSIVE MODE",
                      writeAction);
    if (!everything().isEmpty())
        throw engine::EngineError(
            QStringLiteral("Impossibile copiare i dati dell'azienda in %1: ci sono già dati dell'azienda.")
                .arg(m_connection.shown()));
    for (const auto& [name, body] : data.documents)
        m_connection.exec("INSERT INTO public.documents (name, body) VALUES ($1, $2)",
                          {name.toUtf8(), body.toUtf8()}, writeAction);
    for (const BusinessData::Progressive& row : data.progressives)
        insertProgressive(row);
    for (const ExportEntry& entry : data.exports)
        addExport(entry);
    transaction.commit();
}

} // namespace quillio::business
