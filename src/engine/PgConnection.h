#pragma once

#include "engine/PgResult.h"
#include "engine/ServerAddress.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

struct pg_conn;

namespace quillio::engine {

// A text parameter of a statement; nothing stands for null.
using PgParameter = std::optional<QByteArray>;
using PgParameters = QList<PgParameter>;

// One connection to a database server, made at its first use and made again at the first use after
// it was lost, or found closed by the server before it is used. Errors are raised as EngineError
// texts that begin with what was being done and name the place; whatever the client library or the
// server says, they never carry the address's password.
class PgConnection
{
public:
    explicit PgConnection(const ServerAddress& address);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Connects unless connected; raises the engine's error when the server cannot be reached.
    void connect();
    // Whether a connection can be made (or is there); the server's reason otherwise.
    bool tryConnect(QString* reason);
    pg_conn* handle() const { return m_conn; }
    const QString& shown() const { return m_shown; }

    // Runs one statement with text parameters ($1, $2, ...); a failure's text begins with `action`
    // and names `place` (a table), or the database when none is given.
    PgResult exec(const QByteArray& sql, const QList<PgParameter>& parameters, const QString& action,
                  const QString& place = {});
    PgResult exec(const QByteArray& sql, const QString& action, const QString& place = {})
    {
        return exec(sql, {}, action, place);
    }
    // As exec(), for a statement run again and again (a page read, an insert): prepared at its first
    // run on this connection, it skips the server's parsing and planning afterwards.
    PgResult execPrepared(const QByteArray& sql, const QList<PgParameter>& parameters, const QString& action,
                          const QString& place = {});
    // The SQLSTATE of the last failure raised by exec(), e.g. "42P07".
    const QByteArray& lastState() const { return m_lastState; }
    // The backend's process id, for a test that ends it.
    int backendPid() const;

    // A name as SQL text, quoted by the client library.
    QByteArray quoteIdentifier(const QString& name);

private:
    void close();
    [[noreturn]] void fail(pg_result* result, const QString& action, const QString& place);
    // Raises the engine's error with `text`, the password blotted out.
    [[noreturn]] void raise(const QString& text) const;
    // Whether the connection is there and the server has not closed it meanwhile (a restart ends
    // every connection: the server's farewell waits unread on the socket).
    bool isAlive();
    QString serverMessage(pg_result* result) const;
    // Fails unless `result` holds rows or a command's success; the result otherwise.
    PgResult checked(pg_result* result, const QString& action, const QString& place);

    ServerAddress m_address;
    QByteArray m_uri;
    QString m_shown;
    pg_conn* m_conn = nullptr;
    QByteArray m_lastState;
    QHash<QByteArray, QByteArray> m_prepared; // statement text -> its name on this connection
};

} // namespace quillio::engine
