#include "engine/SqliteConnection.h"

#include "engine/EngineError.h"
#include "engine/SqliteStatement.h"

#include <QDir>
#include <QRandomGenerator>
#include <chrono>
#include <sqlite3.h>
#include <thread>

namespace quillio::engine {

namespace {

constexpr int BusyTimeoutMs = 2000;

// What went wrong, in the engine's words and in Italian, for the primary result codes a person can
// act on; the others are told as SQLite tells them.
struct Reason
{
    const char* engine;
    const char* italian;
};

const Reason* knownReason(int code)
{
    static const Reason busy{"the file is in use by another user; try again in a moment",
                             "il file è in uso da un'altra postazione; riprovare fra un momento"};
    static const Reason full{"the disk is full", "il disco è pieno"};
    static const Reason readOnly{"the file is read-only or access to it is denied",
                                 "il file è di sola lettura o l'accesso è negato"};
    static const Reason damaged{"the file is damaged or is not a table file",
                                "il file è danneggiato o non è un file del programma"};
    static const Reason cannotOpen{"the file cannot be opened", "il file non si può aprire"};
    static const Reason disk{"a disk error occurred", "si è verificato un errore del disco"};
    static const Reason memory{"there is not enough memory", "la memoria non basta"};
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return &busy;
    case SQLITE_FULL:
        return &full;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return &readOnly;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return &damaged;
    case SQLITE_CANTOPEN:
        return &cannotOpen;
    case SQLITE_IOERR:
        return &disk;
    case SQLITE_NOMEM:
        return &memory;
    default:
        return nullptr;
    }
}

QString reasonFor(int code, sqlite3* db, SqliteConnection::Wording wording)
{
    const bool italian = wording == SqliteConnection::Wording::Italian;
    if (const Reason* reason = knownReason(code))
        return QString::fromUtf8(italian ? reason->italian : reason->engine);
    const QString sqlites =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    return italian ? QStringLiteral("errore %1 del file (%2)").arg(code).arg(sqlites) : sqlites;
}

} // namespace

SqliteConnection::SqliteConnection(const QString& path, Mode mode, const QString& shownPath, Wording wording)
    : m_path(path), m_shownPath(shownPath.isEmpty() ? path : shownPath), m_wording(wording)
{
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::CreateNew)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = reasonFor(rc, nullptr, wording);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        const bool italian = wording == Wording::Italian;
        const QString action = mode == Mode::CreateNew
                                   ? (italian ? QStringLiteral("Impossibile creare il file")
                                              : QStringLiteral("Cannot create the table file"))
                                   : (italian ? QStringLiteral("Impossibile aprire il file")
                                              : QStringLiteral("Cannot open the table file"));
        throw EngineError(
            QStringLiteral("%1 %2: %3.").arg(action, QDir::toNativeSeparators(m_shownPath), reason));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, waitWhileBusy, this);
}

// While another user holds the file, tries again every millisecond or so, for at most
// BusyTimeoutMs. Short, jittered waits give both users their turn; SQLite's own growing waits let
// a busy writer keep the file for itself until the other one gives up.
int SqliteConnection::waitWhileBusy(void* connection, int attempt)
{
    auto* self = static_cast<SqliteConnection*>(connection);
    if (attempt == 0)
        self->m_busySince.start();
    if (self->m_busySince.elapsed() >= BusyTimeoutMs)
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(QRandomGenerator::global()->bounded(200, 1500)));
    return 1;
}

SqliteConnection::~SqliteConnection()
{
    // close_v2 defers the close until every statement of the connection is finalized.
    sqlite3_close_v2(m_db);
}

void SqliteConnection::exec(const QByteArray& sql, const QString& action)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(rc, action.isEmpty() ? generalAction() : action);
}

QString SqliteConnection::generalAction() const
{
    return m_wording == Wording::Italian ? QStringLiteral("Impossibile usare il file")
                                         : QStringLiteral("Cannot use the table file");
}

QString SqliteConnection::readAction() const
{
    return m_wording == Wording::Italian ? QStringLiteral("Impossibile leggere il file")
                                         : QStringLiteral("Cannot read the table file");
}

SqliteStatement SqliteConnection::prepare(const QByteArray& sql)
{
    return SqliteStatement(*this, sql);
}

qint64 SqliteConnection::lastInsertRowid() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteConnection::changes() const
{
    return sqlite3_changes(m_db);
}

bool SqliteConnection::carriesTriggersOrViews()
{
    SqliteStatement found =
        prepare("SELECT EXISTS (SELECT 1 FROM sqlite_schema WHERE type IN ('trigger', 'view'))");
    return found.step() && found.columnInt64(0) != 0;
}

void SqliteConnection::fail(int code, const QString& action) const
{
    // The file this connection holds was renamed away or replaced, as a restore of a copy on another
    // desk does: nothing written here would reach the archive, and only opening the file again helps.
    if (code == SQLITE_READONLY_DBMOVED)
        throw EngineError(
            QStringLiteral("Il file %1 è stato sostituito mentre era aperto (per esempio dal ripristino di "
                           "una copia fatto da un'altra postazione): la modifica non è stata memorizzata. "
                           "Chiudere la finestra e riaprirla per lavorare sull'archivio com'è ora.")
                .arg(QDir::toNativeSeparators(m_shownPath)));
    throw EngineError(
        QStringLiteral("%1 %2: %3.")
            .arg(action, QDir::toNativeSeparators(m_shownPath), reasonFor(code, m_db, m_wording)));
}

void SqliteConnection::fail(const QString& action) const
{
    fail(sqlite3_extended_errcode(m_db), action);
}

QByteArray SqliteConnection::quoteIdentifier(const QString& name)
{
    QByteArray quoted = name.toUtf8();
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

} // namespace quillio::engine
