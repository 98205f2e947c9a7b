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
    release();
}

void ServerRecordCursor::release()
{
    m_page = PgResult();
    m_rows = 0;
    m_index = 0;
    m_active = Active::None;
}

qint64 ServerRecordCursor::rowidAt(int row) const
{
    return m_page.number(row, 0);
}

bool ServerRecordCursor::seek(bool forward, qint64 from)
{
    return read(forward, from, m_table.readsScattered() ? 1 : PageRows);
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
    if (m_index + 1 < m_rows) {
        ++m_index;
        m_position = rowidAt(m_index);
        m_missing = false;
        return true;
    }
    if (!m_pageFull) {
        release();
        return false;
    }
    const bool forward = m_active == Active::Forward;
    const qint64 position = m_position;
    if (read(forward, forward ? position + 1 : position - 1, std::min(m_limit * 2, MaxPageRows)))
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
