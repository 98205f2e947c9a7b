#include "engine/DataPlace.h"

#include "engine/EngineError.h"
#include "engine/PgConnection.h"
#include "engine/ServerAddress.h"
#include "engine/ServerTable.h"
#include "engine/TableFile.h"
#include "platform/PlainName.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <optional>

namespace quillio::engine {

namespace {

thread_local QString lastFailure;

// A year being copied waits under this name until it is whole.
const QString StagingPrefix = QStringLiteral(".quillio-copia-");

bool isStagingName(const QString& name)
{
    return name.startsWith(StagingPrefix) && PlainName::isYear(name.mid(StagingPrefix.size()));
}

// The last segment of a place: a folder's name, or a year address's schema.
QString lastSegment(const QString& location)
{
    if (!ServerAddress::isAddress(location))
        return QDir(location).dirName();
    const std::optional<ServerAddress> address = ServerAddress::parse(location);
    return address ? address->schema() : QString();
}

void requireYear(const QString& name)
{
    if (!PlainName::isYear(name))
        throw EngineError(QStringLiteral("\"%1\" is not the name of a working year: a year is one plain "
                                         "name, not hidden, without separators.")
                              .arg(name));
}

// Joins one segment that was checked already.
QString joined(const QString& location, const QString& name)
{
    if (!ServerAddress::isAddress(location))
        return location + name + QDir::separator();
    QString base = location;
    QString options;
    const qsizetype question = base.indexOf(u'?');
    if (question >= 0) {
        options = base.mid(question);
        base.truncate(question);
    }
    if (!base.endsWith(u'/'))
        base += u'/';
    return base + QString::fromUtf8(QUrl::toPercentEncoding(name)) + u'/' + options;
}

// Runs `work` on a connection of its own to the address's database; false, keeping the reason,
// when the address is not valid, the server cannot be reached or `work` raises the engine's error.
template <typename Work> bool onServer(const QString& location, Work&& work)
{
    lastFailure.clear();
    const std::optional<ServerAddress> address = ServerAddress::parse(location);
    if (!address) {
        lastFailure = QStringLiteral("The address cannot be used: it names no database, or a character "
                                     "of it (of the password, perhaps) must be written as a %-escape.");
        return false;
    }
    PgConnection connection(*address);
    try {
        return work(connection, *address);
    } catch (const EngineError& error) {
        lastFailure = error.text();
        return false;
    }
}

// Every subfolder of a folder, or schema of a database but the server's own, sorted.
QStringList namesIn(const QString& location)
{
    QStringList names;
    if (!ServerAddress::isAddress(location)) {
        lastFailure.clear();
        return QDir(location).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    onServer(location, [&names](PgConnection& connection, const ServerAddress&) {
        const PgResult result = connection.exec(
            "SELECT nspname FROM pg_namespace WHERE nspname NOT LIKE 'pg\\_%' AND nspname NOT IN "
            "('information_schema', 'public') ORDER BY nspname",
            QStringLiteral("Cannot list the years of"));
        for (int row = 0; row < result.rows(); ++row)
            names.append(result.text(row, 0));
        return true;
    });
    return names;
}

bool hasSchema(PgConnection& connection, const QString& schema)
{
    return connection
               .exec("SELECT 1 FROM pg_namespace WHERE nspname = $1", PgParameters{schema.toUtf8()},
                     QStringLiteral("Cannot look for the year in"))
               .rows() > 0;
}

} // namespace

bool DataPlace::isServerAddress(const QString& location)
{
    return ServerAddress::isAddress(location);
}

QString DataPlace::child(const QString& location, const QString& name)
{
    requireYear(name);
    return joined(location, name);
}

QString DataPlace::staging(const QString& location, const QString& year)
{
    requireYear(year);
    return joined(location, StagingPrefix + year);
}

bool DataPlace::exists(const QString& location)
{
    if (!isServerAddress(location)) {
        lastFailure.clear();
        return QFileInfo(location).isDir();
    }
    return onServer(location, [](PgConnection& connection, const ServerAddress& address) {
        connection.connect();
        if (address.schema().isEmpty() || hasSchema(connection, address.schema()))
            return true;
        lastFailure =
            QStringLiteral("The year %1 does not exist in %2.").arg(address.schema(), address.database());
        return false;
    });
}

bool DataPlace::create(const QString& location)
{
    if (!isServerAddress(location)) {
        lastFailure.clear();
        if (QDir().mkpath(location))
            return true;
        lastFailure =
            QStringLiteral("Cannot create the directory %1.").arg(QDir::toNativeSeparators(location));
        return false;
    }
    return onServer(location, [](PgConnection& connection, const ServerAddress& address) {
        connection.connect();
        if (address.schema().isEmpty())
            return true;
        connection.exec("CREATE SCHEMA IF NOT EXISTS " + connection.quoteIdentifier(address.schema()),
                        QStringLiteral("Cannot create the year in"));
        ServerTable::ensureCollation(connection, address.schema());
        return true;
    });
}

bool DataPlace::tableExists(const QString& directory, const QString& fileName)
{
    if (!isServerAddress(directory)) {
        lastFailure.clear();
        return QFileInfo(TableFile::pathIn(directory, fileName)).isFile();
    }
    return onServer(directory, [&fileName](PgConnection& connection, const ServerAddress& address) {
        return connection
                   .exec("SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE "
                         "n.nspname "
                         "= $1 AND c.relname = $2 AND c.relkind = 'r'",
                         {address.schema().toUtf8(), fileName.toUtf8()},
                         QStringLiteral("Cannot look for the table in"))
                   .rows() > 0;
    });
}

bool DataPlace::rename(const QString& location, const QString& newName)
{
    if (!PlainName::isYear(newName)) {
        lastFailure = QStringLiteral("\"%1\" is not the name of a working year.").arg(newName);
        return false;
    }
    if (!isServerAddress(location)) {
        lastFailure.clear();
        QDir folder(location);
        const QString target = QDir(QFileInfo(folder.absolutePath()).path()).filePath(newName);
        if (!QFileInfo::exists(target) && QDir().rename(folder.absolutePath(), target))
            return true;
        lastFailure = QStringLiteral("Cannot rename %1 to %2.")
                          .arg(QDir::toNativeSeparators(location), QDir::toNativeSeparators(target));
        return false;
    }
    return onServer(location, [&newName](PgConnection& connection, const ServerAddress& address) {
        connection.exec("ALTER SCHEMA " + connection.quoteIdentifier(address.schema()) + " RENAME TO " +
                            connection.quoteIdentifier(newName),
                        QStringLiteral("Cannot rename the year in"));
        return true;
    });
}

bool DataPlace::remove(const QString& location)
{
    if (!isStagingName(lastSegment(location))) {
        lastFailure =
            QStringLiteral("%1 is not a copy's staging place: it is not removed.").arg(shown(location));
        return false;
    }
    if (!isServerAddress(location)) {
        lastFailure.clear();
        return QDir(location).removeRecursively();
    }
    return onServer(location, [](PgConnection& connection, const ServerAddress& address) {
        connection.exec("DROP SCHEMA IF EXISTS " + connection.quoteIdentifier(address.schema()) + " CASCADE",
                        QStringLiteral("Cannot remove the year from"));
        return true;
    });
}

QStringList DataPlace::children(const QString& location, QStringList* others)
{
    QStringList years;
    for (const QString& name : namesIn(location)) {
        if (PlainName::isYear(name))
            years.append(name);
        else if (others && !isStagingName(name))
            others->append(name);
    }
    return years;
}

QString DataPlace::shown(const QString& location)
{
    if (!isServerAddress(location))
        return QDir::toNativeSeparators(location);
    return ServerAddress::shownLocation(location);
}

QString DataPlace::lastError()
{
    return lastFailure;
}

} // namespace quillio::engine
