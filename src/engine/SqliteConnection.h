#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

struct sqlite3;

namespace quillio::engine {

class SqliteStatement;

// An open SQLite database file, closed when destroyed. Errors are raised as EngineError texts that
// name the file and say what went wrong in words a person understands.
class SqliteConnection
{
public:
    enum class Mode { OpenExisting, CreateNew };
    // The words of its error texts: the engine's own (English, like every text of the engine), or
    // Italian for the files the program keeps beside the tables, whose messages are the program's.
    enum class Wording { Engine, Italian };

    // `shownPath`: the file error texts name, when it differs from `path` (a file being built
    // under a temporary name).
    SqliteConnection(const QString& path, Mode mode, const QString& shownPath = {},
                     Wording wording = Wording::Engine);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

    // Runs statements that return nothing; a failure's text begins with `action`, by default the
    // connection's general one.
    void exec(const QByteArray& sql, const QString& action = {});
    SqliteStatement prepare(const QByteArray& sql);
    qint64 lastInsertRowid() const;
    int changes() const;
    // Whether the database declares a trigger or a view: SQL that runs or reads on its own
    // whenever its tables are used, which none of the program's files ever holds.
    bool carriesTriggersOrViews();

    // Raises the error of the last failed call, as "<action> <file>: <reason>."
    [[noreturn]] void fail(int code, const QString& action) const;
    [[noreturn]] void fail(const QString& action) const;
    // What a failure says it could not do when its caller names nothing more precise.
    QString generalAction() const;
    QString readAction() const;

    // A column or table name as SQL text, always between double quotes.
    static QByteArray quoteIdentifier(const QString& name);

private:
    static int waitWhileBusy(void* connection, int attempt);

    sqlite3* m_db = nullptr;
    QElapsedTimer m_busySince;
    QString m_path;
    QString m_shownPath;
    Wording m_wording;
};

} // namespace quillio::engine
