#include "archive/TFConf.h"

#include "archive/TFDB.h"
#include "engine/Engine.h"
#include "platform/Platform.h"

#include <QFileInfo>

namespace quillio::archive {

TFConf::TFConf(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("FConf"));
}

void TFConf::CreaTabella(TFDB& db, const QString& alias, const QString& fileName, const QString& columns)
{
    db.QGEN.close();
    db.QGEN.setDatabaseName(alias);
    const QString statement = QStringLiteral("CREATE TABLE \"%1\" %2").arg(fileName, columns);
    db.QGEN.close();
    db.QGEN.clearSql();
    db.QGEN.addSql(statement);
    db.QGEN.execSql();
    db.QGEN.close();
    Platform::messages().message(QStringLiteral("Archivio ") + fileName + QStringLiteral(" Creato"));
}

void TFConf::ProteggiTabella(const QString& fileName, const QString& password, const QString& directory)
{
    engine::Engine::initialize();
    struct Release
    {
        ~Release() { engine::Engine::release(); }
    } release;
    engine::Engine::protectTable(directory, QFileInfo(fileName).fileName(), password);
}

} // namespace quillio::archive
