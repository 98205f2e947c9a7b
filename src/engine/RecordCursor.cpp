#include "engine/RecordCursor.h"

#include "engine/FieldCodec.h"
#include "engine/TableFile.h"

#include <QCoreApplication>
#include <QObject>
#include <limits>
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
    : m_file(file), m_context(context), m_columnOfField(file.fields().size(), -1)
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

void RecordCursor::scheduleRelease()
{
    if (m_releaseScheduled || !m_context || !QCoreApplication::instance())
        return;
    m_releaseScheduled = true;
    const std::weak_ptr<bool> alive = m_alive;
    QMetaObject::invokeMethod(
        m_context.data(),
        [this, alive] {
            if (alive.expired())
                return;
            m_releaseScheduled = false;
            release();
        },
        Qt::QueuedConnection);
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

bool RecordCursor::first()
{
    m_exact = false;
    m_hasPosition = seek(true, std::numeric_limits<qint64>::min());
    return m_hasPosition;
}

bool RecordCursor::last()
{
    m_exact = false;
    m_hasPosition = seek(false, std::numeric_limits<qint64>::max());
    return m_hasPosition;
}

bool RecordCursor::next()
{
    if (!m_hasPosition)
        return false;
    m_exact = false;
    if (m_active == Active::Forward) {
        if (m_forward.step()) {
            m_position = m_forward.columnInt64(0);
            m_missing = false;
            return true;
        }
        release();
        return false;
    }
    return m_position < std::numeric_limits<qint64>::max() && seek(true, m_position + 1);
}

bool RecordCursor::prior()
{
    if (!m_hasPosition)
        return false;
    m_exact = false;
    if (m_active == Active::Backward) {
        if (m_backward.step()) {
            m_position = m_backward.columnInt64(0);
            m_missing = false;
            return true;
        }
        release();
        return false;
    }
    return m_position > std::numeric_limits<qint64>::min() && seek(false, m_position - 1);
}

void RecordCursor::setPosition(qint64 rowid, bool exact)
{
    resetStatements();
    m_position = rowid;
    m_hasPosition = true;
    m_exact = exact;
    m_missing = false;
}

bool RecordCursor::advanceTo(qint64 rowid)
{
    if (m_active != Active::Forward || !m_forward.step())
        return false;
    m_position = m_forward.columnInt64(0);
    m_missing = false;
    return m_position == rowid;
}

void RecordCursor::clearPosition()
{
    release();
    m_hasPosition = false;
    m_missing = false;
}

bool RecordCursor::load()
{
    if (m_active != Active::None)
        return true;
    if (!m_hasPosition || m_missing)
        return false;
    const qint64 wanted = m_position;
    if (seek(true, wanted) && m_position == wanted)
        return true;
    if (m_exact) {
        // The record was removed by another user: it reads as blank where it stood.
        release();
        m_position = wanted;
        m_missing = true;
        return false;
    }
    if (m_active != Active::None)
        return true;
    if (seek(false, wanted))
        return true;
    m_hasPosition = false;
    return false;
}

bool RecordCursor::isRecordThere()
{
    const bool wasExact = m_exact;
    m_exact = true;
    const bool there = load();
    m_exact = wasExact;
    if (!there)
        m_missing = false;
    return there;
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
