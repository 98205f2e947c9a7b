#pragma once

#include "engine/PositionedCursor.h"
#include "engine/SqliteStatement.h"

#include <QList>
#include <QVariant>

class QObject;

namespace quillio::engine {

class TableFile;

// The current record of a table file, kept as its row id. Records are read by stepping a statement
// that selects only the columns asked for so far, so a scan costs little more than SQLite's own.
// Once the cursor stands on a row it holds a read lock on the file; the lock is kept while the
// cursor moves and is released as soon as control returns to the event loop of `context`'s thread,
// and before any write of this thread. After a release the position is found again from the row
// id, so releasing is transparent.
class RecordCursor : public PositionedCursor
{
public:
    RecordCursor(TableFile& file, QObject* context);
    ~RecordCursor() override;
    RecordCursor(const RecordCursor&) = delete;
    RecordCursor& operator=(const RecordCursor&) = delete;

    QVariant value(int field) override;
    QList<QVariant> values() override;
    qint64 version() override;

    // Ends the reading statement, giving up its lock on the file.
    void release() override;
    // Releases every cursor of the calling thread.
    static void releaseAll();

private:
    bool seek(bool forward, qint64 from) override;
    bool stepOn() override;
    void leaveRow() override;
    void resetStatements();
    void holdReadLock();
    void selectColumn(int field);
    void selectAllColumns();
    void prepare();
    sqlite3_stmt* row() const;

    TableFile& m_file;
    SqliteStatement m_forward;
    SqliteStatement m_backward;
    // Left standing on its one row, it keeps the connection's read transaction open while the
    // stepping statements are reset to seek another row: jumping from row to row (a sorted result)
    // then takes no new lock and reads no file header each time.
    SqliteStatement m_readLock;
    bool m_holdsReadLock = false;
    QList<int> m_selected;      // fields read by the statements, in column order
    QList<int> m_columnOfField; // statement column of each field, -1 when not selected
};

} // namespace quillio::engine
