#include "DiskFaults.h"

#include <QFileInfo>
#include <QList>
#include <QMutex>
#include <QSet>
#include <sqlite3.h>

namespace quillio::reliability {

namespace {

QMutex guard;
QSet<QString> readOnlyPaths;
QList<sqlite3*> connections; // every connection opened since watchConnections(), newest last
sqlite3* fullConnection = nullptr;
sqlite3_vfs wrapped;
sqlite3_vfs* original = nullptr;

QString canonical(const char* path)
{
    const QString text = QString::fromUtf8(path);
    const QString found = QFileInfo(text).canonicalFilePath();
    return found.isEmpty() ? text : found;
}

// Opens a file marked read-only as SQLite opens a file the user may not write: read-only.
int openFile(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    if (name && (flags & SQLITE_OPEN_MAIN_DB)) {
        QMutexLocker lock(&guard);
        if (readOnlyPaths.contains(canonical(name)))
            flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    }
    return original->xOpen(original, name, file, flags, outFlags);
}

int rememberConnection(sqlite3* db, char**, const sqlite3_api_routines*)
{
    QMutexLocker lock(&guard);
    connections.append(db);
    return SQLITE_OK;
}

void setPageLimit(sqlite3* db, const QByteArray& limit)
{
    sqlite3_exec(db, "PRAGMA max_page_count = " + limit, nullptr, nullptr, nullptr);
}

qint64 pageCount(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    qint64 pages = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA page_count", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        pages = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return pages;
}

} // namespace

void DiskFaults::install()
{
    if (original)
        return;
    original = sqlite3_vfs_find(nullptr);
    wrapped = *original;
    wrapped.zName = "quillio-disk-faults";
    wrapped.xOpen = openFile;
    sqlite3_vfs_register(&wrapped, 1);
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(rememberConnection));
}

void DiskFaults::markReadOnly(const QString& path)
{
    QMutexLocker lock(&guard);
    readOnlyPaths.insert(canonical(path.toUtf8().constData()));
}

void DiskFaults::clearReadOnly()
{
    QMutexLocker lock(&guard);
    readOnlyPaths.clear();
}

sqlite3* DiskFaults::lastConnectionTo(const QString& path)
{
    const QString wanted = canonical(path.toUtf8().constData());
    QMutexLocker lock(&guard);
    for (qsizetype i = connections.size() - 1; i >= 0; --i) {
        const char* name = sqlite3_db_filename(connections.at(i), "main");
        if (name && canonical(name) == wanted)
            return connections.at(i);
    }
    return nullptr;
}

void DiskFaults::watchConnections()
{
    QMutexLocker lock(&guard);
    connections.clear();
}

bool DiskFaults::fillDisk(const QString& path)
{
    fullConnection = lastConnectionTo(path);
    if (!fullConnection)
        return false;
    setPageLimit(fullConnection, QByteArray::number(pageCount(fullConnection)));
    return true;
}

void DiskFaults::freeDisk()
{
    if (fullConnection)
        setPageLimit(fullConnection, "2147483647");
    fullConnection = nullptr;
}

} // namespace quillio::reliability
