#include "engine/TableCopy.h"

#include "engine/DataPlace.h"
#include "engine/EngineError.h"
#include "engine/RecordReader.h"
#include "engine/TableStorage.h"

namespace quillio::engine {

namespace {

// Records written per transaction: few commits, and a bounded part of the table in memory.
constexpr qsizetype BatchRecords = 1000;

} // namespace

void copyTable(const QString& fromDirectory, const QString& toDirectory, const QString& fileName)
{
    const std::unique_ptr<TableStorage> from = TableStorage::open(fromDirectory, fileName);
    if (DataPlace::tableExists(toDirectory, fileName))
        throw EngineError(QStringLiteral("Cannot copy the table to %1: a table of that name already exists.")
                              .arg(TableStorage::locationOf(toDirectory, fileName)));
    TableStorage::create(toDirectory, fileName, from->fields());
    const std::unique_ptr<TableStorage> to = TableStorage::open(toDirectory, fileName);
    const std::unique_ptr<RecordReader> reader = from->reader(nullptr);
    QList<TableStorage::NumberedRecord> batch;
    for (bool any = reader->first(); any; any = reader->next()) {
        batch.append({reader->position(), reader->values()});
        if (batch.size() == BatchRecords) {
            to->insertNumbered(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        to->insertNumbered(batch);
    to->continueNumbersAt(from->nextNumber());
    // Last, so the copy can be written before its protection applies.
    to->setProtectionMarks(from->protectionMarks());
}

} // namespace quillio::engine
