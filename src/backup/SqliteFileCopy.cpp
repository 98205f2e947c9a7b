#include "backup/SqliteFileCopy.h"

#include "backup/BackupError.h"
#include "engine/EngineError.h"
#include "engine/SqliteConnection.h"
#include "engine/SqliteStatement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <sqlite3.h>

namespace quillio::backup {

namespace {

// A writer on another desk holds the file for one short transaction; the copy waits for it.
constexpr int BusyPatienceMs = 10000;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QStringList userTables(engine::SqliteConnection& connection)
{
    QStringList names;
    engine::SqliteStatement list = connection.prepare(
        "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name");
    while (list.step())
        names.append(list.columnText(0));
    return names;
}

qint64 singleNumber(engine::SqliteConnection& connection, const QByteArray& sql)
{
    engine::SqliteStatement statement = connection.prepare(sql);
    return statement.step() ? statement.columnInt64(0) : 0;
}

// The table files keep their records in `records`, keyed by OrdNum when the table has one.
std::optional<qint64> highestOrdNum(engine::SqliteConnection& connection)
{
    engine::SqliteStatement column =
        connection.prepare("SELECT count(*) FROM pragma_table_info('records') WHERE name = 'OrdNum'");
    if (!column.step() || column.columnInt64(0) == 0)
        return std::nullopt;
    engine::SqliteStatement highest = connection.prepare("SELECT max(\"OrdNum\") FROM records");
    if (!highest.step() || sqlite3_column_type(highest.handle(), 0) == SQLITE_NULL)
        return std::nullopt;
    return highest.columnInt64(0);
}

// Every SQLite database begins with these 16 bytes; an empty file does not.
bool hasDatabaseHeader(const QString& path)
{
    static const QByteArray header("SQLite format 3\0", 16);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

} // namespace

void SqliteFileCopy::copy(const QString& source, const QString& target)
{
    QFile::remove(target);
    try {
        engine::SqliteConnection from(source, engine::SqliteConnection::Mode::OpenExisting);
        engine::SqliteConnection to(target, engine::SqliteConnection::Mode::CreateNew);
        sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
        if (!backup)
            to.fail(QStringLiteral("Impossibile copiare in"));
        QElapsedTimer waited;
        waited.start();
        int rc = SQLITE_OK;
        do {
            rc = sqlite3_backup_step(backup, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                QThread::msleep(5);
        } while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < BusyPatienceMs);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            from.fail(rc, QStringLiteral("Impossibile copiare"));
    } catch (const engine::EngineError& error) {
        QFile::remove(target);
        throw BackupError(error.text());
    }
}

BackupManifest::File SqliteFileCopy::describe(const QString& path, const QString& relativePath,
                                              const QString& year)
{
    BackupManifest::File file;
    file.path = relativePath;
    file.year = year;
    file.sha256 = sha256Of(path);
    file.size = QFileInfo(path).size();
    try {
        engine::SqliteConnection connection(path, engine::SqliteConnection::Mode::OpenExisting);
        for (const QString& table : userTables(connection))
            file.records.insert(
                table, singleNumber(connection, "SELECT count(*) FROM " +
                                                    engine::SqliteConnection::quoteIdentifier(table)));
        if (!year.isEmpty())
            file.highestOrdNum = highestOrdNum(connection);
    } catch (const engine::EngineError& error) {
        throw BackupError(error.text());
    }
    return file;
}

QString SqliteFileCopy::integrityProblem(const QString& path)
{
    if (!hasDatabaseHeader(path))
        return QStringLiteral("è vuoto o non è un database SQLite");
    try {
        engine::SqliteConnection connection(path, engine::SqliteConnection::Mode::OpenExisting);
        engine::SqliteStatement check = connection.prepare("PRAGMA integrity_check");
        const QString answer = check.step() ? check.columnText(0) : QStringLiteral("nessuna risposta");
        return answer == QLatin1String("ok") ? QString() : answer;
    } catch (const engine::EngineError& error) {
        return error.text();
    }
}

bool SqliteFileCopy::carriesTriggersOrViews(const QString& path)
{
    try {
        engine::SqliteConnection connection(path, engine::SqliteConnection::Mode::OpenExisting);
        return connection.carriesTriggersOrViews();
    } catch (const engine::EngineError& error) {
        throw BackupError(error.text());
    }
}

QByteArray SqliteFileCopy::sha256Of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BackupError(
            QStringLiteral("Impossibile leggere %1: %2.").arg(native(path), file.errorString()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

} // namespace quillio::backup
