#include "engine/ServerRecordCursor.h"

#include "engine/FieldCodec.h"
#include "engine/PgConnection.h"
#include "engine/ServerTable.h"

namespace quillio::engine {

namespace {

// Rows read ahead when stepping; one when rows are visited in an unrelated order.
constexpr int PageRows = 64;
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
    m_page.clear();
    m_index = 0;
    m_active = Active::None;
}

bool ServerRecordCursor::seek(bool forward, qint64 from)
{
    release();
    const int limit = m_table.readsScattered() ? 1 : PageRows;
    const PgResult result = m_table.connection().exec(m_table.pageSql(forward, limit),
                                                      {QByteArray::number(from)}, ReadAction, m_table.path());
    const FieldDefs& fields = m_table.fields();
    for (int row = 0; row < result.rows(); ++row) {
        Row read;
        read.rowid = result.number(row, 0);
        read.version = result.number(row, 1);
        read.values.reserve(fields.size());
        for (int field = 0; field < fields.size(); ++field)
            read.values.append(FieldCodec::fromServerText(fields[field].type,
                                                          result.bytes(row, FirstFieldColumn + field),
                                                          result.isNull(row, FirstFieldColumn + field)));
        m_page.append(std::move(read));
    }
    m_pageFull = result.rows() == limit;
    if (m_page.isEmpty())
        return false;
    m_active = forward ? Active::Forward : Active::Backward;
    m_position = current().rowid;
    m_hasPosition = true;
    m_missing = false;
    scheduleRelease();
    return true;
}

bool ServerRecordCursor::stepOn()
{
    if (m_index + 1 < m_page.size()) {
        ++m_index;
        m_position = current().rowid;
        m_missing = false;
        return true;
    }
    if (!m_pageFull) {
        release();
        return false;
    }
    const bool forward = m_active == Active::Forward;
    const qint64 position = m_position;
    if (seek(forward, forward ? position + 1 : position - 1))
        return true;
    m_position = position;
    return false;
}

QVariant ServerRecordCursor::value(int field)
{
    if (!load())
        return FieldCodec::blank(m_table.fields().at(field).type);
    return current().values.at(field);
}

QList<QVariant> ServerRecordCursor::values()
{
    if (load())
        return current().values;
    QList<QVariant> blanks;
    for (const FieldDef& field : m_table.fields())
        blanks.append(FieldCodec::blank(field.type));
    return blanks;
}

qint64 ServerRecordCursor::version()
{
    return load() ? current().version : 0;
}

} // namespace quillio::engine
