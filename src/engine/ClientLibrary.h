#pragma once

#include <libpq-fe.h>

namespace quillio::engine {

// The database server's client library, loaded the first time a server address is used: a desk
// that keeps its archive in folders never loads it, nor the TLS, Kerberos and directory libraries
// it brings along, so the program starts as fast as it did before it could use a server.
struct ClientLibrary
{
    // The loaded library; raises the engine's error, saying what to install, when it is missing.
    static const ClientLibrary& get();

    decltype(&PQconnectdbParams) connectdbParams = nullptr;
    decltype(&PQconnectdb) connectdb = nullptr;
    decltype(&PQstatus) status = nullptr;
    decltype(&PQconsumeInput) consumeInput = nullptr;
    decltype(&PQtransactionStatus) transactionStatus = nullptr;
    decltype(&PQfinish) finish = nullptr;
    decltype(&PQerrorMessage) errorMessage = nullptr;
    decltype(&PQsetNoticeProcessor) setNoticeProcessor = nullptr;
    decltype(&PQexec) exec = nullptr;
    decltype(&PQexecParams) execParams = nullptr;
    decltype(&PQprepare) prepare = nullptr;
    decltype(&PQexecPrepared) execPrepared = nullptr;
    decltype(&PQresultStatus) resultStatus = nullptr;
    decltype(&PQresultErrorField) resultErrorField = nullptr;
    decltype(&PQclear) clear = nullptr;
    decltype(&PQbackendPID) backendPID = nullptr;
    decltype(&PQescapeIdentifier) escapeIdentifier = nullptr;
    decltype(&PQfreemem) freemem = nullptr;
    decltype(&PQntuples) ntuples = nullptr;
    decltype(&PQcmdTuples) cmdTuples = nullptr;
    decltype(&PQgetisnull) getisnull = nullptr;
    decltype(&PQgetvalue) getvalue = nullptr;
    decltype(&PQgetlength) getlength = nullptr;
    decltype(&PQfnumber) fnumber = nullptr;
};

// The loaded library, for short: pq().exec(...).
inline const ClientLibrary& pq()
{
    return ClientLibrary::get();
}

} // namespace quillio::engine
