#include "engine/SqliteStatement.h"

#include "engine/SqliteConnection.h"

#include <sqlite3.h>
#include <utility>

namespace quillio::engine {

SqliteStatement::SqliteStatement(SqliteConnection& connection, const QByteArray& sql)
    : m_connection(&connection)
{
    const int rc = sqlite3_prepare_v3(connection.handle(), sql.constData(), int(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        connection.fail(rc, connection.readAction());
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_connection(std::exchange(other.m_connection, nullptr)), m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_connection = std::exchange(other.m_connection, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

void SqliteStatement::bindInt64(int index, qint64 value)
{
    sqlite3_bind_int64(m_stmt, index, value);
}

void SqliteStatement::bindDouble(int index, double value)
{
    sqlite3_bind_double(m_stmt, index, value);
}

void SqliteStatement::bindText(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text64(m_stmt, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
}

void SqliteStatement::bindBlob(int index, const QByteArray& bytes)
{
    sqlite3_bind_blob64(m_stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindNull(int index)
{
    sqlite3_bind_null(m_stmt, index);
}

bool SqliteStatement::step()
{
    return step(m_connection->readAction());
}

bool SqliteStatement::step(const QString& action)
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_connection->fail(rc, action);
}

void SqliteStatement::reset()
{
    if (m_stmt)
        sqlite3_reset(m_stmt);
}

qint64 SqliteStatement::columnInt64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString SqliteStatement::columnText(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QByteArray SqliteStatement::columnBlob(int column) const
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
    return bytes ? QByteArray(bytes, sqlite3_column_bytes(m_stmt, column)) : QByteArray();
}

} // namespace quillio::engine
