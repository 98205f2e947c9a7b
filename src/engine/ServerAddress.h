#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillio::engine {

// A data place on a database server, written as a URI: postgresql://[user[:password]@]host[:port]
// /database/[year/][?options]. The first path segment is the database, the next one the year's
// schema. The text of the address is kept as written, percent-escapes included, so a host that is a
// socket directory (%2Ftmp%2F...) travels unchanged to the client library.
//
// An address is taken only when it reads one way: every escape is two hex digits and none is %00,
// and no '@' follows the host (a password holding an unescaped '/', '?' or '@' would otherwise be
// split between the host and the path, and the client library would echo the pieces it could not
// read). The password, written before the host or as a `password` option, never reaches a message.
class ServerAddress
{
public:
    static bool isAddress(const QString& location);
    // Nothing when `location` is not an address, is malformed, or names no database.
    static std::optional<ServerAddress> parse(const QString& location);
    // What a message shows for a location that is a server address, parsed or not: the address
    // without its password and options, or "postgresql://…" when it cannot be read.
    static QString shownLocation(const QString& location, const QString& table = {});

    // What the client library connects to: the address without the year and the table.
    QByteArray connectionUri() const;
    QString database() const { return m_database; }
    // The year's schema; empty for an address of the database itself.
    QString schema() const { return m_schema; }
    // The address as error texts show it: never with its password, nor its options.
    QString shown(const QString& table = {}) const;
    // `text` with every form of the password (as written, decoded, escaped) blotted out: for any
    // text that may echo the address, such as the client library's and the server's messages.
    QString withoutPassword(const QString& text) const;

private:
    QString m_scheme;
    QString m_authority;
    QString m_databaseSegment;
    QString m_database;
    QString m_schema;
    QString m_query;
    QStringList m_secrets; // the password's forms, longest first
};

} // namespace quillio::engine
