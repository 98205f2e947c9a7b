#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace quillio::engine {

class SqliteConnection;

// One prepared statement, finalized when destroyed. step() throws on an error, so callers only see
// "a row" or "done".
class SqliteStatement
{
public:
    SqliteStatement() = default;
    SqliteStatement(SqliteConnection& connection, const QByteArray& sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    sqlite3_stmt* handle() const { return m_stmt; }

    void bindInt64(int index, qint64 value);
    void bindDouble(int index, double value);
    void bindText(int index, const QString& text);
    void bindBlob(int index, const QByteArray& bytes);
    void bindNull(int index);

    // True while a row is available, false when the statement is done. A failure is raised as an
    // EngineError that begins with `action` (the connection's read action when not given).
    bool step();
    bool step(const QString& action);
    // Ends a stepping statement, releasing what it holds on the file; the bindings stay.
    void reset();

    qint64 columnInt64(int column) const;
    QString columnText(int column) const;
    QByteArray columnBlob(int column) const;

private:
    SqliteConnection* m_connection = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace quillio::engine
