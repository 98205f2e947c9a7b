#include "engine/SqliteTransaction.h"

#include "engine/SqliteConnection.h"

#include <sqlite3.h>

namespace quillio::engine {

SqliteTransaction::SqliteTransaction(SqliteConnection& connection, const QString& action)
    : m_connection(connection), m_action(action)
{
    const int rc = sqlite3_exec(connection.handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        connection.fail(rc, action);
    m_open = true;
}

SqliteTransaction::~SqliteTransaction()
{
    if (m_open && !sqlite3_get_autocommit(m_connection.handle()))
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    const int rc = sqlite3_exec(m_connection.handle(), "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        m_connection.fail(rc, m_action);
    m_open = false;
}

} // namespace quillio::engine
