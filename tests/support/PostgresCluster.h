#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace quillio::test {

// A throw-away database server: a cluster made with initdb in a temporary directory and started
// with pg_ctl on a Unix socket in that same directory (no TCP port), as the `postgres` user when
// the process runs as root, since the server refuses to run as root. Stopped and removed when its
// owner lets it go: the tests share one per process, the bench starts one for its run.
class PostgresCluster
{
public:
    // The process's cluster, started at the first call; null when it cannot be had, the reason then
    // in unavailableReason() (for a QSKIP).
    static PostgresCluster* shared();
    static QString unavailableReason();
    // A cluster of the caller's own, started now with the server's settings `settings` (name=value)
    // over the tests' small ones; null when it cannot be had, the reason then in `reason`.
    static std::unique_ptr<PostgresCluster> start(QString& reason, const QStringList& settings = {});

    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // A new, empty database; its address, ending with a separator (postgresql://.../name/).
    QString newDatabase();
    // The address of the database `name` (made with execute()), ending with a separator.
    QString databaseAddress(const QString& name) const;
    // Runs one statement in the maintenance database as the superuser; the server's reason on
    // failure, empty on success.
    QString execute(const QString& sql, const QString& database = QStringLiteral("postgres"));
    // The first column of the first row of a query's answer; empty when there is none.
    QString queryValue(const QString& sql, const QString& database);
    // The server's socket directory as the host of an address (percent-encoded).
    QString socketHost() const;

    // Stops the server as an administrator would (pg_ctl stop -m fast: every connection is ended),
    // keeping its data; start() brings it back on the same socket. The server's reason on failure,
    // empty on success.
    QString stop();
    QString start();

private:
    PostgresCluster() = default;
    bool start(const QString& binaries, const QStringList& settings, QString& reason);
    bool run(const QString& program, const QStringList& arguments, QString& output);

    QTemporaryDir m_dir;
    QString m_binaries;
    QString m_dataDir;
    QString m_options;
    bool m_started = false;
    int m_databases = 0;
};

} // namespace quillio::test
