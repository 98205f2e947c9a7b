#include "PostgresCluster.h"

#include "engine/ClientLibrary.h"
#include "engine/EngineError.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <pwd.h>
#include <unistd.h>

// Loaded as the program loads it: at the first use of a server.
using quillio::engine::pq;

namespace quillio::test {

namespace {

QString unavailable;

const QStringList ServerPrograms = {QStringLiteral("initdb"), QStringLiteral("pg_ctl"),
                                    QStringLiteral("postgres")};

bool holdsServer(const QString& directory)
{
    for (const QString& program : ServerPrograms) {
        if (!QFileInfo(QDir(directory).filePath(program)).isExecutable())
            return false;
    }
    return true;
}

// The directory of the server's programs: from PATH, else the newest of /usr/lib/postgresql/*/bin.
QString findBinaries()
{
    const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    if (!initdb.isEmpty()) {
        QString directory = QFileInfo(QFileInfo(initdb).canonicalFilePath()).absolutePath();
        if (holdsServer(directory))
            return directory;
    }
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& version : found) {
        QString directory = versions.filePath(version + QStringLiteral("/bin"));
        if (holdsServer(directory))
            return directory;
    }
    return {};
}

bool isRoot()
{
    return geteuid() == 0;
}

QString socketUri(const QString& socketDirectory, const QString& database)
{
    return QStringLiteral("postgresql://postgres@%1/%2")
        .arg(QString::fromUtf8(QUrl::toPercentEncoding(socketDirectory)), database);
}

} // namespace

PostgresCluster* PostgresCluster::shared()
{
    static std::unique_ptr<PostgresCluster> cluster = start(unavailable);
    return cluster.get();
}

std::unique_ptr<PostgresCluster> PostgresCluster::start(QString& reason, const QStringList& settings)
{
    const QString binaries = findBinaries();
    if (binaries.isEmpty()) {
        reason = QStringLiteral("The database server's programs (initdb, pg_ctl, postgres) are not "
                                "installed: not in PATH nor in /usr/lib/postgresql/*/bin.");
        return {};
    }
    try {
        pq();
    } catch (const engine::EngineError& error) {
        reason = error.text();
        return {};
    }
    std::unique_ptr<PostgresCluster> made(new PostgresCluster);
    QString failure;
    if (!made->start(binaries, settings, failure)) {
        reason = QStringLiteral("The throw-away database server did not start: ") + failure;
        return {};
    }
    return made;
}

QString PostgresCluster::unavailableReason()
{
    return unavailable;
}

bool PostgresCluster::run(const QString& program, const QStringList& arguments, QString& output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    const QString path = QDir(m_binaries).filePath(program);
    if (isRoot())
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                                             QStringLiteral("--"), path} +
                                                     arguments);
    else
        process.start(path, arguments);
    const bool finished = process.waitForFinished(120000);
    output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (!finished)
        output = QStringLiteral("%1 did not finish: %2").arg(program, output);
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool PostgresCluster::start(const QString& binaries, const QStringList& settings, QString& reason)
{
    m_binaries = binaries;
    if (!m_dir.isValid()) {
        reason = QStringLiteral("no temporary directory");
        return false;
    }
    if (isRoot()) {
        // The server runs as `postgres`: the directory becomes its own.
        const passwd* user = getpwnam("postgres");
        if (!user || chown(QFile::encodeName(m_dir.path()).constData(), user->pw_uid, user->pw_gid) != 0) {
            reason = QStringLiteral("there is no postgres user to run the server as");
            return false;
        }
    }
    m_dataDir = QDir(m_dir.path()).filePath(QStringLiteral("data"));
    QString output;
    if (!run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), m_dataDir, QStringLiteral("-A"), QStringLiteral("trust"),
              QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-E"), QStringLiteral("UTF8"),
              QStringLiteral("--locale=C"), QStringLiteral("--no-instructions")},
             output)) {
        reason = QStringLiteral("initdb failed: ") + output;
        return false;
    }
    // Small enough for the tests' many clusters at once; a later setting of the same name wins.
    m_options = QStringLiteral("-c listen_addresses='' -c unix_socket_directories='%1' "
                               "-c max_connections=40 -c shared_buffers=16MB")
                    .arg(m_dir.path());
    for (const QString& setting : settings)
        m_options += QStringLiteral(" -c ") + setting;
    reason = start();
    return reason.isEmpty();
}

QString PostgresCluster::start()
{
    QString output;
    if (!run(QStringLiteral("pg_ctl"),
             {QStringLiteral("-D"), m_dataDir, QStringLiteral("-o"), m_options, QStringLiteral("-l"),
              QDir(m_dir.path()).filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
              QStringLiteral("start")},
             output)) {
        QFile log(QDir(m_dir.path()).filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        return QStringLiteral("pg_ctl start failed: ") + output + u' ' +
               QString::fromLocal8Bit(log.readAll());
    }
    m_started = true;
    return {};
}

QString PostgresCluster::stop()
{
    QString output;
    if (!run(QStringLiteral("pg_ctl"),
             {QStringLiteral("-D"), m_dataDir, QStringLiteral("-m"), QStringLiteral("fast"),
              QStringLiteral("-w"), QStringLiteral("stop")},
             output))
        return QStringLiteral("pg_ctl stop failed: ") + output;
    m_started = false;
    return {};
}

QString PostgresCluster::socketHost() const
{
    return QString::fromUtf8(QUrl::toPercentEncoding(m_dir.path()));
}

PostgresCluster::~PostgresCluster()
{
    if (m_started) {
        QString output;
        run(QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), m_dataDir, QStringLiteral("-m"), QStringLiteral("immediate"),
             QStringLiteral("-w"), QStringLiteral("stop")},
            output);
    }
    // QTemporaryDir removes the directory, the cluster with it.
}

QString PostgresCluster::execute(const QString& sql, const QString& database)
{
    PGconn* connection = pq().connectdb(socketUri(m_dir.path(), database).toUtf8().constData());
    QString failure;
    if (pq().status(connection) != CONNECTION_OK) {
        failure = QString::fromUtf8(pq().errorMessage(connection));
    } else {
        PGresult* result = pq().exec(connection, sql.toUtf8().constData());
        const ExecStatusType status = pq().resultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            failure = QString::fromUtf8(pq().errorMessage(connection));
        pq().clear(result);
    }
    pq().finish(connection);
    return failure.trimmed();
}

QString PostgresCluster::queryValue(const QString& sql, const QString& database)
{
    PGconn* connection = pq().connectdb(socketUri(m_dir.path(), database).toUtf8().constData());
    QString value;
    if (pq().status(connection) == CONNECTION_OK) {
        PGresult* result = pq().exec(connection, sql.toUtf8().constData());
        if (pq().resultStatus(result) == PGRES_TUPLES_OK && pq().ntuples(result) > 0 &&
            !pq().getisnull(result, 0, 0))
            value = QString::fromUtf8(pq().getvalue(result, 0, 0));
        pq().clear(result);
    }
    pq().finish(connection);
    return value;
}

QString PostgresCluster::newDatabase()
{
    const QString name = QStringLiteral("quillio_%1").arg(++m_databases);
    const QString failure = execute(QStringLiteral("CREATE DATABASE %1").arg(name));
    if (!failure.isEmpty())
        qFatal("Cannot create the test database %s: %s", qPrintable(name), qPrintable(failure));
    return databaseAddress(name);
}

QString PostgresCluster::databaseAddress(const QString& name) const
{
    return socketUri(m_dir.path(), name) + u'/';
}

} // namespace quillio::test
