// A table file damaged on disk, or made by something else: opening it and reading every record
// either works or raises EngineError, and never changes a byte of the file.

#include "FuzzSupport.h"
#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/Table.h"

#include <QDir>
#include <QFile>

using namespace quillio;
using namespace quillio::engine;

namespace {

const QString Alias = QStringLiteral("Archivio");
const QString FileName = QStringLiteral("Rubrica.DB");

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fuzz::fail("cannot write the table file");
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void readEveryRecord(Session& session)
{
    Table table(session);
    table.setDatabaseName(Alias);
    table.setTableName(FileName);
    table.open();
    table.recordCount();
    // A bounded walk: a damaged file may claim any number of records.
    for (int steps = 0; !table.eof() && steps < 1000; ++steps) {
        for (const FieldDef& field : table.fields())
            table.fieldValue(field.name);
        table.next();
    }
    table.last();
    table.prior();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString directory = fuzz::scratchDirectory();
    const QString path = QDir(directory).filePath(FileName);
    QFile::remove(path + QStringLiteral("-journal"));
    const QByteArray content = fuzz::bytes(data, size);
    writeFile(path, content);
    {
        Session session(QStringLiteral("Fuzz"));
        session.addStandardAlias(Alias, directory);
        session.addPassword(QStringLiteral("fuzz"));
        try {
            readEveryRecord(session);
        } catch (const EngineError&) {
        }
    }
    if (readFile(path) != content)
        fuzz::fail("reading a table file changed it");
    if (QFile::exists(path + QStringLiteral("-journal")))
        fuzz::fail("reading a table file left a journal");
    return 0;
}
