#pragma once

#include "engine/RecordReader.h"
#include "engine/SqliteStatement.h"

#include <QList>
#include <QPointer>
#include <QVariant>
#include <memory>

class QObject;

namespace quillio::engine {

class TableFile;

// The current record of a table file, kept as its row id. Records are read by stepping a statement
// that selects only the columns asked for so far, so a scan costs little more than SQLite's own.
// Once the cursor stands on a row it holds a read lock on the file; the lock is kept while the
// cursor moves and is released as soon as control returns to the event loop of `context`'s thread,
// and before any write of this thread. After a release the position is found again from the row
// id, so releasing is transparent.
class RecordCursor : public RecordReader
{
public:
    RecordCursor(TableFile& file, QObject* context);
    ~RecordCursor() override;
    RecordCursor(const RecordCursor&) = delete;
    RecordCursor& operator=(const RecordCursor&) = delete;

    // Each returns whether there is a record to stand on; next() and prior() keep the position when
    // there is no record beyond it.
    bool first() override;
    bool last() override;
    bool next() override;
    bool prior() override;

    // Stands on `rowid` without reading it yet. When `exact`, a record removed meanwhile reads as
    // blank; otherwise the cursor moves on to the record that followed it (or the last one).
    void setPosition(qint64 rowid, bool exact) override;
    void clearPosition() override;
    // Steps on to `rowid` when it is the record after the one being read; false otherwise, the
    // position then being undefined until set again.
    bool advanceTo(qint64 rowid) override;
    bool hasPosition() const override { return m_hasPosition; }
    qint64 position() const override { return m_position; }

    // Whether the record at the position still exists, reading it.
    bool isRecordThere() override;
    // Reads the record at the position (or, when not exact and it was removed, its successor);
    // false when there is nothing to read.
    bool load() override;
    QVariant value(int field) override;
    QList<QVariant> values() override;
    qint64 version() override;

    // Ends the reading statement, giving up its lock on the file.
    void release();
    // Releases every cursor of the calling thread.
    static void releaseAll();

private:
    enum class Active { None, Forward, Backward };

    bool seek(bool forward, qint64 from);
    void resetStatements();
    void holdReadLock();
    void selectColumn(int field);
    void selectAllColumns();
    void prepare();
    void scheduleRelease();
    sqlite3_stmt* row() const;

    TableFile& m_file;
    QPointer<QObject> m_context;
    SqliteStatement m_forward;
    SqliteStatement m_backward;
    // Left standing on its one row, it keeps the connection's read transaction open while the
    // stepping statements are reset to seek another row: jumping from row to row (a sorted result)
    // then takes no new lock and reads no file header each time.
    SqliteStatement m_readLock;
    bool m_holdsReadLock = false;
    Active m_active = Active::None;
    bool m_hasPosition = false;
    bool m_exact = false;
    bool m_missing = false;
    qint64 m_position = 0;
    QList<int> m_selected;      // fields read by the statements, in column order
    QList<int> m_columnOfField; // statement column of each field, -1 when not selected
    bool m_releaseScheduled = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillio::engine
