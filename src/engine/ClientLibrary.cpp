#include "engine/ClientLibrary.h"

#include "engine/EngineError.h"

#include <QLibrary>

namespace quillio::engine {

namespace {

template <typename Function> void bind(QLibrary& library, Function& slot, const char* name)
{
    slot = reinterpret_cast<Function>(library.resolve(name));
    if (!slot)
        throw EngineError(QStringLiteral("The PostgreSQL client library %1 has no function %2.")
                              .arg(library.fileName(), QLatin1String(name)));
}

ClientLibrary load()
{
    // Never unloaded: connections made with it live until the program ends.
    static QLibrary library(QStringLiteral("pq"), 5);
    if (!library.isLoaded() && !library.load())
        throw EngineError(QStringLiteral("Cannot reach a database server: the PostgreSQL client library "
                                         "(libpq, Debian package libpq5) cannot be loaded: %1")
                              .arg(library.errorString()));
    ClientLibrary pq;
    bind(library, pq.connectdbParams, "PQconnectdbParams");
    bind(library, pq.connectdb, "PQconnectdb");
    bind(library, pq.status, "PQstatus");
    bind(library, pq.consumeInput, "PQconsumeInput");
    bind(library, pq.transactionStatus, "PQtransactionStatus");
    bind(library, pq.finish, "PQfinish");
    bind(library, pq.errorMessage, "PQerrorMessage");
    bind(library, pq.setNoticeProcessor, "PQsetNoticeProcessor");
    bind(library, pq.exec, "PQexec");
    bind(library, pq.execParams, "PQexecParams");
    bind(library, pq.prepare, "PQprepare");
    bind(library, pq.execPrepared, "PQexecPrepared");
    bind(library, pq.resultStatus, "PQresultStatus");
    bind(library, pq.resultErrorField, "PQresultErrorField");
    bind(library, pq.clear, "PQclear");
    bind(library, pq.backendPID, "PQbackendPID");
    bind(library, pq.escapeIdentifier, "PQescapeIdentifier");
    bind(library, pq.freemem, "PQfreemem");
    bind(library, pq.ntuples, "PQntuples");
    bind(library, pq.cmdTuples, "PQcmdTuples");
    bind(library, pq.getisnull, "PQgetisnull");
    bind(library, pq.getvalue, "PQgetvalue");
    bind(library, pq.getlength, "PQgetlength");
    bind(library, pq.fnumber, "PQfnumber");
    return pq;
}

} // namespace

const ClientLibrary& ClientLibrary::get()
{
    // A failed load raises before the static is set, so the next use tries again.
    static const ClientLibrary library = load();
    return library;
}

} // namespace quillio::engine
