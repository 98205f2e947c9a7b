#include "engine/Engine.h"

#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/TableStorage.h"

#include <QMutex>
#include <sqlite3.h>

namespace quillio::engine {

namespace {

QMutex initMutex;
int initCount = 0;

} // namespace

void Engine::initialize()
{
    QMutexLocker lock(&initMutex);
    if (initCount == 0 && sqlite3_initialize() != SQLITE_OK)
        throw EngineError(QStringLiteral("The database engine could not be started"));
    ++initCount;
}

void Engine::release()
{
    QMutexLocker lock(&initMutex);
    if (initCount > 0)
        --initCount;
}

Session& Engine::defaultSession()
{
    static Session session(QStringLiteral("Default"));
    return session;
}

void Engine::protectTable(const QString& directory, const QString& fileName, const QString& password)
{
    const std::unique_ptr<TableStorage> file = TableStorage::open(directory, fileName);
    file->protect(password);
}

} // namespace quillio::engine
