#include "engine/ServerAddress.h"

#include <QUrl>
#include <algorithm>

namespace quillio::engine {

namespace {

const QString Schemes[] = {QStringLiteral("postgresql://"), QStringLiteral("postgres://")};
const QString Unreadable = QStringLiteral("postgresql://…");
const QString Blotted = QStringLiteral("…");

QString decoded(const QString& segment)
{
    return QUrl::fromPercentEncoding(segment.toUtf8());
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Every '%' starts two hex digits, and none of them stands for the NUL character.
bool hasSoundEscapes(const QString& text)
{
    for (qsizetype i = text.indexOf(u'%'); i >= 0; i = text.indexOf(u'%', i + 1)) {
        if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2]))
            return false;
        if (text[i + 1] == u'0' && text[i + 2] == u'0')
            return false;
    }
    return true;
}

// The password as written between the user's name and the host; empty when there is none.
QString writtenPassword(const QString& authority)
{
    const qsizetype at = authority.lastIndexOf(u'@');
    if (at < 0)
        return {};
    const qsizetype colon = authority.left(at).indexOf(u':');
    return colon < 0 ? QString() : authority.mid(colon + 1, at - colon - 1);
}

// The values of every `password` option, as written.
QStringList optionPasswords(const QString& query)
{
    QStringList passwords;
    for (const QString& option : query.mid(1).split(u'&', Qt::SkipEmptyParts)) {
        const qsizetype equals = option.indexOf(u'=');
        if (equals > 0 && decoded(option.left(equals)) == QLatin1String("password"))
            passwords << option.mid(equals + 1);
    }
    return passwords;
}

// Each password in every form a message could show it in.
QStringList secretForms(const QStringList& written)
{
    QStringList forms;
    for (const QString& password : written) {
        if (password.isEmpty())
            continue;
        const QString plain = decoded(password);
        forms << password << plain << QString::fromUtf8(QUrl::toPercentEncoding(plain));
    }
    forms.removeDuplicates();
    std::sort(forms.begin(), forms.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    return forms;
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
    if (!isAddress(location) || !hasSoundEscapes(location))
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
    // One user part at most, and nothing of it after the host.
    if (address.m_authority.count(u'@') > 1 ||
        location.indexOf(u'@', schemeEnd + address.m_authority.size()) >= 0)
        return std::nullopt;
    const QStringList segments =
        slash < 0 ? QStringList() : rest.mid(slash + 1).split(u'/', Qt::SkipEmptyParts);
    // A database, and at most a year within it.
    if (segments.isEmpty() || segments.size() > 2)
        return std::nullopt;
    address.m_databaseSegment = segments.at(0);
    address.m_database = decoded(segments.at(0));
    if (segments.size() > 1)
        address.m_schema = decoded(segments.at(1));
    address.m_secrets =
        secretForms(QStringList{writtenPassword(address.m_authority)} + optionPasswords(address.m_query));
    return address;
}

QString ServerAddress::shownLocation(const QString& location, const QString& table)
{
    const std::optional<ServerAddress> address = parse(location);
    return address ? address->shown(table) : Unreadable;
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
    return withoutPassword(text + table);
}

QString ServerAddress::withoutPassword(const QString& text) const
{
    QString blotted = text;
    for (const QString& secret : m_secrets)
        blotted.replace(secret, Blotted);
    return blotted;
}

} // namespace quillio::engine
