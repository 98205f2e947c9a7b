#include "engine/TableStorage.h"

#include "engine/EngineError.h"
#include "engine/PgConnection.h"
#include "engine/ServerAddress.h"
#include "engine/ServerTable.h"
#include "engine/Session.h"
#include "engine/TableFile.h"

namespace quillio::engine {

namespace {

// The year address a server table lives in; an address without its year is refused.
ServerAddress yearAddress(const QString& directory)
{
    const std::optional<ServerAddress> address = ServerAddress::parse(directory);
    if (!address || address->schema().isEmpty())
        throw EngineError(QStringLiteral("The address %1 names no year of a database.")
                              .arg(ServerAddress::shownLocation(directory)));
    return *address;
}

std::shared_ptr<PgConnection> connectionFor(const ServerAddress& address, Session* session)
{
    if (session)
        return session->serverConnection(address);
    return std::make_shared<PgConnection>(address);
}

} // namespace

std::unique_ptr<TableStorage> TableStorage::open(const QString& directory, const QString& fileName,
                                                 Session* session)
{
    if (ServerAddress::isAddress(directory)) {
        const ServerAddress address = yearAddress(directory);
        return ServerTable::open(connectionFor(address, session), address, fileName);
    }
    return TableFile::open(TableFile::pathIn(directory, fileName));
}

void TableStorage::create(const QString& directory, const QString& fileName, const FieldDefs& columns,
                          Session* session)
{
    if (ServerAddress::isAddress(directory)) {
        const ServerAddress address = yearAddress(directory);
        ServerTable::create(*connectionFor(address, session), address, fileName, columns);
        return;
    }
    TableFile::create(TableFile::pathIn(directory, fileName), columns);
}

QString TableStorage::locationOf(const QString& directory, const QString& fileName)
{
    if (ServerAddress::isAddress(directory))
        return ServerAddress::shownLocation(directory, fileName);
    return TableFile::pathIn(directory, fileName);
}

} // namespace quillio::engine
