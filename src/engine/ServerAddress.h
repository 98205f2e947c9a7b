#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillio::engine {

// A data place on a database server, written as a URI: postgresql://[user[:password]@]host[:port]
// /database/[year/][?options]. The first path segment is the database, the next one the year's
// schema. The text of the address is kept as written, percent-escapes included, so a host that is a
// socket directory (%2Ftmp%2F...) travels unchanged to the client library.
class ServerAddress
{
public:
    static bool isAddress(const QString& location);
    // Nothing when `location` is not an address or names no database.
    static std::optional<ServerAddress> parse(const QString& location);

    // What the client library connects to: the address without the year and the table.
    QByteArray connectionUri() const;
    QString database() const { return m_database; }
    // The year's schema; empty for an address of the database itself.
    QString schema() const { return m_schema; }
    // The address as error texts show it: never with its password, nor its options.
    QString shown(const QString& table = {}) const;

private:
    QString m_scheme;
    QString m_authority;
    QString m_databaseSegment;
    QString m_database;
    QString m_schema;
    QString m_query;
};

} // namespace quillio::engine
