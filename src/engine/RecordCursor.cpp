#include "engine/RecordCursor.h"

#include "engine/FieldCodec.h"
#include "engine/TableFile.h"

#include <sqlite3.h>

namespace quillio::engine {

namespace {

// Once this many columns were asked for one by one, the rest are selected at once: a record
// window reads them all anyway.
constexpr int ColumnsBeforeSelectingAll = 8;
// The two fixed columns before the fields: row id and version.
constexpr int FirstFieldColumn = 2;
// Always yields one row, so the statement stays active once stepped.
const QByteArray ReadLockSql = "SELECT max(rowid) FROM records";

thread_local QList<RecordCursor*> threadCursors;

} // namespace

RecordCursor::RecordCursor(TableFile& file, QObject* context)
    : PositionedCursor(context), m_file(file), m_columnOfField(file.fields().size(), -1)
{
    threadCursors.append(this);
}

RecordCursor::~RecordCursor()
{
    threadCursors.removeOne(this);
}

void RecordCursor::releaseAll()
{
    for (RecordCursor* cursor : std::as_const(threadCursors))
        cursor->release();
}

void RecordCursor::release()
{
    resetStatements();
    m_readLock.reset();
    m_holdsReadLock = false;
}

bool RecordCursor::stepOn()
{
    SqliteStatement& statement = m_active == Active::Forward ? m_forward : m_backward;
    if (!statement.step())
        return false;
    m_position = statement.columnInt64(0);
    m_missing = false;
    return true;
}

// The read lock stays: the next seek takes no new one.
void RecordCursor::leaveRow()
{
    resetStatements();
}

void RecordCursor::resetStatements()
{
    m_forward.reset();
    m_backward.reset();
    m_active = Active::None;
}

void RecordCursor::holdReadLock()
{
    if (m_holdsReadLock)
        return;
    if (!m_readLock.isValid())
        m_readLock = m_file.connection().prepare(ReadLockSql);
    m_holdsReadLock = m_readLock.step();
}

void RecordCursor::prepare()
{
    if (!m_forward.isValid())
        m_forward = m_file.connection().prepare(m_file.cursorSql(m_selected, true));
    if (!m_backward.isValid())
        m_backward = m_file.connection().prepare(m_file.cursorSql(m_selected, false));
}

bool RecordCursor::seek(bool forward, qint64 from)
{
    resetStatements();
    prepare();
    SqliteStatement& statement = forward ? m_forward : m_backward;
    statement.bindInt64(1, from);
    if (!statement.step()) {
        statement.reset();
        return false;
    }
    // The statement just took the read transaction: holding it on costs no lock of its own.
    holdReadLock();
    m_active = forward ? Active::Forward : Active::Backward;
    m_position = statement.columnInt64(0);
    m_hasPosition = true;
    m_missing = false;
    scheduleRelease();
    return true;
}

sqlite3_stmt* RecordCursor::row() const
{
    return (m_active == Active::Forward ? m_forward : m_backward).handle();
}

void RecordCursor::selectColumn(int field)
{
    if (m_selected.size() + 1 >= ColumnsBeforeSelectingAll) {
        selectAllColumns();
        return;
    }
    m_columnOfField[field] = FirstFieldColumn + int(m_selected.size());
    m_selected.append(field);
    m_forward = SqliteStatement();
    m_backward = SqliteStatement();
    m_active = Active::None;
}

void RecordCursor::selectAllColumns()
{
    if (m_selected.size() == m_columnOfField.size())
        return;
    for (int field = 0; field < m_columnOfField.size(); ++field) {
        if (m_columnOfField[field] < 0) {
            m_columnOfField[field] = FirstFieldColumn + int(m_selected.size());
            m_selected.append(field);
        }
    }
    m_forward = SqliteStatement();
    m_backward = SqliteStatement();
    m_active = Active::None;
}

QVariant RecordCursor::value(int field)
{
    const FieldType type = m_file.fields().at(field).type;
    if (m_columnOfField[field] < 0)
        selectColumn(field);
    if (!load())
        return FieldCodec::blank(type);
    return FieldCodec::read(row(), m_columnOfField[field], type);
}

QList<QVariant> RecordCursor::values()
{
    selectAllColumns();
    const auto& fields = m_file.fields();
    QList<QVariant> all;
    all.reserve(fields.size());
    if (!load()) {
        for (const FieldDef& field : fields)
            all.append(FieldCodec::blank(field.type));
        return all;
    }
    for (int field = 0; field < fields.size(); ++field)
        all.append(FieldCodec::read(row(), m_columnOfField[field], fields[field].type));
    return all;
}

qint64 RecordCursor::version()
{
    return load() ? sqlite3_column_int64(row(), 1) : 0;
}

} // namespace quillio::engine
