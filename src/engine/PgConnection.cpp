#include "engine/PgConnection.h"

#include "engine/ClientLibrary.h"
#include "engine/EngineError.h"

#include <QCoreApplication>
#include <QVarLengthArray>

namespace quillio::engine {

namespace {

// The server's notices ("already exists, skipping") are no news to the person.
void ignoreNotice(void*, const char*) {}

// The library's message on one line.
QString trimmedMessage(const char* message)
{
    return QString::fromUtf8(message).simplified();
}

} // namespace

PgConnection::PgConnection(const ServerAddress& address)
    : m_address(address), m_uri(address.connectionUri()), m_shown(address.shown())
{
}

PgConnection::~PgConnection()
{
    close();
}

void PgConnection::close()
{
    if (m_conn)
        pq().finish(m_conn);
    m_conn = nullptr;
    // Prepared statements live and die with their connection.
    m_prepared.clear();
}

bool PgConnection::isAlive()
{
    if (!m_conn || pq().status(m_conn) != CONNECTION_OK)
        return false;
    // Reads what waits on the socket, without blocking. A server that ended the connection left
    // its farewell there and then the end of the stream: the first read takes the one, the second
    // finds the other, which marks the connection bad. A live connection has nothing to read.
    for (int read = 0; read < 2; ++read) {
        if (pq().consumeInput(m_conn) != 1)
            return false;
    }
    return pq().status(m_conn) == CONNECTION_OK;
}

bool PgConnection::tryConnect(QString* reason)
{
    if (isAlive())
        return true;
    close();
    try {
        pq();
    } catch (const EngineError& error) {
        if (reason)
            *reason = error.text();
        return false;
    }
    const char* keywords[] = {"dbname", "connect_timeout", "client_encoding", "fallback_application_name",
                              nullptr};
    const QByteArray program = QCoreApplication::applicationName().toUtf8();
    const char* values[] = {m_uri.constData(), "10", "UTF8", program.constData(), nullptr};
    m_conn = pq().connectdbParams(keywords, values, 1);
    if (m_conn && pq().status(m_conn) == CONNECTION_OK) {
        pq().setNoticeProcessor(m_conn, ignoreNotice, nullptr);
        return true;
    }
    if (reason)
        *reason = m_address.withoutPassword(m_conn ? trimmedMessage(pq().errorMessage(m_conn))
                                                   : QStringLiteral("out of memory"));
    close();
    return false;
}

void PgConnection::connect()
{
    if (m_conn && pq().status(m_conn) == CONNECTION_OK) {
        const bool midTransaction = pq().transactionStatus(m_conn) != PQTRANS_IDLE;
        if (isAlive())
            return;
        // The lost transaction's work went with it: going on with a new connection would store the
        // rest of that work alone.
        if (midTransaction) {
            const QString reason = trimmedMessage(pq().errorMessage(m_conn));
            close();
            raise(QStringLiteral("The connection to the database server %1 was lost during a change, which "
                                 "the server undid (%2). The next operation connects again.")
                      .arg(m_shown, reason));
        }
    }
    QString reason;
    if (!tryConnect(&reason))
        raise(QStringLiteral("Cannot reach the database server %1: %2").arg(m_shown, reason));
}

void PgConnection::raise(const QString& text) const
{
    throw EngineError(m_address.withoutPassword(text));
}

QString PgConnection::serverMessage(pg_result* result) const
{
    const char* primary = result ? pq().resultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return primary ? QString::fromUtf8(primary) : trimmedMessage(pq().errorMessage(m_conn));
}

void PgConnection::fail(pg_result* result, const QString& action, const QString& place)
{
    const char* state = result ? pq().resultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    m_lastState = state ? QByteArray(state) : QByteArray();
    const QString reason = serverMessage(result);
    pq().clear(result);
    if (pq().status(m_conn) != CONNECTION_OK) {
        // Dropped now; the next use connects again.
        close();
        raise(QStringLiteral("%1 %2: the connection to the database server was lost (%3). The next "
                             "operation connects again.")
                  .arg(action, place.isEmpty() ? m_shown : place, reason));
    }
    raise(QStringLiteral("%1 %2: %3.").arg(action, place.isEmpty() ? m_shown : place, reason));
}

PgResult PgConnection::checked(pg_result* result, const QString& action, const QString& place)
{
    const ExecStatusType status = result ? pq().resultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(result, action, place);
    m_lastState.clear();
    return PgResult(result);
}

namespace {

struct TextParameters
{
    explicit TextParameters(const QList<PgParameter>& parameters)
    {
        for (const PgParameter& parameter : parameters) {
            values.append(parameter ? parameter->constData() : nullptr);
            lengths.append(parameter ? int(parameter->size()) : 0);
        }
    }

    QVarLengthArray<const char*, 16> values;
    QVarLengthArray<int, 16> lengths;
};

} // namespace

PgResult PgConnection::exec(const QByteArray& sql, const QList<PgParameter>& parameters,
                            const QString& action, const QString& place)
{
    connect();
    const TextParameters text(parameters);
    return checked(pq().execParams(m_conn, sql.constData(), int(parameters.size()), nullptr,
                                   text.values.data(), text.lengths.data(), nullptr, 0),
                   action, place);
}

PgResult PgConnection::execPrepared(const QByteArray& sql, const QList<PgParameter>& parameters,
                                    const QString& action, const QString& place)
{
    connect();
    QByteArray name = m_prepared.value(sql);
    if (name.isEmpty()) {
        name = "quillio_" + QByteArray::number(m_prepared.size() + 1);
        checked(pq().prepare(m_conn, name.constData(), sql.constData(), int(parameters.size()), nullptr),
                action, place);
        m_prepared.insert(sql, name);
    }
    const TextParameters text(parameters);
    return checked(pq().execPrepared(m_conn, name.constData(), int(parameters.size()), text.values.data(),
                                     text.lengths.data(), nullptr, 0),
                   action, place);
}

int PgConnection::backendPid() const
{
    return m_conn ? pq().backendPID(m_conn) : 0;
}

QByteArray PgConnection::quoteIdentifier(const QString& name)
{
    connect();
    const QByteArray utf8 = name.toUtf8();
    char* quoted = pq().escapeIdentifier(m_conn, utf8.constData(), size_t(utf8.size()));
    if (!quoted)
        raise(QStringLiteral("The name %1 cannot be used on the database server %2: %3")
                  .arg(name, m_shown, trimmedMessage(pq().errorMessage(m_conn))));
    QByteArray result(quoted);
    pq().freemem(quoted);
    return result;
}

} // namespace quillio::engine
