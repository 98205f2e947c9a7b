#include "engine/ServerAddress.h"

#include <QStringList>
#include <QUrl>

namespace quillio::engine {

namespace {

const QString Schemes[] = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};

QString decoded(const QString& segment)
{
    return QUrl::fromPercentEncoding(segment.toUtf8());
}

} // namespace

bool ServerAddress::isAddress(const QString& location)
{
    for (const QString& scheme : Schemes) {
        if (location.startsWith(scheme, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::optional<ServerAddress> ServerAddress::parse(const QString& location)
{
    if (!isAddress(location))
        return std::nullopt;
    ServerAddress address;
    const qsizetype schemeEnd = location.indexOf(QLatin1String("://")) + 3;
    address.m_scheme = location.left(schemeEnd);
    QString rest = location.mid(schemeEnd);
    const qsizetype question = rest.indexOf(u'?');
    if (question >= 0) {
        address.m_query = rest.mid(question);
        rest.truncate(question);
    }
    const qsizetype slash = rest.indexOf(u'/');
    address.m_authority = slash < 0 ? rest : rest.left(slash);
    const QStringList segments =
        slash < 0 ? QStringList() : rest.mid(slash + 1).split(u'/', Qt::SkipEmptyParts);
    // A database, and at most a year within it.
    if (segments.isEmpty() || segments.size() > 2)
        return std::nullopt;
    address.m_databaseSegment = segments.at(0);
    address.m_database = decoded(segments.at(0));
    if (segments.size() > 1)
        address.m_schema = decoded(segments.at(1));
    return address;
}

QByteArray ServerAddress::connectionUri() const
{
    return (m_scheme + m_authority + u'/' + m_databaseSegment + m_query).toUtf8();
}

QString ServerAddress::shown(const QString& table) const
{
    QString authority = m_authority;
    const qsizetype at = authority.lastIndexOf(u'@');
    if (at >= 0) {
        const qsizetype colon = authority.left(at).indexOf(u':');
        if (colon >= 0)
            authority = authority.left(colon) + authority.mid(at);
    }
    QString text = m_scheme + decoded(authority) + u'/' + m_database + u'/';
    if (!m_schema.isEmpty())
        text += m_schema + u'/';
    return text + table;
}

} // namespace quillio::engine
