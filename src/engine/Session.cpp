#include "engine/Session.h"

#include "engine/Dataset.h"
#include "engine/EngineError.h"
#include "engine/PgConnection.h"
#include "engine/ServerAddress.h"

#include <QDir>

namespace quillio::engine {

Session::Session(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

Session::~Session()
{
    for (Dataset* dataset : QList<Dataset*>(m_datasets)) {
        try {
            dataset->close();
        } catch (...) {
            // A destructor reports nothing; closing drops pending records and cannot fail on disk.
        }
    }
}

void Session::activate()
{
    m_active = true;
}

void Session::deactivate()
{
    for (Dataset* dataset : QList<Dataset*>(m_datasets))
        dataset->close();
    m_active = false;
}

void Session::setNetDir(const QString& directory)
{
    if (m_active)
        throw EngineError(
            QStringLiteral("Cannot change the network directory of session %1 while it is active")
                .arg(m_name));
    m_netDir = directory;
}

void Session::setPrivateDir(const QString& directory)
{
    if (m_active)
        throw EngineError(
            QStringLiteral("Cannot change the private directory of session %1 while it is active")
                .arg(m_name));
    m_privateDir = directory;
}

void Session::deleteAlias(const QString& name)
{
    m_aliases.remove(name.toLower());
}

void Session::addStandardAlias(const QString& name, const QString& path)
{
    if (name.trimmed().isEmpty())
        throw EngineError(QStringLiteral("An alias needs a name"));
    QString directory = path;
    // A server address keeps its options at the end: it is taken as written.
    if (!directory.isEmpty() && !ServerAddress::isAddress(directory) && !directory.endsWith(u'/') &&
        !directory.endsWith(QDir::separator()))
        directory += QDir::separator();
    m_aliases.insert(name.toLower(), directory);
}

bool Session::hasAlias(const QString& name) const
{
    return m_aliases.contains(name.toLower());
}

QString Session::aliasPath(const QString& name) const
{
    const auto found = m_aliases.constFind(name.toLower());
    if (found == m_aliases.constEnd())
        throw EngineError(QStringLiteral("Unknown database: %1").arg(name));
    return found.value();
}

void Session::addPassword(const QString& password)
{
    if (!m_passwords.contains(password))
        m_passwords.append(password);
}

std::shared_ptr<PgConnection> Session::serverConnection(const ServerAddress& address)
{
    std::shared_ptr<PgConnection>& connection = m_serverConnections[address.connectionUri()];
    if (!connection)
        connection = std::make_shared<PgConnection>(address);
    return connection;
}

void Session::attach(Dataset* dataset)
{
    m_datasets.append(dataset);
}

void Session::detach(Dataset* dataset)
{
    m_datasets.removeOne(dataset);
}

} // namespace quillio::engine
