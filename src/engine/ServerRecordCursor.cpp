#include "engine/ServerRecordCursor.h"

#include "engine/FieldCodec.h"
#include "engine/PgConnection.h"
#include "engine/ServerTable.h"

#include <algorithm>

namespace quillio::engine {

namespace {

// Rows of the first page read ahead when stepping, and of the largest; one when rows are visited in
// an unrelated order.
constexpr int PageRows = 64;
// Records read ahead at once in a sorted result's order.
constexpr int BatchRows = 256;
constexpr int MaxPageRows = 4096;
// The two fixed columns before the fields: row id and version.
constexpr int FirstFieldColumn = 2;

thread_local QList<ServerRecordCursor*> threadCursors;

const QString ReadAction = QStringLiteral("Cannot read the table");

} // namespace

ServerRecordCursor::ServerRecordCursor(ServerTable& table, QObject* context)
    : PositionedCursor(context), m_table(table)
{
    threadCursors.append(this);
}

ServerRecordCursor::~ServerRecordCursor()
{
    threadCursors.removeOne(this);
}

void ServerRecordCursor::releaseAll()
{
    for (ServerRecordCursor* cursor : std::as_const(threadCursors))
        cursor->release();
}

void ServerRecordCursor::leaveRow()
{
    // A batch read ahead serves the positions that follow; only the row stood on is left.
    if (m_batched) {
        m_active = Active::None;
        return;
    }
    release();
}

void ServerRecordCursor::release()
{
    m_page = PgResult();
    m_rows = 0;
    m_index = 0;
    m_active = Active::None;
    m_batched = false;
    m_batchRows.clear();
}

qint64 ServerRecordCursor::rowidAt(int row) const
{
    return m_page.number(row, 0);
}

bool ServerRecordCursor::seek(bool forward, qint64 from)
{
    if (forward && m_table.readsScattered() && (standInBatch(from) || readBatch(from)))
        return true;
    return read(forward, from, m_table.readsScattered() ? 1 : PageRows);
}

bool ServerRecordCursor::standInBatch(qint64 rowid)
{
    const auto found = m_batchRows.constFind(rowid);
    if (found == m_batchRows.constEnd())
        return false;
    m_index = *found;
    m_position = rowid;
    m_hasPosition = true;
    m_missing = false;
    m_active = Active::Forward;
    return true;
}

bool ServerRecordCursor::readBatch(qint64 from)
{
    const QList<qint64> rowids = m_table.followingInReadOrder(from, BatchRows);
    if (rowids.isEmpty())
        return false;
    release();
    QByteArrayList items;
    items.reserve(rowids.size());
    for (qint64 rowid : rowids)
        items.append(QByteArray::number(rowid));
    m_page = m_table.connection().execPrepared(m_table.batchSql(), {"{" + items.join(',') + "}"}, ReadAction,
                                               m_table.path());
    m_rows = m_page.rows();
    for (int row = 0; row < m_rows; ++row)
        m_batchRows.insert(rowidAt(row), row);
    m_batched = true;
    scheduleRelease();
    if (standInBatch(from))
        return true;
    // Removed since the result was made: a read from its row id finds what follows.
    release();
    return false;
}

bool ServerRecordCursor::read(bool forward, qint64 from, int limit)
{
    release();
    m_page = m_table.connection().execPrepared(m_table.pageSql(forward, limit), {QByteArray::number(from)},
                                               ReadAction, m_table.path());
    m_rows = m_page.rows();
    m_limit = limit;
    m_pageFull = m_rows == limit;
    if (m_rows == 0) {
        release();
        return false;
    }
    m_active = forward ? Active::Forward : Active::Backward;
    m_position = rowidAt(0);
    m_hasPosition = true;
    m_missing = false;
    scheduleRelease();
    return true;
}

bool ServerRecordCursor::stepOn()
{
    // A batch is in the result's order, not the row ids': the next row id is read from the server.
    if (!m_batched && m_index + 1 < m_rows) {
        ++m_index;
        m_position = rowidAt(m_index);
        m_missing = false;
        return true;
    }
    if (!m_batched && !m_pageFull) {
        release();
        return false;
    }
    const bool forward = m_active == Active::Forward;
    const qint64 position = m_position;
    const int limit = m_batched ? PageRows : std::min(m_limit * 2, MaxPageRows);
    if (read(forward, forward ? position + 1 : position - 1, limit))
        return true;
    m_position = position;
    return false;
}

QVariant ServerRecordCursor::value(int field)
{
    const FieldType type = m_table.fields().at(field).type;
    if (!load())
        return FieldCodec::blank(type);
    const int column = FirstFieldColumn + field;
    return FieldCodec::fromServerText(type, m_page.bytes(m_index, column), m_page.isNull(m_index, column));
}

QList<QVariant> ServerRecordCursor::values()
{
    QList<QVariant> read;
    const bool loaded = load();
    for (int field = 0; field < m_table.fields().size(); ++field)
        read.append(loaded ? value(field) : FieldCodec::blank(m_table.fields().at(field).type));
    return read;
}

qint64 ServerRecordCursor::version()
{
    return load() ? m_page.number(m_index, 1) : 0;
}

} // namespace quillio::engine
