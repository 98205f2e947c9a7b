#include "engine/TableStorage.h"

#include "engine/TableFile.h"

namespace quillio::engine {

std::unique_ptr<TableStorage> TableStorage::open(const QString& directory, const QString& fileName, Session*)
{
    return TableFile::open(TableFile::pathIn(directory, fileName));
}

void TableStorage::create(const QString& directory, const QString& fileName, const FieldDefs& columns, Session*)
{
    TableFile::create(TableFile::pathIn(directory, fileName), columns);
}

QString TableStorage::locationOf(const QString& directory, const QString& fileName)
{
    return TableFile::pathIn(directory, fileName);
}

} // namespace quillio::engine
