#pragma once

#include <QString>

namespace quillio::engine {

class PgConnection;

// A transaction on a server connection: begun when made, rolled back when left without commit()
// (an error on the way), so nothing half-written stays behind.
class PgTransaction
{
public:
    PgTransaction(PgConnection& connection, const QString& action);
    ~PgTransaction();
    PgTransaction(const PgTransaction&) = delete;
    PgTransaction& operator=(const PgTransaction&) = delete;

    void commit();

private:
    PgConnection& m_connection;
    QString m_action;
    bool m_open = true;
};

} // namespace quillio::engine
