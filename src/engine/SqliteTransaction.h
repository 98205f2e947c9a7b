#pragma once

#include <QString>

namespace quillio::engine {

class SqliteConnection;

// A write transaction that takes the file's write lock at once (waiting briefly while another user
// holds it) and rolls back unless committed.
class SqliteTransaction
{
public:
    // `action` begins the text of an error ("Cannot store the record in").
    SqliteTransaction(SqliteConnection& connection, const QString& action);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();

private:
    SqliteConnection& m_connection;
    QString m_action;
    bool m_open = false;
};

} // namespace quillio::engine
