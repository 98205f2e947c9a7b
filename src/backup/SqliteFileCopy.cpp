#include "backup/SqliteFileCopy.h"

#include "backup/BackupError.h"
#include "engine/EngineError.h"
#include "engine/SqliteConnection.h"
#include "engine/SqliteStatement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

// The file as it is, for one SQLite cannot read: it goes into the copy unchanged.
void copyBytes(const QString& source, const QString& target)
{
    QFile::remove(target);
    QFile file(source);
    if (!file.copy(target))
        throw BackupError(
            QStringLiteral("Impossibile copiare %1 così com'è: %2.").arg(native(source), file.errorString()));
}

// The first line of SQLite's own check of every page, or its refusal to read the file at all.
QString quickCheckOf(const QString& path, int& code)
{
    sqlite3* db = nullptr;
    code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QString answer;
    if (code == SQLITE_OK) {
        sqlite3_busy_timeout(db, BusyPatienceMs);
        sqlite3_stmt* check = nullptr;
        code = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &check, nullptr);
        if (code == SQLITE_OK) {
            code = sqlite3_step(check);
            if (code == SQLITE_ROW)
                answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
            else
                answer = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(check);
    }
    sqlite3_close_v2(db);
    return answer;
}

} // namespace

QString SqliteFileCopy::damageOf(const QString& path)
{
    if (QFileInfo(path).size() == 0)
        return QStringLiteral("il file è vuoto, 0 byte");
    int code = SQLITE_OK;
    const QString answer = quickCheckOf(path, code);
    if (code == SQLITE_ROW && answer != QLatin1String("ok"))
        return QStringLiteral("SQLite vi trova pagine danneggiate: %1").arg(answer);
    // A planted trigger or view would run in the archive, so the engine refuses such a file: it is
    // kept only as it is, like a damaged one, and never put back from a copy.
    if (code == SQLITE_ROW)
        return carriesTriggersOrViews(path)
                   ? QStringLiteral("contiene trigger o viste, che il programma non scrive mai")
                   : QString();
    switch (code & 0xff) {
    case SQLITE_NOTADB:
        return QStringLiteral("non è un file di SQLite, la sua intestazione non è valida");
    case SQLITE_CORRUPT:
        return QStringLiteral("SQLite lo trova danneggiato: %1").arg(answer);
    default:
        return {};
    }
}

BackupManifest::File SqliteFileCopy::save(const QString& source, const QString& target,
                                          const QString& relativePath, const QString& year)
{
    QString damage;
    try {
        copy(source, target);
        // Pages are copied as they are, so damage inside the file shows in the copy, which no desk
        // holds; an empty file becomes an empty database there, so it is judged on itself.
        damage = damageOf(QFileInfo(source).size() == 0 ? source : target);
    } catch (const BackupError&) {
        damage = damageOf(source);
        if (damage.isEmpty())
            throw;
    }
    if (damage.isEmpty())
        return describe(target, relativePath, year);
    copyBytes(source, target);
    BackupManifest::File file;
    file.path = relativePath;
    file.year = year;
    file.sha256 = sha256Of(target);
    file.size = QFileInfo(target).size();
    file.damaged = true;
    file.damage = damage;
    return file;
}

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
